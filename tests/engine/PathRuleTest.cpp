// The path rule, the error texts, property references and removal command lines.

#include <gtest/gtest.h>

#include "config/CommonUtilityBase.h"
#include "config/SetupConfigData.h"
#include "engine/CommonUtility.h"
#include "msi/MSIInstaller.h"
#include "msi/SetupInstallerBase.h"
#include "platform/StringUtil.h"

namespace enginetest {
namespace {

struct PathCase {
  const char* label;
  const wchar_t* path;
  bool relativeToSource;
  const wchar_t* expected;
};
void PrintTo(const PathCase& c, std::ostream* out) { *out << c.label; }

class PathRuleTest : public ::testing::TestWithParam<PathCase> {
 protected:
  void SetUp() override {
    ::SetEnvironmentVariableW(L"SETUP_TEST_TOOLS", L"C:\\Tools");
    record_.SetSourcePath(L"D:\\Source\\");
    record_.SetSetupFolder(L"E:\\Setup\\");
    record_.SetInstalledLocation(L"F:\\Installed\\");
    record_.SetBrand(L"Express");
    record_.SetLanguageId(1031);
  }
  CSetupConfigData record_;
};

TEST_P(PathRuleTest, ResolvesPlaceholders) {
  const PathCase& c = GetParam();
  std::wstring path = c.path;
  CCommonUtility::ResolvePath(record_, path, c.relativeToSource);
  EXPECT_EQ(path, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathRuleTest,
    ::testing::Values(
        PathCase{"CurrentDirWithoutSourcePath", L"[CurrentDir]Tools\\a.exe", true, L"E:\\Setup\\Tools\\a.exe"},
        PathCase{"RelativeLocationGetsSourcePath", L" Tools\\a.exe ", true, L"D:\\Source\\Tools\\a.exe"},
        PathCase{"RelativeCommandLineUnchanged", L"Tools\\a.exe", false, L"Tools\\a.exe"},
        PathCase{"InstallDirEverywhere", L"[InstallDir]a [InstallDir]b", true, L"F:\\Installed\\a F:\\Installed\\b"},
        PathCase{"EnvironmentReference", L"%SETUP_TEST_TOOLS%\\a.exe", true, L"C:\\Tools\\a.exe"},
        PathCase{"UnknownReferenceStaysAndIsNotPrefixed", L"%SETUP_TEST_UNSET%\\a.exe", true,
                 L"%SETUP_TEST_UNSET%\\a.exe"},
        PathCase{"QuotedReferenceNotPrefixed", L"\"%SETUP_TEST_TOOLS%\\a.exe\"", true, L"\"C:\\Tools\\a.exe\""},
        PathCase{"DrivePathNotPrefixed", L"C:\\Pkg\\a.msi", true, L"C:\\Pkg\\a.msi"},
        PathCase{"NetworkPathNotPrefixed", L"\\\\server\\share\\a.msi", true, L"\\\\server\\share\\a.msi"},
        PathCase{"BrandAndLanguage", L"/brand:[SelectedBrand] /lang:[SelectedLang]", false,
                 L"/brand:Express /lang:1031"},
        PathCase{"EmptyStaysEmpty", L"   ", true, L""}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return info.param.label; });

TEST(ErrorMessageTextTest, ChildSetupCodeHasItsOwnTextInEveryLanguage) {
  for (LANGID language : {LANGID{1033}, LANGID{1031}, LANGID{0}}) {
    EXPECT_EQ(CCommonUtility::GetErrorMessageText(20001, language),
              L"The child setup requested a reboot of the parent setup!");
  }
}

TEST(ErrorMessageTextTest, SystemTextWithoutTrailingLineBreakAndNeutralFallback) {
  std::wstring text = CCommonUtility::GetErrorMessageText(ERROR_FILE_NOT_FOUND, 1033);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), L'\n');
  // A language without a message table falls back to the neutral text.
  EXPECT_EQ(CCommonUtility::GetErrorMessageText(ERROR_FILE_NOT_FOUND, 0x0436), text);
}

struct ReferenceCase {
  const char* label;
  const wchar_t* properties;
  const wchar_t* commandLine;
  const wchar_t* expected;
};
void PrintTo(const ReferenceCase& c, std::ostream* out) { *out << c.label; }

class PropertyReferenceTest : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(PropertyReferenceTest, ReplacesKnownNonEmptyProperties) {
  const ReferenceCase& c = GetParam();
  std::wstring commandLine = c.commandLine;
  CSetupInstallerBase::ResolvePropertyReferences(c.properties, commandLine);
  EXPECT_EQ(commandLine, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PropertyReferenceTest,
    ::testing::Values(
        ReferenceCase{"EveryOccurrence", L"INSTALLDIR=\"C:\\P\"", L"A=[INSTALLDIR] B=[INSTALLDIR]", L"A=C:\\P B=C:\\P"},
        ReferenceCase{"EmptyValueStays", L"INSTALLDIR=\"\"", L"A=[INSTALLDIR]", L"A=[INSTALLDIR]"},
        ReferenceCase{"UnknownNameStays", L"X=\"1\"", L"A=[Y] B=[X]", L"A=[Y] B=1"},
        ReferenceCase{"WholeNameOnly", L"MYDIR=\"bad\" DIR=\"good\"", L"D=[DIR]", L"D=good"},
        ReferenceCase{"ValueWithBracketsNotRescanned", L"A=\"[B]\" B=\"x\"", L"[A]", L"[B]"},
        ReferenceCase{"NoClosingBracket", L"A=\"1\"", L"[A", L"[A"},
        ReferenceCase{"ValueInsideAnotherValueIsNoAssignment", L"A=\"x B=bad\" B=\"good\"", L"[B]", L"good"},
        ReferenceCase{"DoubledQuoteIsOneQuote", L"Q=\"say \"\"hi\"\"\" R=\"1\"", L"[Q]", L"say \"hi\""}),
    [](const ::testing::TestParamInfo<ReferenceCase>& info) { return info.param.label; });

struct RemovalCase {
  const char* label;
  const wchar_t* commandLine;
  const wchar_t* code;
  const wchar_t* properties;
};
void PrintTo(const RemovalCase& c, std::ostream* out) { *out << c.label; }

class RemovalCommandTest : public ::testing::TestWithParam<RemovalCase> {};

TEST_P(RemovalCommandTest, SplitsCodeAndProperties) {
  const RemovalCase& c = GetParam();
  std::wstring code, properties;
  CMSIInstaller::SplitRemovalCommand(c.commandLine, code, properties);
  EXPECT_EQ(code, c.code);
  EXPECT_EQ(properties, c.properties);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemovalCommandTest,
    ::testing::Values(RemovalCase{"CodeAlone", L" {A-B} ", L"{A-B}", L"REMOVE=\"ALL\" "},
                      RemovalCase{"CodeAndProperty", L"{A-B} FOO=1", L"{A-B}", L"REMOVE=\"ALL\" FOO=1"},
                      RemovalCase{"NoCode", L"REMOVE=ALL", L"", L"REMOVE=\"ALL\" "}),
    [](const ::testing::TestParamInfo<RemovalCase>& info) { return info.param.label; });

}  // namespace
}  // namespace enginetest
