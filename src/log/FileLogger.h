#pragma once

#include <string>

#include "log/LogFileWriter.h"
#include "log/LogSink.h"

namespace setuplog {

// The setup log file sink; the level is not written, only the text.
class CFileLogger : public CLog {
 public:
  // An empty path means the default path for `bundleKey` (see DefaultPath).
  CFileLogger(const std::wstring& path, int mode, int maxLengthOfFile, const std::wstring& bundleKey,
              OpenFailureTexts failureTexts);

  [[nodiscard]] int Open() { return writer_.Open(); }
  void Write(int level, const std::wstring& text) override;

  [[nodiscard]] const CLogFileWriter& GetWriter() const { return writer_; }

  // "<common application data>\Halvorsk\Logs\Setup\<key or Bootstrapper>_SetupBundle.log".
  static std::wstring DefaultPath(const std::wstring& bundleKey);

 private:
  CLogFileWriter writer_;
};

}  // namespace setuplog
