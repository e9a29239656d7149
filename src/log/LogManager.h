#pragma once

#include <memory>
#include <string>

#include "log/ILogFileDetails.h"

namespace setuplog {

// Abstract sink.
class CLog {
 public:
  virtual void Write(int level, const std::wstring& text) = 0;
  virtual ~CLog() = default;
};

// One per process; forwards each line to exactly one sink.
class CLogManager {
 public:
  static CLogManager& GetInstance();

  void SetLogFileDetails(const ILogFileDetails* details) { details_ = details; }
  // 1 success, 0 failure (or already that type).
  [[nodiscard]] int SetSinkType(int type);
  void Write(int level, const std::wstring& text);
  void CloseSink();

  [[nodiscard]] int GetLevel() const { return level_; }
  void SetLevel(int level) { level_ = level; }
  [[nodiscard]] int GetSinkType() const { return sinkType_; }

 private:
  CLogManager();
  int level_ = 4;
  int sinkType_ = 3;
  std::unique_ptr<CLog> sink_;
  const ILogFileDetails* details_ = nullptr;
};

}  // namespace setuplog
