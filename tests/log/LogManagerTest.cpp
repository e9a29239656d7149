#include <gtest/gtest.h>
#include <shlobj.h>

#include "LogTestSupport.h"
#include "log/Log.h"
#include "log/LogManager.h"
#include "platform/StringUtil.h"

namespace logtest {
namespace {

using setuplog::CLogManager;

struct LevelCase {
  const char* name;
  int initialLevel;
  const wchar_t* levelText;
  int expectedLevel;
};

class LogManagerLevel : public LogTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(LogManagerLevel, LevelTextDecidesWhetherDebugLinesAreWritten) {
  const LevelCase& c = GetParam();
  auto& manager = CLogManager::GetInstance();
  manager.SetLevel(c.initialLevel);
  std::wstring path = scratch_ + L"level.log";
  FakeLogFileDetails details(path, c.levelText, 1, 0);
  ASSERT_EQ(OpenFileSink(&details), 1);
  EXPECT_EQ(manager.GetLevel(), c.expectedLevel);
  LogDebug(L"probe debug");
  LogUserLine(L"probe user");
  ResetManager();

  LogFileContent content = ReadLogFile(path);
  EXPECT_EQ(LinesContaining(content, L"DEBUG:\t\tprobe debug").size(), c.expectedLevel > 3 ? 1u : 0u);
  EXPECT_EQ(LinesContaining(content, L"probe user").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(LevelTexts, LogManagerLevel,
                         ::testing::Values(LevelCase{"DeveloperInfo", 3, L"DEVELOPERINFO", 4},
                                           LevelCase{"DeveloperInfoLowerCase", 3, L"developerinfo", 4},
                                           LevelCase{"UserInfo", 4, L"USERINFO", 3},
                                           LevelCase{"UserInfoMixedCase", 4, L"UserInfo", 3},
                                           LevelCase{"OtherTextKeepsDefault", 4, L"Debug", 4},
                                           LevelCase{"OtherTextKeepsUserLevel", 3, L"Debug", 3},
                                           LevelCase{"EmptyKeepsDefault", 4, L"", 4}),
                         [](const ::testing::TestParamInfo<LevelCase>& info) { return info.param.name; });

using LogManager = LogTest;

TEST_F(LogManager, UserInfoDropsOnlyDebugLines) {
  std::wstring path = scratch_ + L"userinfo.log";
  FakeLogFileDetails details(path, L"USERINFO", 1, 0);
  ASSERT_EQ(OpenFileSink(&details), 1);
  LogError(L"e %d", 1);
  LogWarning(L"w %d", 2);
  LogInformation(L"i %d", 3);
  LogDebug(L"d %d", 4);
  LogUserLine(L"user line");
  ResetManager();

  LogFileContent content = ReadLogFile(path);
  ASSERT_EQ(content.lines.size(), 6u);  // banners around four lines
  const wchar_t* expected[] = {L"]:\t ERROR:\t\te 1", L"]:\t WARNING:\tw 2", L"]:\t INFORMATION:\ti 3",
                               L"]:\t user line"};
  for (size_t i = 0; i < 4; ++i) {
    const std::wstring& line = content.lines[i + 1];
    EXPECT_TRUE(platform::EndsWithNoCase(line, expected[i])) << platform::WideToUtf8(line);
  }
  EXPECT_TRUE(LinesContaining(content, L"DEBUG").empty());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(LogManager, MessageBoxSinkShowsOnlyErrors) {
  auto& manager = CLogManager::GetInstance();
  ASSERT_EQ(manager.SetSinkType(CLogManager::kSinkMessageBox), 1);
  EXPECT_EQ(manager.SetSinkType(CLogManager::kSinkMessageBox), 0);
  LogWarning(L"not shown");
  LogInformation(L"not shown");
  LogUserLine(L"not shown");
  LogError(L"Failed %s", L"here");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"ERROR:\t\tFailed here");
  EXPECT_EQ(boxes_[0].caption, L"Setup");
  EXPECT_EQ(boxes_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(LogManager, ClosedSinkDropsLines) {
  auto& manager = CLogManager::GetInstance();
  ASSERT_EQ(manager.SetSinkType(CLogManager::kSinkMessageBox), 1);
  manager.CloseSink();
  LogError(L"after close");
  EXPECT_TRUE(boxes_.empty());
}

struct DefaultPathCase {
  const char* name;
  const wchar_t* bundleKey;
  const wchar_t* fileName;
  const wchar_t* notWritten = L"";  // under the common application data folder
};

class LogManagerDefaultPath : public LogTest, public ::testing::WithParamInterface<DefaultPathCase> {};

TEST_P(LogManagerDefaultPath, UnnamedLogGoesToCommonAppDataUnderBundleKey) {
  wchar_t common[MAX_PATH] = {};
  ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, common, CSIDL_COMMON_APPDATA, FALSE));
  std::wstring path = std::wstring(common) + L"\\Halvorsk\\Logs\\Setup\\" + GetParam().fileName;
  ::DeleteFileW(path.c_str());
  const std::wstring outside = std::wstring(common) + L"\\" + GetParam().notWritten;

  CLogManager::GetInstance().SetBundleKey(GetParam().bundleKey);
  FakeLogFileDetails details(L"", L"", 1, 0);
  ASSERT_EQ(OpenFileSink(&details), 1);
  LogInformation(L"default path probe");
  ResetManager();

  LogFileContent content = ReadLogFile(path);
  EXPECT_TRUE(content.exists);
  EXPECT_EQ(LinesContaining(content, L"default path probe").size(), 1u);
  ::DeleteFileW(path.c_str());
  if (*GetParam().notWritten != L'\0') {
    EXPECT_EQ(::GetFileAttributesW(outside.c_str()), INVALID_FILE_ATTRIBUTES) << platform::WideToUtf8(outside);
    ::DeleteFileW(outside.c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, LogManagerDefaultPath,
                         ::testing::Values(DefaultPathCase{"BundleKey", L"LogTestBundle", L"LogTestBundle_SetupBundle.log"},
                                           DefaultPathCase{"NoKey", L"", L"Bootstrapper_SetupBundle.log"},
                                           // The key is a file name here, never a path out of the folder.
                                           DefaultPathCase{"ClimbingKey", L"..\\..\\LogTestClimb",
                                                           L".._.._LogTestClimb_SetupBundle.log",
                                                           L"Halvorsk\\LogTestClimb_SetupBundle.log"},
                                           DefaultPathCase{"VendorSlashSuite", L"LogTest/Suite",
                                                           L"LogTest_Suite_SetupBundle.log", L""}),
                         [](const ::testing::TestParamInfo<DefaultPathCase>& info) { return info.param.name; });

}  // namespace
}  // namespace logtest
