#pragma once

#include "log/LogSink.h"

namespace setuplog {

// Discards every line: the sink before start-up has chosen one.
class CNullLogger : public CLog {
 public:
  void Write(int, const std::wstring&) override {}
};

}  // namespace setuplog
