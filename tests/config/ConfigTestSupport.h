#pragma once
// Pieces the configuration tests share: a recorder of the setup log lines
// written while it lives, and the folder of ready-made images.

#include <memory>
#include <string>

#include "config/LogFileDetails.h"

namespace modeltest {

// Sends the process log to a scratch file while it lives; the lines written
// meanwhile can be read back. The log goes back to the discarding sink after.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // Whether the sink could be opened; tests stop early without it.
  [[nodiscard]] bool IsActive() const { return active_; }
  // Stops recording on the first call; returns everything recorded.
  [[nodiscard]] std::wstring Text();
  // How often part occurs in the recorded text.
  [[nodiscard]] size_t Count(const std::wstring& part);

 private:
  void Stop();

  std::wstring folder_;
  std::unique_ptr<CLogFileDetails> details_;
  bool active_ = false;
  bool stopped_ = false;
  std::wstring text_;
};

// The shared WiX bitmaps and icons folder, with its trailing backslash.
std::wstring ImageFolder();

}  // namespace modeltest
