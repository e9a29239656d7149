#pragma once

#include <memory>
#include <string>

#include "log/LogMutexHolder.h"
#include "platform/UniqueResource.h"

namespace setuplog {

// The two bootstrapper texts around the system message when the log file
// cannot be opened; the log layer cannot read the localization itself.
struct OpenFailureTexts {
  std::wstring errorMsg1;
  std::wstring errorMsg2;
};

// Writes the setup log file: time-stamped lines, serialised with every other
// process of the program through one global mutex, rolled over when grown.
class CLogFileWriter {
 public:
  // mode: 0 append, 1 overwrite, other values become 1 when opened.
  // maxLengthOfFile: megabytes; 0 or below means 10.
  CLogFileWriter(std::wstring path, int mode, int maxLengthOfFile, OpenFailureTexts failureTexts);
  ~CLogFileWriter();
  CLogFileWriter(const CLogFileWriter&) = delete;
  CLogFileWriter& operator=(const CLogFileWriter&) = delete;

  // Creates the folder, opens the file and writes the start banner: 1, or 0
  // after telling the user in a message box.
  [[nodiscard]] int Open();
  // One time-stamped line; dropped while no file is open.
  void WriteLine(const std::wstring& text);

  [[nodiscard]] bool IsOpen() const { return file_.IsValid(); }
  [[nodiscard]] const std::wstring& GetPath() const { return path_; }
  [[nodiscard]] int GetMode() const { return mode_; }
  [[nodiscard]] long long GetMaxSize() const { return maxSize_; }

  // Whether the log may be written at `path`: an absolute local or network
  // path that names no device, holding no file yet, an empty file or a setup
  // log (the UTF-16 byte-order mark, then the start banner or, after a
  // roll-over, a time-stamped line). Any other file is left untouched.
  [[nodiscard]] static bool IsUsableLogPath(const std::wstring& path);

  static const wchar_t kMutexName[];
  static constexpr int kCheckInterval = 300;

 private:
  [[nodiscard]] bool OpenFile();
  void ShowOpenFailure(unsigned long error) const;
  // Appends `text` at the end of the file, written in `holding` of the
  // global mutex (CLogMutexHolder::Scope::Holding).
  [[nodiscard]] bool WriteText(const std::wstring& text, unsigned long long holding);
  [[nodiscard]] bool HandleStillNamesPath() const;
  void CheckRollOver();

  std::wstring path_;
  int mode_;
  long long maxSize_;
  OpenFailureTexts failureTexts_;
  platform::UniqueHandle mutex_;
  // Declared after the mutex: it gives the mutex back before the handle closes.
  std::unique_ptr<CLogMutexHolder> holder_;
  platform::UniqueFileHandle file_;
  int linesSinceCheck_ = 0;
  // The holding of the global mutex in which this handle last wrote at the end
  // of the file, and still stands there; 0 when not known.
  unsigned long long endKnownIn_ = 0;
  // The configured path when it could not be used and the log went to the
  // temporary folder instead.
  std::wstring refusedPath_;
};

}  // namespace setuplog
