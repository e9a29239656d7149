#pragma once

#include <string>

namespace setuplog {

// Abstract sink: the log manager hands every accepted line to exactly one.
class CLog {
 public:
  virtual void Write(int level, const std::wstring& text) = 0;
  virtual ~CLog() = default;
};

}  // namespace setuplog
