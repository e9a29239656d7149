#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/SystemDetails.h"
#include "config/ConfigTestSupport.h"
#include "platform/StringUtil.h"

namespace {

TEST(SystemDetailsText, BlockBetweenTwoSeparatorLines) {
  SystemDetails details;
  details.majorVersion = 6;
  details.minorVersion = 1;
  details.workstation = true;
  details.productType = 48;
  details.servicePack = L"Service Pack 1";
  details.is64Bit = true;
  details.systemLocaleName = L"en-US";
  details.systemLanguage = 1033;
  details.userLocaleName = L"de-DE";
  details.userLanguage = 1031;
  details.userName = L"alice";
  const std::wstring separator = L"\n" + std::wstring(103, L'=') + L"\n";
  EXPECT_EQ(FormatSystemDetails(details),
            separator +
                L"\t\tSystem Details...\n"
                L"\t\t\t\tMajor Version  : 6\n"
                L"\t\t\t\tMinor Version  : 1\n"
                L"\t\t\t\tOS             : Windows 7 Professional Service Pack 1\n"
                L"\t\t\t\tArchitecture   : 64-bit\n"
                L"\t\t\t\tSystem locale  : en-US (1033) - Default\n"
                L"\t\t\t\tUser locale    : de-DE (1031)\n"
                L"\t\t\t\tUser           : alice" +
                separator);

  details.majorVersion = 6;
  details.minorVersion = 3;
  details.workstation = false;
  details.productType = 200;
  details.servicePack.clear();
  details.is64Bit = false;
  std::wstring text = FormatSystemDetails(details);
  EXPECT_NE(text.find(L"OS             : Windows Server 2012 R2  \n"), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"Architecture   : 32-bit\n"), std::wstring::npos) << text;
}

struct OsCase {
  const char* label;
  DWORD major;
  DWORD minor;
  bool workstation;
  const wchar_t* name;
};

class OperatingSystemNames : public ::testing::TestWithParam<OsCase> {};

TEST_P(OperatingSystemNames, ByVersionAndProductType) {
  EXPECT_EQ(GetOperatingSystemName(GetParam().major, GetParam().minor, GetParam().workstation), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OperatingSystemNames,
    ::testing::Values(
        OsCase{"Windows10", 10, 0, true, L"Windows 10"}, OsCase{"Windows10Server", 10, 5, false, L"Windows 10 Server"},
        OsCase{"Windows8_1", 6, 3, true, L"Windows 8.1"},
        OsCase{"Server2012R2", 6, 3, false, L"Windows Server 2012 R2"}, OsCase{"Windows8", 6, 2, true, L"Windows 8"},
        OsCase{"Server2012", 6, 2, false, L"Windows Server 2012"}, OsCase{"Windows7", 6, 1, true, L"Windows 7"},
        OsCase{"Server2008R2", 6, 1, false, L"Windows Server 2008 R2"}, OsCase{"Vista", 6, 0, true, L"Windows Vista"},
        OsCase{"Server2008", 6, 0, false, L"Windows Server 2008"}, OsCase{"Unknown6_4", 6, 4, true, L"UnKnown OS"},
        OsCase{"Unknown5_1", 5, 1, true, L"UnKnown OS"}, OsCase{"Unknown11_0Server", 11, 0, false, L"UnKnown OS"}),
    [](const ::testing::TestParamInfo<OsCase>& info) { return std::string(info.param.label); });

TEST(EditionNames, NamedProductTypesAndEmptyOthers) {
  const std::pair<DWORD, const wchar_t*> named[] = {
      {1, L"Ultimate Edition"}, {2, L"Home Basic"},    {3, L"Home Premium"},      {4, L"Enterprise"},
      {6, L"Business"},         {7, L"Standard Server"}, {8, L"Datacenter"},      {10, L"Enterprise Server"},
      {11, L"Starter"},         {12, L"Datacenter Core"}, {17, L"Web Server"},     {18, L"Cluster Server"},
      {48, L"Professional"}};
  for (const auto& [type, name] : named) EXPECT_EQ(GetEditionName(type), name) << type;
  for (DWORD type : {0u, 5u, 9u, 47u, 49u, 199u, 200u, 0xABCDu}) EXPECT_EQ(GetEditionName(type), L"") << type;
}

TEST(SystemDetailsOfThisMachine, LoggedAsOneInformationLine) {
  SystemDetails details = CollectSystemDetails();
  EXPECT_GE(details.majorVersion, 6u);
  EXPECT_TRUE(details.is64Bit);  // the tests run in a 64-bit Wine
  EXPECT_FALSE(details.userName.empty());
  EXPECT_EQ(details.systemLanguage, ::GetSystemDefaultLangID());
  EXPECT_FALSE(details.systemLocaleName.empty());

  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  LogSystemDetails();
  std::wstring text = log.Text();
  platform::ReplaceAll(text, L"\r\n", L"\n");  // the file sink ends lines with CR LF
  std::wstring expected = L"INFORMATION:\t" + FormatSystemDetails(details);
  EXPECT_NE(text.find(expected), std::wstring::npos) << text;
}

}  // namespace
