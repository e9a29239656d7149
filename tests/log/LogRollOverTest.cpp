#include <gtest/gtest.h>

#include <algorithm>

#include "LogTestSupport.h"
#include "log/Log.h"
#include "log/LogManager.h"
#include "log/LogRollOver.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace logtest {
namespace {

using setuplog::BuildRolledFileName;
using setuplog::RollOverFile;

const wchar_t kMarkerLine[] = L" *** rolling over to next log file ***";
constexpr long long kMiB = 1048576;

SYSTEMTIME Now() {
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  return now;
}

// File names (without folder) that a roll-over of `path` can give at any
// second from `from` to `to`.
std::vector<std::wstring> RolledNamesBetween(const std::wstring& path, SYSTEMTIME from, const SYSTEMTIME& to) {
  std::vector<std::wstring> names;
  from.wMilliseconds = 0;
  FILETIME at = {}, end = {};
  ::SystemTimeToFileTime(&from, &at);
  ::SystemTimeToFileTime(&to, &end);
  ULARGE_INTEGER t{{at.dwLowDateTime, at.dwHighDateTime}};
  ULARGE_INTEGER last{{end.dwLowDateTime, end.dwHighDateTime}};
  for (; t.QuadPart <= last.QuadPart; t.QuadPart += 10000000ULL) {
    FILETIME ft{t.LowPart, t.HighPart};
    SYSTEMTIME st = {};
    ::FileTimeToSystemTime(&ft, &st);
    std::wstring full = BuildRolledFileName(path, st);
    names.push_back(full.substr(full.find_last_of(L'\\') + 1));
  }
  return names;
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Occupies every rolled name of `path` for the next seconds, so a rename finds its target taken.
void OccupyRolledNames(const std::wstring& path, int seconds) {
  SYSTEMTIME from = Now();
  FILETIME ft = {};
  ::SystemTimeToFileTime(&from, &ft);
  ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
  t.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ULL;
  FILETIME endFt{t.LowPart, t.HighPart};
  SYSTEMTIME to = {};
  ::FileTimeToSystemTime(&endFt, &to);
  std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
  for (const std::wstring& name : RolledNamesBetween(path, from, to)) testsupport::WriteFileBytes(folder + name, "x");
}

struct NameCase {
  const wchar_t* path;
  SYSTEMTIME time;
  const wchar_t* rolled;
};

class LogRolledName : public ::testing::TestWithParam<NameCase> {};

TEST_P(LogRolledName, TimeStampGoesBeforeTheLastDot) {
  EXPECT_EQ(BuildRolledFileName(GetParam().path, GetParam().time), GetParam().rolled);
}

INSTANTIATE_TEST_SUITE_P(
    Names, LogRolledName,
    ::testing::Values(NameCase{L"C:\\Logs\\Setup.log", {2024, 2, 6, 3, 14, 5, 9, 0}, L"C:\\Logs\\Setup_03022024_140509.log"},
                      NameCase{L"C:\\a.b\\Setup.bundle.txt", {2001, 12, 1, 31, 0, 0, 0, 999},
                               L"C:\\a.b\\Setup.bundle_31122001_000000.txt"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.index == 0 ? "Example" : "DottedFolderAndName"; });

struct RollCase {
  const char* name;
  int mode;
  long long existingBytes;  // a file of this size before the sink opens; 0 for none
  size_t lineLength;
};

class LogRollOver : public LogTest, public ::testing::WithParamInterface<RollCase> {};

TEST_P(LogRollOver, RenamesAtTheFirstCheckPastTheLimitAndContinuesInANewFile) {
  const RollCase& c = GetParam();
  std::wstring path = scratch_ + L"Setup.log";
  if (c.existingBytes > 0) {
    ASSERT_TRUE(MakeFileOfSize(path, c.existingBytes));
  }
  FakeLogFileDetails details(path, L"", c.mode, 1);
  ASSERT_EQ(OpenFileSink(&details), 1);

  std::wstring filler(c.lineLength, L'r');
  for (int line = 1; line <= 300; ++line) LogInformation(L"line %03d %s", line, filler.c_str());
  EXPECT_GT(testsupport::ReadFileBytes(path).size(), static_cast<size_t>(kMiB));
  EXPECT_TRUE(FilesMatching(scratch_, L"Setup_*").empty()) << "rolled over before the 301st line";

  SYSTEMTIME before = Now();
  LogInformation(L"line 301 trigger");
  SYSTEMTIME after = Now();
  std::vector<std::wstring> rolled = FilesMatching(scratch_, L"Setup_*");
  ASSERT_EQ(rolled.size(), 1u);
  EXPECT_TRUE(Contains(RolledNamesBetween(path, before, after), rolled[0])) << platform::WideToUtf8(rolled[0]);

  LogInformation(L"after roll-over");
  ResetManager();

  LogFileContent old = ReadLogFile(scratch_ + rolled[0]);
  ASSERT_GE(old.lines.size(), 2u);
  EXPECT_EQ(old.lines.back(), kMarkerLine);
  EXPECT_NE(old.lines[old.lines.size() - 2].find(L"line 301 trigger"), std::wstring::npos);

  LogFileContent fresh = ReadLogFile(path);
  EXPECT_TRUE(fresh.hasBom);
  ASSERT_EQ(fresh.lines.size(), 2u) << "only the next line and the stop banner, no start banner";
  EXPECT_NE(fresh.lines[0].find(L"INFORMATION:\tafter roll-over"), std::wstring::npos);
  EXPECT_EQ(fresh.lines[1].rfind(L"===== logging stopped: ", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, LogRollOver,
                         ::testing::Values(RollCase{"GrowsPastLimit", 1, 0, 2000},
                                           RollCase{"AlreadyOverLimit", 0, kMiB + kMiB / 2, 10}),
                         [](const ::testing::TestParamInfo<RollCase>& info) { return info.param.name; });

class LogRollOverRenameFailure : public LogTest, public ::testing::WithParamInterface<int> {};

TEST_P(LogRollOverRenameFailure, WarnsAndKeepsWritingTheSameFile) {
  const int mode = GetParam();
  std::wstring path = scratch_ + L"Setup.log";
  FakeLogFileDetails details(path, L"", mode, 1);
  ASSERT_EQ(OpenFileSink(&details), 1);
  OccupyRolledNames(path, 30);
  size_t occupied = FilesMatching(scratch_, L"Setup_*").size();

  std::wstring filler(4000, L'f');
  for (int line = 1; line <= 301; ++line) LogInformation(L"line %03d %s", line, filler.c_str());
  LogInformation(L"still logging");
  ResetManager();

  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"Unable to rename the log file.");
  EXPECT_EQ(boxes_[0].caption, L"Setup");
  EXPECT_EQ(boxes_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_EQ(FilesMatching(scratch_, L"Setup_*").size(), occupied);

  LogFileContent content = ReadLogFile(path);
  EXPECT_TRUE(content.hasBom);
  std::vector<std::wstring> debug = LinesContaining(content, L"DEBUG:\t\tUnable to rename the log file.File already present");
  EXPECT_EQ(debug.size(), 1u);
  EXPECT_EQ(LinesContaining(content, L"still logging").size(), 1u);
  // Overwrite mode starts the unrenamed file again; append mode keeps what was written.
  EXPECT_EQ(LinesContaining(content, L"line 001").size(), mode == 0 ? 1u : 0u);
  EXPECT_EQ(LinesContaining(content, kMarkerLine).size(), mode == 0 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Modes, LogRollOverRenameFailure, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) { return info.param == 0 ? "Append" : "Overwrite"; });

struct PackageCase {
  const char* name;
  long long size;
  bool rolled;
};

class LogRollOverFile : public LogTest, public ::testing::WithParamInterface<PackageCase> {};

TEST_P(LogRollOverFile, RenamesOnlyFilesOverTenMebibytes) {
  std::wstring path = scratch_ + L"Product_Setup.log";
  ASSERT_TRUE(MakeFileOfSize(path, GetParam().size));
  SYSTEMTIME before = Now();
  RollOverFile(path);
  SYSTEMTIME after = Now();

  std::vector<std::wstring> rolled = FilesMatching(scratch_, L"Product_Setup_*");
  EXPECT_TRUE(boxes_.empty());
  if (!GetParam().rolled) {
    EXPECT_TRUE(rolled.empty());
    EXPECT_EQ(testsupport::ReadFileBytes(path).size(), static_cast<size_t>(GetParam().size));
    return;
  }
  ASSERT_EQ(rolled.size(), 1u);
  EXPECT_TRUE(Contains(RolledNamesBetween(path, before, after), rolled[0])) << platform::WideToUtf8(rolled[0]);
  EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "the package log is not reopened";
  LogFileContent content = ReadLogFile(scratch_ + rolled[0]);
  EXPECT_TRUE(platform::EndsWithNoCase(content.text, std::wstring(kMarkerLine) + L"\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Sizes, LogRollOverFile,
                         ::testing::Values(PackageCase{"Over", 10 * kMiB + 2, true},
                                           PackageCase{"Exactly", 10 * kMiB, false},
                                           PackageCase{"Small", 100, false}),
                         [](const ::testing::TestParamInfo<PackageCase>& info) { return info.param.name; });

using LogRollOverFileMissing = LogTest;

TEST_F(LogRollOverFileMissing, LogsThatTheFileIsNotAvailable) {
  std::wstring logPath = scratch_ + L"setup.log";
  FakeLogFileDetails details(logPath, L"", 1, 0);
  ASSERT_EQ(OpenFileSink(&details), 1);
  std::wstring missing = scratch_ + L"missing_Setup.log";
  RollOverFile(missing);
  ResetManager();

  EXPECT_EQ(::GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(LinesContaining(ReadLogFile(logPath), L"INFORMATION:\tUnable to open the file name " + missing +
                                                      L". The file is not available")
                .size(),
            1u);
}

struct RenameBlockCase {
  const char* name;
  bool holdWithoutDeleteSharing;  // otherwise the rolled names are taken
  const wchar_t* debugText;
};

class LogRollOverFileRenameFailure : public LogTest, public ::testing::WithParamInterface<RenameBlockCase> {};

TEST_P(LogRollOverFileRenameFailure, WarnsAndLogsTheReasonByErrorNumber) {
  std::wstring logPath = scratch_ + L"setup.log";
  FakeLogFileDetails details(logPath, L"", 1, 0);
  ASSERT_EQ(OpenFileSink(&details), 1);
  std::wstring path = scratch_ + L"Product_Setup.log";
  ASSERT_TRUE(MakeFileOfSize(path, 10 * kMiB + 2));

  platform::UniqueFileHandle holder;
  if (GetParam().holdWithoutDeleteSharing) {
    holder.Reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.IsValid());
  } else {
    OccupyRolledNames(path, 30);
  }
  RollOverFile(path);
  holder.Reset();
  ResetManager();

  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"Unable to rename the log file.");
  EXPECT_EQ(boxes_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(LinesContaining(ReadLogFile(logPath), std::wstring(L"DEBUG:\t\t") + GetParam().debugText).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, LogRollOverFileRenameFailure,
    ::testing::Values(RenameBlockCase{"TargetExists", false, L"Unable to rename the log file.File already present"},
                      RenameBlockCase{"FileInUse", true, L"Unable to rename the log file.File access error"}),
    [](const ::testing::TestParamInfo<RenameBlockCase>& info) { return info.param.name; });

}  // namespace
}  // namespace logtest
