#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "log/ILogFileDetails.h"
#include "log/LogFileWriter.h"
#include "log/LogSink.h"

namespace setuplog {

// One per process; forwards each accepted line to exactly one sink. Any
// thread may write; the sink is replaced only on the main thread while no
// worker runs.
class CLogManager {
 public:
  enum SinkType : int { kSinkMessageBox = 0, kSinkFile = 1, kSinkDebugger = 2, kSinkNone = 3 };

  static CLogManager& GetInstance();

  // Not owned; must outlive the file sink's creation.
  void SetLogFileDetails(const ILogFileDetails* details) { details_ = details; }
  // The bundle key names the default log file when the settings name none.
  void SetBundleKey(const std::wstring& bundleKey) { bundleKey_ = bundleKey; }
  // The bootstrapper texts "ErrorMsg1" and "ErrorMsg2" framing the system
  // message when the log file cannot be opened.
  void SetOpenFailureTexts(const std::wstring& errorMsg1, const std::wstring& errorMsg2) {
    failureTexts_ = OpenFailureTexts{errorMsg1, errorMsg2};
  }

  // 0 message box, 1 file, 2 debugger output, other values discard. Returns
  // 1 on success, 0 when the type is already current or the file cannot be opened.
  [[nodiscard]] int SetSinkType(int type);
  void Write(int level, const std::wstring& text);
  // Destroys the sink; the file sink writes its stop banner and closes the file.
  void CloseSink();

  [[nodiscard]] int GetLevel() const { return level_.load(); }
  void SetLevel(int level) { level_.store(level); }
  [[nodiscard]] int GetSinkType() const { return sinkType_; }

 private:
  CLogManager();
  [[nodiscard]] int OpenFileSink();

  std::atomic<int> level_{4};
  int sinkType_ = kSinkNone;
  std::unique_ptr<CLog> sink_;
  const ILogFileDetails* details_ = nullptr;
  std::wstring bundleKey_;
  OpenFailureTexts failureTexts_;
};

}  // namespace setuplog
