#pragma once

#include "log/LogSink.h"

namespace setuplog {

// Sends every line to the debugger output.
class CConsoleLogger : public CLog {
 public:
  void Write(int level, const std::wstring& text) override;
};

}  // namespace setuplog
