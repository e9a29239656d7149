#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/CommandLineParser.h"
#include "config/SetupConfigData.h"
#include "platform/StringUtil.h"
#include "registry/RegistryUtil.h"

namespace {

struct OptionCase {
  const char* name;
  const wchar_t* commandLine;
  int silent;
  int executionType;
  int singleInstance;
  LANGID language;
  const wchar_t* brand;
  std::map<std::wstring, std::wstring> properties;
  int restore = 0;
  int noReboot = 0;
  int nested = 0;
  int preInstallHidden = 0;
};

class CommandLineParserOptions : public ::testing::TestWithParam<OptionCase> {
 protected:
  void SetUp() override { CCommandLineProperties::GetCommandLineProperties().Clear(); }
  void TearDown() override { CCommandLineProperties::GetCommandLineProperties().Clear(); }
};

TEST_P(CommandLineParserOptions, ParsesTheCommandLine) {
  const OptionCase& c = GetParam();
  CSetupConfigData record;
  CCommandLineParser parser(&record);
  platform::ParseCommandLine(std::wstring(L"Setup.exe ") + c.commandLine, parser);

  EXPECT_EQ(parser.IsSilentMode(), c.silent);
  EXPECT_EQ(parser.GetRequestedExecutionType(), c.executionType);
  EXPECT_EQ(parser.IsSingleInstance(), c.singleInstance);
  EXPECT_EQ(parser.GetLanguageId(), c.language);
  EXPECT_EQ(parser.GetBrand(), c.brand);
  EXPECT_EQ(record.GetBrand(), c.brand) << "the brand reaches the record at once";
  EXPECT_EQ(parser.IsRestore(), c.restore);
  EXPECT_EQ(parser.IsNoReboot(), c.noReboot);
  EXPECT_EQ(parser.IsNested(), c.nested);
  EXPECT_EQ(parser.IsPreInstallDialogsHidden(), c.preInstallHidden);
  EXPECT_EQ(parser.IsAborted(), 0);
  EXPECT_EQ(CCommandLineProperties::GetCommandLineProperties().GetAll(), c.properties);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineParserOptions,
    ::testing::Values(
        OptionCase{"NoOptions", L"", 0, 0, 1, 0, L"", {}},
        OptionCase{"SlashUpper", L"/SI", 1, 0, 1, 0, L"", {}},
        OptionCase{"DashLower", L"-si", 1, 0, 1, 0, L"", {}},
        OptionCase{"Repair", L"/sf", 1, 3, 1, 0, L"", {}},
        OptionCase{"LastSilentWins", L"/sx /sf", 1, 3, 1, 0, L"", {}},
        OptionCase{"RemoveLast", L"/sf -SX", 1, 4, 1, 0, L"", {}},
        OptionCase{"NoMutexAnyCase", L"/nomutex", 0, 0, 0, 0, L"", {}},
        OptionCase{"Language", L"/L 1031", 0, 0, 1, 1031, L"", {}},
        OptionCase{"LanguageAsLastToken", L"/si /L", 1, 0, 1, 0, L"", {}},
        OptionCase{"LanguageNotANumber", L"/L abc", 0, 0, 1, 0, L"", {}},
        OptionCase{"LanguageTruncatedTo16Bits", L"/L 66567", 0, 0, 1, 1031, L"", {}},
        OptionCase{"FlagBetweenOptionAndArgument", L"/L /si 1031", 1, 0, 1, 1031, L"", {}},
        OptionCase{"Brand", L"/B QRT", 0, 0, 1, 0, L"QRT", {}},
        OptionCase{"EmptyValue", L"INSTALLDIR=", 0, 0, 1, 0, L"", {{L"INSTALLDIR", L""}}},
        OptionCase{"FirstValueKept", L"A=1 A=2", 0, 0, 1, 0, L"", {{L"A", L"1"}}},
        OptionCase{"ValueWithEquals", L"X=a=b", 0, 0, 1, 0, L"", {{L"X", L"a=b"}}},
        OptionCase{"QuotedValue", L"INSTALLDIR=\"D:\\Setup\\My Folder\"", 0, 0, 1, 0, L"",
                   {{L"INSTALLDIR", L"D:\\Setup\\My Folder"}}},
        OptionCase{"NamesAreCaseSensitive", L"a=1 A=2", 0, 0, 1, 0, L"", {{L"A", L"2"}, {L"a", L"1"}}},
        OptionCase{"Everything", L"/si /L 1036 /B Brand2 /P /NOREBOOT /RESTORE /NESTED /arp P=1", 1, 0, 1, 1036,
                   L"Brand2", {{L"P", L"1"}}, 1, 1, 1, 1}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

TEST(CommandLineParser, AnOptionLeftPendingByAnEarlierParserDoesNotLeakIntoTheNext) {
  CSetupConfigData record;
  {
    CCommandLineParser first(&record);
    platform::ParseCommandLine(L"Setup.exe /L", first);
  }
  CCommandLineProperties::GetCommandLineProperties().Clear();
  CCommandLineParser second(&record);
  platform::ParseCommandLine(L"Setup.exe A=1", second);
  EXPECT_EQ(second.GetLanguageId(), 0);
  EXPECT_EQ(CCommandLineProperties::GetCommandLineProperties().Lookup(L"A"), L"1");
  CCommandLineProperties::GetCommandLineProperties().Clear();
}

TEST(CommandLineParser, LanguageAndBrandQueriesSetTheirFlags) {
  CSetupConfigData record;
  CCommandLineParser parser(&record);
  EXPECT_EQ(parser.IsLanguageDialogHidden(), 0);
  EXPECT_EQ(parser.IsBrandGiven(), 0);
  platform::ParseCommandLine(L"Setup.exe /L 1033 /B X", parser);
  EXPECT_EQ(parser.IsLanguageDialogHidden(), 1);
  EXPECT_EQ(parser.IsBrandGiven(), 1);
}

TEST(CommandLineParser, UsageTextIsExactly425Bytes) {
  EXPECT_EQ(sizeof(CCommandLineParser::kUsageText), 425u);
  EXPECT_EQ(CCommandLineParser::kUsageText[424], '\0');
  std::string text(CCommandLineParser::kUsageText);
  EXPECT_EQ(text.substr(0, 17), "\nInstall options\n");
  EXPECT_EQ(text.substr(text.size() - 31), "INSTALLDIR=\"D:\\Setup\\MyFolder1\"");
}

// Resume values live in the real registry of the test prefix, under a value
// name unique to each test, and are removed again.
struct ResumeCase {
  const char* name;
  const wchar_t* value;  // null: no value at all
  LANGID language;
  const wchar_t* brand;
  int restore;
  int preInstallHidden;
};

class CommandLineParserResume : public ::testing::TestWithParam<ResumeCase> {
 protected:
  std::wstring bundleKey_ = platform::Format(L"ResumeTest_%lu_%hs", ::GetCurrentProcessId(), GetParam().name);
  void TearDown() override {
    platform::UniqueHKey key;
    if (registry::OpenKey(CCommandLineParser::kSessionManagerKey, KEY_SET_VALUE, registry::View::Default, key) ==
        ERROR_SUCCESS) {
      ::RegDeleteValueW(key.Get(), (L"RebootFor" + bundleKey_).c_str());
    }
  }
};

TEST_P(CommandLineParserResume, AppliesTheStoredOptionsOverTheCommandLine) {
  const ResumeCase& c = GetParam();
  if (c.value != nullptr) {
    ASSERT_EQ(registry::SetRegistryKeyValueData(CCommandLineParser::kSessionManagerKey, L"RebootFor" + bundleKey_,
                                                c.value),
              1);
  }
  CSetupConfigData record;
  record.SetBootstrapperRegistry(bundleKey_);
  CCommandLineParser parser(&record);
  platform::ParseCommandLine(L"Setup.exe /L 1049 /B Cmd", parser);
  parser.ApplyResumeOptions(record);
  EXPECT_EQ(parser.GetLanguageId(), c.language);
  EXPECT_EQ(parser.GetBrand(), c.brand);
  EXPECT_EQ(parser.IsRestore(), c.restore);
  EXPECT_EQ(parser.IsPreInstallDialogsHidden(), c.preInstallHidden);

  parser.DeleteResumeOptions();
  EXPECT_EQ(registry::GetRegistryKeyValueData(CCommandLineParser::kSessionManagerKey, L"RebootFor" + bundleKey_),
            L"");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineParserResume,
    ::testing::Values(ResumeCase{"Full", L"/L 1031 /B QRT /RESTORE", 1031, L"QRT", 1, 0},
                      ResumeCase{"WithP", L" /P /L 1036 /B Brand2 /RESTORE", 1036, L"Brand2", 1, 1},
                      ResumeCase{"BrandAtEnd", L"/B Last", 1049, L"Last", 0, 0},
                      ResumeCase{"Missing", nullptr, 1049, L"Cmd", 0, 0},
                      ResumeCase{"Empty", L"", 1049, L"Cmd", 0, 0}),
    [](const ::testing::TestParamInfo<ResumeCase>& info) { return std::string(info.param.name); });

TEST(CommandLineParser, DeleteWithoutAppliedResumeOptionsLeavesTheKeyAlone) {
  // Without a value name the delete would hit the key's default value.
  platform::UniqueHKey key;
  ASSERT_EQ(registry::OpenKey(CCommandLineParser::kSessionManagerKey, KEY_READ | KEY_SET_VALUE,
                              registry::View::Default, key),
            ERROR_SUCCESS);
  const wchar_t kKeep[] = L"keep";
  ASSERT_EQ(::RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kKeep), sizeof(kKeep)),
            ERROR_SUCCESS);
  CSetupConfigData record;
  CCommandLineParser parser(&record);
  parser.DeleteResumeOptions();
  std::wstring value;
  EXPECT_TRUE(registry::ReadStringValue(key.Get(), L"", value));
  EXPECT_EQ(value, L"keep");
  ::RegDeleteValueW(key.Get(), nullptr);
}

}  // namespace
