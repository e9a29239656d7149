#include <gtest/gtest.h>

#include <regex>

#include "LogTestSupport.h"
#include "log/Log.h"
#include "log/LogManager.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"

namespace logtest {
namespace {

using setuplog::CLogManager;

const std::wregex kStartBanner(L"===== logging started: \\d\\d/\\d\\d/\\d{4}  \\d\\d:\\d\\d:\\d\\d  ======");
const std::wregex kStopBanner(L"===== logging stopped: \\d\\d/\\d\\d/\\d{4}  \\d\\d:\\d\\d:\\d\\d  ======");
const std::wstring kStamp = L"\\[\\d\\d:\\d\\d:\\d\\d:\\d{3}\\]:\\t ";

bool Matches(const std::wstring& line, const std::wregex& pattern) { return std::regex_match(line, pattern); }

using LogFile = LogTest;

TEST_F(LogFile, WritesUtf16LinesWithTimeStampsBetweenBanners) {
  std::wstring path = scratch_ + L"format.log";
  FakeLogFileDetails details(path, L"", 1, 0);
  ASSERT_EQ(OpenFileSink(&details), 1);
  LogError(L"alpha");
  LogInformation(L"value %d of %s", 42, L"answer");
  LogDebug(L"first\nsecond");
  LogUserLine(L"user");
  ResetManager();

  std::string bytes = testsupport::ReadFileBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
  LogFileContent content = ReadLogFile(path);
  EXPECT_FALSE(content.loneLineFeed);
  EXPECT_EQ(content.text.find(L'\xFEFF'), std::wstring::npos) << "a second byte order mark";
  ASSERT_EQ(content.lines.size(), 7u) << platform::WideToUtf8(content.text);
  EXPECT_TRUE(platform::EndsWithNoCase(content.text, L"\r\n"));
  EXPECT_TRUE(Matches(content.lines[0], kStartBanner)) << platform::WideToUtf8(content.lines[0]);
  EXPECT_TRUE(Matches(content.lines[1], std::wregex(kStamp + L"ERROR:\\t\\talpha")));
  EXPECT_TRUE(Matches(content.lines[2], std::wregex(kStamp + L"INFORMATION:\\tvalue 42 of answer")));
  EXPECT_TRUE(Matches(content.lines[3], std::wregex(kStamp + L"DEBUG:\\t\\tfirst")));
  EXPECT_EQ(content.lines[4], L"second");
  EXPECT_TRUE(Matches(content.lines[5], std::wregex(kStamp + L"user")));
  EXPECT_TRUE(Matches(content.lines[6], kStopBanner)) << platform::WideToUtf8(content.lines[6]);
}

struct ModeCase {
  const char* name;
  int mode;
  size_t runsKept;
};

class LogFileMode : public LogTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(LogFileMode, SecondRunAppendsOrOverwrites) {
  std::wstring path = scratch_ + L"mode.log";
  for (int run = 1; run <= 2; ++run) {
    FakeLogFileDetails details(path, L"", GetParam().mode, 0);
    ASSERT_EQ(OpenFileSink(&details), 1);
    LogInformation(L"run %d", run);
    ResetManager();
  }
  LogFileContent content = ReadLogFile(path);
  EXPECT_TRUE(content.hasBom);
  EXPECT_EQ(content.text.find(L'\xFEFF'), std::wstring::npos) << "a byte order mark inside the file";
  size_t starts = 0, stops = 0;
  for (const std::wstring& line : content.lines) {
    starts += Matches(line, kStartBanner) ? 1 : 0;
    stops += Matches(line, kStopBanner) ? 1 : 0;
  }
  EXPECT_EQ(starts, GetParam().runsKept);
  EXPECT_EQ(stops, GetParam().runsKept);
  EXPECT_EQ(LinesContaining(content, L"run 2").size(), 1u);
  EXPECT_EQ(LinesContaining(content, L"run 1").size(), GetParam().runsKept - 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, LogFileMode,
                         ::testing::Values(ModeCase{"Append", 0, 2}, ModeCase{"Overwrite", 1, 1},
                                           ModeCase{"UnknownSeven", 7, 1}, ModeCase{"UnknownNegative", -1, 1}),
                         [](const ::testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

TEST_F(LogFile, CreatesMissingFoldersFromTheRootDown) {
  std::wstring path = scratch_ + L"one\\two\\three\\deep.log";
  FakeLogFileDetails details(path, L"", 0, 0);
  ASSERT_EQ(OpenFileSink(&details), 1);
  LogInformation(L"deep");
  ResetManager();
  for (const wchar_t* folder : {L"one", L"one\\two", L"one\\two\\three"}) {
    DWORD attributes = ::GetFileAttributesW((scratch_ + folder).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << platform::WideToUtf8(folder);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  EXPECT_EQ(LinesContaining(ReadLogFile(path), L"deep").size(), 1u);
}

struct FallbackCase {
  const char* name;
  // Makes the path the configuration names; `kept` gets a file that must
  // come through unchanged (empty: none).
  std::wstring (*makePath)(const std::wstring& scratch, std::wstring& kept);
  int mode;
};

class LogFileFallback : public LogTest, public ::testing::WithParamInterface<FallbackCase> {};

// A path that is not a setup log is never written: the log goes to the
// temporary folder, and its first line after the banner says so.
TEST_P(LogFileFallback, LeavesTheFileAloneAndLogsToTheTemporaryFolder) {
  std::wstring kept;
  const std::wstring path = GetParam().makePath(scratch_, kept);
  const std::string keptBefore = kept.empty() ? std::string() : testsupport::ReadFileBytes(kept);
  FakeLogFileDetails details(path, L"", GetParam().mode, 0);
  ASSERT_EQ(OpenFileSink(&details), 1);
  LogInformation(L"after the fallback");
  ResetManager();

  if (!kept.empty()) {
    EXPECT_EQ(testsupport::ReadFileBytes(kept), keptBefore);
  }
  wchar_t temp[MAX_PATH + 1] = {};
  ASSERT_GT(::GetTempPathW(MAX_PATH + 1, temp), 0u);
  const LogFileContent content = ReadLogFile(std::wstring(temp) + L"Setup.log");
  EXPECT_TRUE(content.hasBom);
  EXPECT_FALSE(LinesContaining(content, L"WARNING:\tThe log file " + path + L" is not a setup log").empty())
      << platform::WideToUtf8(content.text.substr(content.text.size() > 2000 ? content.text.size() - 2000 : 0));
  EXPECT_TRUE(boxes_.empty());
}

std::wstring ConfigurationFile(const std::wstring& scratch, std::wstring& kept) {
  kept = scratch + L"SetupConfig.xml";
  testsupport::WriteFileBytes(kept, "<?xml version=\"1.0\"?>\r\n<SetupConfig/>\r\n");
  return kept;
}
std::wstring AFolder(const std::wstring& scratch, std::wstring&) { return scratch.substr(0, scratch.size() - 1); }
std::wstring DeviceInAFolder(const std::wstring& scratch, std::wstring&) { return scratch + L"NUL.log"; }
std::wstring Nul(const std::wstring&, std::wstring&) { return L"NUL"; }
std::wstring Percents(const std::wstring&, std::wstring&) { return L"%%%"; }

INSTANTIATE_TEST_SUITE_P(
    Paths, LogFileFallback,
    ::testing::Values(FallbackCase{"AnotherFileAppend", ConfigurationFile, 0},
                      FallbackCase{"AnotherFileOverwrite", ConfigurationFile, 1}, FallbackCase{"AFolder", AFolder, 0},
                      FallbackCase{"DeviceInAFolder", DeviceInAFolder, 1}, FallbackCase{"Nul", Nul, 0},
                      FallbackCase{"RelativePath", Percents, 0}),
    [](const ::testing::TestParamInfo<FallbackCase>& info) { return info.param.name; });

struct OpenFailureCase {
  const char* name;
  // Makes the unusable path inside the scratch folder.
  std::wstring (*makePath)(const std::wstring& scratch);
  DWORD expectedError;
};

class LogFileOpenFailure : public LogTest, public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(LogFileOpenFailure, ShowsComposedMessageAndFails) {
  std::wstring path = GetParam().makePath(scratch_);
  auto& manager = CLogManager::GetInstance();
  manager.SetOpenFailureTexts(L"The log file cannot be created.", L"Setup will now end.");
  FakeLogFileDetails details(path, L"", 1, 0);
  EXPECT_EQ(OpenFileSink(&details), 0);

  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"The log file cannot be created.\n" + platform::SystemErrorText(GetParam().expectedError) +
                                L"\nSetup will now end.");
  EXPECT_FALSE(platform::SystemErrorText(GetParam().expectedError).empty());
  EXPECT_EQ(boxes_[0].caption, L"Setup");
  EXPECT_EQ(boxes_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));

  // Lines without an open file are dropped quietly.
  LogError(L"nowhere to go");
  EXPECT_EQ(boxes_.size(), 1u);
}

std::wstring FolderIsAFile(const std::wstring& scratch) {
  std::wstring blocker = scratch + L"blocker";
  testsupport::WriteFileBytes(blocker, "x");
  return blocker + L"\\sub\\setup.log";
}
std::wstring FolderNameInvalid(const std::wstring& scratch) { return scratch + L"bad|name\\setup.log"; }

INSTANTIATE_TEST_SUITE_P(Paths, LogFileOpenFailure,
                         ::testing::Values(OpenFailureCase{"FolderIsAFile", FolderIsAFile, ERROR_PATH_NOT_FOUND},
                                           OpenFailureCase{"FolderNameInvalid", FolderNameInvalid,
                                                           ERROR_INVALID_NAME}),
                         [](const ::testing::TestParamInfo<OpenFailureCase>& info) { return info.param.name; });

}  // namespace
}  // namespace logtest
