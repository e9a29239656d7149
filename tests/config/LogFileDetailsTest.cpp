#include <gtest/gtest.h>

#include <ostream>
#include <windows.h>
#include <shlobj.h>

#include "ConfigTestSupport.h"
#include "config/SetupConfigData.h"
#include "platform/StringUtil.h"

namespace {

std::wstring CommonAppData() {
  wchar_t buffer[MAX_PATH] = {};
  return ::SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_APPDATA, FALSE) ? buffer : L"";
}

std::wstring LocalAppData() {
  wchar_t buffer[MAX_PATH] = {};
  return ::SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_LOCAL_APPDATA, FALSE) ? buffer : L"";
}

struct PathPartsCase {
  const char* label;
  const wchar_t* name;
  const wchar_t* fileName;
  const wchar_t* folder;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const PathPartsCase& c, std::ostream* os) { *os << c.label; }

class ConfigLogFileDetailsParts : public ::testing::TestWithParam<PathPartsCase> {};

TEST_P(ConfigLogFileDetailsParts, SplitsAtTheLastBackslash) {
  CLogFileDetails details(GetParam().name, L"USERINFO", 0, 1);
  EXPECT_EQ(details.GetFileName(), GetParam().fileName);
  EXPECT_EQ(details.GetFolder(), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigLogFileDetailsParts,
    ::testing::Values(PathPartsCase{"FullPath", L"C:\\Logs\\Setup.log", L"Setup.log", L"C:\\Logs\\"},
                      PathPartsCase{"NoBackslash", L"Setup.log", L"", L""},
                      PathPartsCase{"FolderOnly", L"C:\\Logs\\", L"", L"C:\\Logs\\"},
                      PathPartsCase{"Empty", L"", L"", L""}),
    [](const ::testing::TestParamInfo<PathPartsCase>& info) { return std::string(info.param.label); });

// "{common}" and "{local}" in the expectation stand for the two folders.
struct ExpansionCase {
  const char* label;
  const wchar_t* name;
  const wchar_t* expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ExpansionCase& c, std::ostream* os) { *os << c.label; }

std::wstring Resolve(std::wstring text) {
  platform::ReplaceAll(text, L"{common}", CommonAppData());
  platform::ReplaceAll(text, L"{local}", LocalAppData());
  return text;
}

class ConfigLogFileExpansion : public ::testing::TestWithParam<ExpansionCase> {
 protected:
  void SetUp() override {
    ::SetEnvironmentVariableW(L"CONFIG_TEST_LOGS", L"D:\\Var");
    ::SetEnvironmentVariableW(L"CONFIG_TEST_PERCENT", L"P%CommonAppDataFolder%");
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"CONFIG_TEST_LOGS", nullptr);
    ::SetEnvironmentVariableW(L"CONFIG_TEST_PERCENT", nullptr);
  }
};

TEST_P(ConfigLogFileExpansion, ExpandsFolderReferences) {
  ASSERT_FALSE(CommonAppData().empty());
  CSetupConfigData record;
  record.CreateLogFileDetails(GetParam().name, L"DEVELOPERINFO", 1, 5);
  ASSERT_NE(record.GetLogFileDetails(), nullptr);
  EXPECT_EQ(record.GetLogFileDetails()->GetName(), Resolve(GetParam().expected));
  EXPECT_EQ(record.GetLogFileDetails()->GetLevel(), L"DEVELOPERINFO");
  EXPECT_EQ(record.GetLogFileDetails()->GetMode(), 1);
  EXPECT_EQ(record.GetLogFileDetails()->GetMaxLengthOfFile(), 5);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigLogFileExpansion,
    ::testing::Values(
        ExpansionCase{"CommonAppData", L"%CommonAppDataFolder%\\Logs\\a.log", L"{common}\\Logs\\a.log"},
        ExpansionCase{"CommonAppDataUpperCase", L"%COMMONAPPDATAFOLDER%\\a.log", L"{common}\\a.log"},
        ExpansionCase{"CommonAppDataLowerCase", L"%commonappdatafolder%\\a.log", L"{common}\\a.log"},
        ExpansionCase{"LocalAppData", L"%LocalAppDataFolder%\\a.log", L"{local}\\a.log"},
        ExpansionCase{"EnvironmentVariable", L"%CONFIG_TEST_LOGS%\\a.log", L"D:\\Var\\a.log"},
        ExpansionCase{"RepeatedReference", L"%CONFIG_TEST_LOGS%\\x\\%CONFIG_TEST_LOGS%.log",
                      L"D:\\Var\\x\\D:\\Var.log"},
        ExpansionCase{"TwoDifferentReferences", L"%CONFIG_TEST_LOGS%\\%CommonAppDataFolder%",
                      L"D:\\Var\\{common}"},
        ExpansionCase{"ValueIsNotExpandedAgain", L"%CONFIG_TEST_PERCENT%\\a.log",
                      L"P%CommonAppDataFolder%\\a.log"},
        ExpansionCase{"LonePercentKept", L"C:\\100%\\a.log", L"C:\\100%\\a.log"},
        // "%%" names no variable: kept, never the common application data folder.
        ExpansionCase{"EmptyReferenceKept", L"%%%", L"%%%"},
        ExpansionCase{"EmptyReferenceBeforeAName", L"%%CONFIG_TEST_LOGS%\\a.log", L"%D:\\Var\\a.log"},
        ExpansionCase{"NoReference", L"C:\\Logs\\a.log", L"C:\\Logs\\a.log"}),
    [](const ::testing::TestParamInfo<ExpansionCase>& info) { return std::string(info.param.label); });

TEST(ConfigLogFileDetails, UnsetVariableFallsBackToCommonAppDataWithInformationLine) {
  ::SetEnvironmentVariableW(L"CONFIG_TEST_UNSET", nullptr);
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  CSetupConfigData record;
  record.CreateLogFileDetails(L"%CONFIG_TEST_UNSET%\\Setup\\a.log", L"USERINFO", 0, 1);
  ASSERT_NE(record.GetLogFileDetails(), nullptr);
  EXPECT_EQ(record.GetLogFileDetails()->GetName(), CommonAppData() + L"\\Setup\\a.log");
  EXPECT_EQ(log.Count(L"INFORMATION:\tEnvironment Variable CONFIG_TEST_UNSET could not be resolved, replacing it  "
                      L"with COMMONAPPDATAFOLDER "),
            1u);
}

TEST(ConfigLogFileDetails, CreatingAgainReplacesTheSettings) {
  CSetupConfigData record;
  record.CreateLogFileDetails(L"C:\\a.log", L"USERINFO", 0, 1);
  record.CreateLogFileDetails(L"C:\\b.log", L"USERINFO", 0, 1);
  EXPECT_EQ(record.GetLogFileDetails()->GetFileName(), L"b.log");
}

}  // namespace
