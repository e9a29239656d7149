#pragma once
// Shared pieces of the log tests: log file settings, a fixture that puts the
// process-wide log manager back to its start state and records message boxes,
// and readers for the UTF-16LE log files.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "log/ILogFileDetails.h"

namespace logtest {

class FakeLogFileDetails final : public ILogFileDetails {
 public:
  FakeLogFileDetails(std::wstring name, std::wstring level, int mode, int maxLengthOfFile)
      : name_(std::move(name)), level_(std::move(level)), mode_(mode), maxLengthOfFile_(maxLengthOfFile) {}
  std::wstring GetName() const override { return name_; }
  std::wstring GetLevel() const override { return level_; }
  int GetMode() const override { return mode_; }
  int GetMaxLengthOfFile() const override { return maxLengthOfFile_; }
  std::wstring GetFileName() const override { return name_.substr(name_.find_last_of(L'\\') + 1); }
  std::wstring GetFolder() const override { return name_.substr(0, name_.find_last_of(L'\\') + 1); }

 private:
  std::wstring name_;
  std::wstring level_;
  int mode_;
  int maxLengthOfFile_;
};

struct RecordedMessageBox {
  std::wstring text;
  std::wstring caption;
  UINT flags;
};

// A log file read back: whether it starts with the UTF-16LE BOM, its text
// after the BOM, and its lines split at "\r\n".
struct LogFileContent {
  bool exists = false;
  bool hasBom = false;
  bool loneLineFeed = false;  // a "\n" without "\r" before it
  std::wstring text;
  std::vector<std::wstring> lines;  // without the empty part after the last "\r\n"
};
LogFileContent ReadLogFile(const std::wstring& path);

// Lines of `content` that contain `part`.
std::vector<std::wstring> LinesContaining(const LogFileContent& content, const std::wstring& part);

// Files in `folder` whose names match `pattern` (FindFirstFile wildcards).
std::vector<std::wstring> FilesMatching(const std::wstring& folder, const std::wstring& pattern);

// Makes `path` a file of `size` bytes that starts as a setup log does (the
// UTF-16LE BOM and the banner's first character).
bool MakeFileOfSize(const std::wstring& path, long long size);

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Switches the manager to the file sink with these settings; returns SetSinkType's result.
  int OpenFileSink(const ILogFileDetails* details);
  // Closes the sink and returns the manager to the discarding sink and level 4.
  void ResetManager();

  std::wstring scratch_;
  std::vector<RecordedMessageBox> boxes_;
};

}  // namespace logtest
