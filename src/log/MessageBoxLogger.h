#pragma once

#include "log/LogSink.h"

namespace setuplog {

// Start-up sink: before the log file is known, only errors reach the user.
class CMessageBoxLogger : public CLog {
 public:
  void Write(int level, const std::wstring& text) override;
};

}  // namespace setuplog
