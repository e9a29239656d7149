// Writing the bundle's Add/Remove Programs entry into the real registry of the
// test prefix: every value with its name and type, the copy from the main
// product's entry (also from the 64-bit view only), and the refusals.

#include <gtest/gtest.h>

#include <memory>

#include "ArpTestSupport.h"
#include "config/ConfigTestSupport.h"
#include "config/ProductCode.h"
#include "platform/StringUtil.h"
#include "registry/ArpEntry.h"
#include "registry/FolderSize.h"
#include "support/TestPaths.h"

namespace arptest {
namespace {

using registry::View;

class ArpEntryWrite : public arptest::ArpFixture {
 protected:
  // The main product's values, without a readme.
  bool WriteMainProduct(View view) {
    main_ = std::make_unique<arptest::ScratchKey>(MainPath(), view);
    return main_->Write({{L"HelpLink", L"http://help"},
                         {L"HelpTelephone", L"555-0100"},
                         {L"Publisher", L"Main Publisher"},
                         {L"URLInfoAbout", L"http://about"},
                         {L"DisplayVersion", L"4.5.6"},
                         {L"Comments", L"Main comments"},
                         {L"URLUpdateInfo", L"http://update"},
                         {L"DisplayName", L"Main Product"}});
  }

  std::map<std::wstring, StoredValue> BundleValues() const {
    return arptest::ReadAllValues(BundlePath(), View::Default);
  }
};

TEST_F(ArpEntryWrite, WritesEveryValueWithItsNameAndType) {
  std::wstring folder = testsupport::MakeScratchFolder(L"ArpWriteInstall");
  ASSERT_TRUE(::CreateDirectoryW((folder + L"Data").c_str(), nullptr));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"Data\\one.bin", std::string(3000, 'x')));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"Data\\two.bin", std::string(7000, 'y')));
  settings_.installedLocation = folder;
  ASSERT_TRUE(WriteMainProduct(View::Default));
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);

  modeltest::LogCapture log;
  EXPECT_EQ(CArpEntry().WriteArpEntry(record), 1);

  const std::map<std::wstring, StoredValue> expected = {
      {L"BRAND", Sz(L"Contoso")},
      {L"Comments", Sz(L"Main comments")},
      {L"DisplayIcon", Sz(folder + L"Setup\\SetupData\\Images\\Product.ico")},
      {L"DisplayName", Sz(L"Arp Test Suite")},
      {L"DisplayVersion", Sz(L"4.5.6")},
      {L"EstimatedSize", Dword(10)},  // 10000 bytes, rounded up to whole KiB
      {L"ExePathValue", Sz(L"D:\\Media\\")},
      {L"HelpLink", Sz(L"http://help")},
      {L"HelpTelephone", Sz(L"555-0100")},
      {L"INSTALLDIR", Sz(folder)},
      {L"InstallLocation", Sz(folder + L"Data")},
      {L"Language", Dword(1031)},
      {L"Publisher", Sz(L"Main Publisher")},
      {L"Readme", Sz(L"")},  // the main product has none: written empty
      {L"UninstallString", Sz(L"\"" + folder + L"Setup\\Setup.exe\" /arp")},
      {L"URLInfoAbout", Sz(L"http://about")},
      {L"URLUpdateInfo", Sz(L"http://update")},
  };
  EXPECT_EQ(BundleValues(), expected);
  EXPECT_EQ(log.Count(L"Add/Remove Programs entry " + settings_.bundleKey + L" is written"), 1u);
  testsupport::RemoveFolder(folder);
}

TEST_F(ArpEntryWrite, FindsAMainProductRegisteredInThe64BitViewOnly) {
  // The shipped 32-bit build looks in the 32-bit view first; a 64-bit package
  // registers only in the 64-bit view.
  arptest::Uninstall32Root root32;
  ASSERT_TRUE(root32.Exists());
  ASSERT_TRUE(WriteMainProduct(View::Force64));
  ASSERT_FALSE(arptest::KeyExists(kRoot + settings_.mainProductCode, View::Force32));
  CArpEntry::Location location;
  location.view = View::Force32;
  arptest::ScratchKey bundle32(kRoot + settings_.bundleKey, View::Force32);
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);

  EXPECT_EQ(CArpEntry(location).WriteArpEntry(record), 1);

  auto values = arptest::ReadAllValues(kRoot + settings_.bundleKey, View::Force32);
  EXPECT_EQ(values[L"Publisher"], Sz(L"Main Publisher"));
  EXPECT_EQ(values[L"DisplayVersion"], Sz(L"4.5.6"));
  EXPECT_EQ(values[L"URLUpdateInfo"], Sz(L"http://update"));
  // The bundle's own entry goes to the build's own view.
  EXPECT_FALSE(arptest::KeyExists(kRoot + settings_.bundleKey, View::Force64));
}

TEST_F(ArpEntryWrite, RewritingReplacesTheValuesOfTheSameEntry) {
  ASSERT_TRUE(WriteMainProduct(View::Default));
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  ASSERT_EQ(CArpEntry().WriteArpEntry(record), 1);
  record.SetBrand(L"Fabrikam");
  record.SetLanguageId(1036);

  EXPECT_EQ(CArpEntry().WriteArpEntry(record), 1);

  auto values = BundleValues();
  EXPECT_EQ(values.size(), 17u);
  EXPECT_EQ(values[L"BRAND"], Sz(L"Fabrikam"));
  EXPECT_EQ(values[L"Language"], Dword(1036));
}

TEST_F(ArpEntryWrite, DisplayIconFollowsTheImagePath) {
  struct Case {
    std::wstring icon;
    std::wstring maintenance;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"Images\\p.ico", L"Setup\\Setup.exe", L"C:\\ArpTest\\App\\Setup\\Images\\p.ico"},
      {L"Images\\p.ico", L"Setup.exe", L"C:\\ArpTest\\App\\Images\\p.ico"},
      {L"E:\\Icons\\p.ico", L"Setup\\Setup.exe", L"E:\\Icons\\p.ico"},
      {L"", L"Setup\\Setup.exe", L""},
  };
  ASSERT_TRUE(WriteMainProduct(View::Default));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.icon + L" / " + c.maintenance);
    settings_.productIcon = c.icon;
    settings_.maintenanceExePath = c.maintenance;
    CSetupConfigData record;
    arptest::FillRecord(record, settings_);
    ASSERT_EQ(CArpEntry().WriteArpEntry(record), 1);
    EXPECT_EQ(BundleValues()[L"DisplayIcon"], Sz(c.expected));
  }
}

struct UninstallCase {
  const char* label;
  const wchar_t* folder;
  const wchar_t* maintenance;
  const wchar_t* expected;
};

class ArpUninstallString : public ::testing::TestWithParam<UninstallCase> {};

TEST_P(ArpUninstallString, QuotesTheMaintenanceCopyAndAddsArp) {
  EXPECT_EQ(CArpEntry::BuildUninstallString(GetParam().folder, GetParam().maintenance), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ArpUninstallString,
    ::testing::Values(
        UninstallCase{"FolderWithBackslash", L"C:\\App\\", L"Setup\\Setup.exe", L"\"C:\\App\\Setup\\Setup.exe\" /arp"},
        UninstallCase{"FolderWithoutBackslash", L"C:\\App", L"Setup\\Setup.exe", L"\"C:\\App\\Setup\\Setup.exe\" /arp"},
        UninstallCase{"BothWithBackslash", L"C:\\App\\", L"\\Setup\\Setup.exe", L"\"C:\\App\\Setup\\Setup.exe\" /arp"},
        UninstallCase{"NoMaintenancePath", L"C:\\App\\", L"", L"\"C:\\App\\\" /arp"}),
    [](const ::testing::TestParamInfo<UninstallCase>& info) { return std::string(info.param.label); });

struct CodeCase {
  const char* label;
  const wchar_t* command;
  const wchar_t* code;
};

class ArpProductCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ArpProductCode, IsThePartInBraces) {
  EXPECT_EQ(ExtractProductCode(GetParam().command), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ArpProductCode,
    ::testing::Values(CodeCase{"CodeWithProperty", L"{5EC0A002-0000-4000-8000-0000000000A2} FOO=1",
                               L"{5EC0A002-0000-4000-8000-0000000000A2}"},
                      CodeCase{"FirstOfTwo", L"msiexec /x {A} {B}", L"{A}"},
                      CodeCase{"ClosingBraceFirst", L"} before {X}", L"{X}"},
                      CodeCase{"NoBraces", L"no braces", L""}, CodeCase{"Unterminated", L"{unterminated", L""},
                      CodeCase{"Empty", L"", L""}),
    [](const ::testing::TestParamInfo<CodeCase>& info) { return std::string(info.param.label); });

// --- refusals: nothing is written and the reason is logged -----------------------

TEST_F(ArpEntryWrite, MissingMainProductEntryWritesNothing) {
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry().WriteArpEntry(record), 0);

  EXPECT_EQ(log.Count(L"ERROR:\t\tUnable to get the product code under uninstall node"), 1u);
  EXPECT_FALSE(arptest::KeyExists(kRoot + settings_.bundleKey, View::Default));
}

TEST_F(ArpEntryWrite, UninstallCommandWithoutProductCodeWritesNothing) {
  ASSERT_TRUE(WriteMainProduct(View::Default));
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  record.SetMainProductUninstallCommand(L"msiexec /x");
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry().WriteArpEntry(record), 0);

  EXPECT_EQ(log.Count(L"holds no product code in braces"), 1u);
  EXPECT_EQ(log.Count(L"Unable to get the product code under uninstall node"), 1u);
  EXPECT_FALSE(arptest::KeyExists(kRoot + settings_.bundleKey, View::Default));
}

TEST_F(ArpEntryWrite, EmptyBundleKeyNameWritesNothingIntoTheRoot) {
  ASSERT_TRUE(WriteMainProduct(View::Default));
  auto rootBefore = arptest::ReadAllValues(kRoot.substr(0, kRoot.size() - 1), View::Default);
  for (const wchar_t* name : {L"", L"  ", L"\\"}) {
    CSetupConfigData record;
    arptest::FillRecord(record, settings_);
    record.SetBootstrapperRegistry(name);
    modeltest::LogCapture log;
    EXPECT_EQ(CArpEntry().WriteArpEntry(record), 0);
    EXPECT_EQ(log.Count(L"The bundle key name (BootstrapperRegistry) is empty"), 1u);
  }
  EXPECT_EQ(arptest::ReadAllValues(kRoot.substr(0, kRoot.size() - 1), View::Default), rootBefore);
}

// A name with a backslash would reach into a key below the Uninstall root
// (here one Windows cannot hold a lasting key under): it is refused by name.
TEST_F(ArpEntryWrite, ABundleKeyWithABackslashIsRefusedAndTheMainEntryIsKept) {
  ASSERT_TRUE(WriteMainProduct(View::Default));
  std::wstring parentName = arptest::UniqueName(L"ArpVolatile");
  arptest::ScratchKey parent(kRoot + parentName, View::Default);
  platform::UniqueHKey volatileKey;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kRoot + parentName).c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_WRITE, nullptr, volatileKey.Put(), nullptr),
            ERROR_SUCCESS);
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  record.SetBootstrapperRegistry(parentName + L"\\Bundle");
  auto mainBefore = arptest::ReadAllValues(main_->Path(), View::Default);
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry().WriteArpEntry(record), 0);

  EXPECT_EQ(log.Count(L"ERROR:\t\tCArpEntry::WriteArpEntry() - The bundle key name (BootstrapperRegistry) \"" +
                      parentName + L"\\Bundle\" is not a usable entry name"),
            1u);
  EXPECT_FALSE(arptest::KeyExists(kRoot + parentName + L"\\Bundle", View::Default));
  EXPECT_EQ(arptest::ReadAllValues(main_->Path(), View::Default), mainBefore);
}

// Another product's entry under the bundle's key name is neither written
// into nor deleted; the bundle's own entry is recognised by its /arp command.
TEST_F(ArpEntryWrite, AnotherProductsEntryIsNeitherOverwrittenNorDeleted) {
  ASSERT_TRUE(WriteMainProduct(View::Default));
  arptest::ScratchKey foreign(BundlePath(), View::Default);
  ASSERT_TRUE(foreign.Write({{L"DisplayName", L"Other Vendor App"},
                             {L"UninstallString", L"\"C:\\Other\\uninstall.exe\""}}));
  const auto before = BundleValues();
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry().WriteArpEntry(record), 0);
  EXPECT_EQ(CArpEntry().DeleteUninstallKey(settings_.bundleKey), 0);

  EXPECT_EQ(BundleValues(), before);
  EXPECT_EQ(log.Count(L"belongs to another product; the setup does not write into it."), 1u);
  EXPECT_EQ(log.Count(L"belongs to another product; the setup does not delete it."), 1u);
}

TEST_F(ArpEntryWrite, ItsOwnEntryIsRewrittenAndDeleted) {
  ASSERT_TRUE(WriteMainProduct(View::Default));
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  ASSERT_EQ(CArpEntry().WriteArpEntry(record), 1);
  record.SetProductName(L"Renamed Suite");
  EXPECT_EQ(CArpEntry().WriteArpEntry(record), 1);
  EXPECT_EQ(BundleValues()[L"DisplayName"], Sz(L"Renamed Suite"));
  EXPECT_EQ(CArpEntry().DeleteUninstallKey(settings_.bundleKey), 1);
  EXPECT_FALSE(arptest::KeyExists(BundlePath(), View::Default));
}

struct KeyNameCase {
  const char* name;
  std::wstring key;
  bool usable;
};
void PrintTo(const KeyNameCase& c, std::ostream* os) { *os << c.name; }
class BundleKeyName : public ::testing::TestWithParam<KeyNameCase> {};

TEST_P(BundleKeyName, IsUsableOnlyAsAPlainNameOfSaneLength) {
  EXPECT_EQ(CArpEntry::IsUsableBundleKeyName(GetParam().key), GetParam().usable);
}

INSTANTIATE_TEST_SUITE_P(
    Names, BundleKeyName,
    ::testing::Values(KeyNameCase{"Plain", L"HalvorskStudio", true}, KeyNameCase{"WithBlanks", L"Halvorsk Studio 4", true},
                      KeyNameCase{"Empty", L"", false}, KeyNameCase{"Blank", L"   ", false},
                      KeyNameCase{"Backslash", L"Other\\Bundle", false}, KeyNameCase{"Slash", L"Vendor/Suite", true},
                      KeyNameCase{"ControlCharacter", L"Other\nBundle", false},
                      KeyNameCase{"ProductCode", L"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}", false},
                      KeyNameCase{"LongestAllowed", std::wstring(CArpEntry::kMaxBundleKeyLength, L'a'), true},
                      KeyNameCase{"TooLong", std::wstring(CArpEntry::kMaxBundleKeyLength + 1, L'a'), false}),
    [](const ::testing::TestParamInfo<KeyNameCase>& info) { return std::string(info.param.name); });

TEST_F(ArpEntryWrite, UnopenableRootIsReported) {
  ASSERT_TRUE(WriteMainProduct(View::Default));
  CArpEntry::Location location;
  location.uninstallRoot = L"SOFTWARE\\" + arptest::UniqueName(L"ArpNoSuchRoot") + L"\\";
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry(location).WriteArpEntry(record), 0);

  EXPECT_EQ(log.Count(L"ERROR:\t\tNot able to open the key " + location.uninstallRoot), 1u);
  EXPECT_FALSE(arptest::KeyExists(location.uninstallRoot, View::Default));
}

TEST_F(ArpEntryWrite, EstimatedSizeCountsAStartedKibibyteAsWhole) {
  std::wstring folder = testsupport::MakeScratchFolder(L"ArpWriteSmall");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"readme.txt", std::string(30, 'x')));
  settings_.installedLocation = folder;
  settings_.installLocation = L"[InstallDir]";
  ASSERT_TRUE(WriteMainProduct(View::Default));
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  ASSERT_EQ(CArpEntry().WriteArpEntry(record), 1);
  EXPECT_EQ(BundleValues()[L"EstimatedSize"], Dword(1));
  testsupport::RemoveFolder(folder);
}

// --- the size rewrite of a modify run ------------------------------------------------

TEST_F(ArpEntryWrite, SizeRewriteFollowsTheFolderAndNeverCreatesTheEntry) {
  std::wstring folder = testsupport::MakeScratchFolder(L"ArpSizeRewrite");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"a.bin", std::string(4096, 'a')));
  settings_.installedLocation = folder;
  settings_.installLocation = L"[InstallDir]";
  ASSERT_TRUE(WriteMainProduct(View::Default));
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  ASSERT_EQ(CArpEntry().WriteArpEntry(record), 1);
  ASSERT_EQ(BundleValues()[L"EstimatedSize"], Dword(4));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"b.bin", std::string(6144, 'b')));

  EXPECT_EQ(CArpEntry().UpdateRegistryOnMinorUpgrade(record), 1);
  EXPECT_EQ(BundleValues()[L"EstimatedSize"], Dword(10));

  // Without the bundle's entry the rewrite fails and creates nothing.
  ASSERT_EQ(CArpEntry().DeleteUninstallKey(settings_.bundleKey), 1);
  modeltest::LogCapture log;
  EXPECT_EQ(CArpEntry().UpdateRegistryOnMinorUpgrade(record), 0);
  EXPECT_EQ(log.Count(L"WARNING:\tNot able to open the key " + kRoot + settings_.bundleKey), 1u);
  EXPECT_FALSE(arptest::KeyExists(kRoot + settings_.bundleKey, View::Default));
  testsupport::RemoveFolder(folder);
}

}  // namespace
}  // namespace arptest
