// Child entries of applied patches, the bundle's version that follows them,
// and deleting entries under the Uninstall and Installer roots.

#include <gtest/gtest.h>

#include <memory>

#include "ArpTestSupport.h"
#include "config/ConfigTestSupport.h"
#include "registry/ArpEntry.h"

namespace arptest {
namespace {

using registry::View;

const std::wstring kInstallerRoot = CArpEntry::kInstallerRoot;

class ArpChildEntry : public arptest::ArpFixture {
 protected:
  void SetUp() override {
    ArpFixture::SetUp();
    childKey_ = L"{" + arptest::UniqueName(L"ArpPatch") + L"}";
    child_ = std::make_unique<arptest::ScratchKey>(kRoot + childKey_, View::Default);
    ASSERT_TRUE(main_->Write({{L"DisplayVersion", L"1.0.0"}, {L"DisplayName", L"Main Product"}}));
    arptest::FillRecord(record_, settings_);
    ASSERT_EQ(CArpEntry().WriteArpEntry(record_), 1);
  }

  std::wstring childKey_;
  CSetupConfigData record_;
  std::unique_ptr<arptest::ScratchKey> child_;
};

TEST_F(ArpChildEntry, WritesEveryChildValueAndTheBundleTakesThePatchedVersion) {
  // The patch raised the main product's version after the bundle was registered.
  ASSERT_TRUE(main_->Write({{L"DisplayVersion", L"1.0.1"}}));

  EXPECT_EQ(CArpEntry().AddChildEntry(record_, childKey_, L"Hotfix 1", settings_.mainProductCode), 1);

  const std::map<std::wstring, StoredValue> expected = {
      {L"DisplayName", Sz(L"Hotfix 1")},
      {L"NoModify", Dword(1)},
      {L"NoRemove", Dword(1)},
      {L"NoRepair", Dword(1)},
      {L"ParentKeyName", Sz(settings_.bundleKey)},
      {L"ParentDisplayName", Sz(L"Main Product")},
      {L"DisplayVersion", Sz(L"1.0.1")},
      {L"DisplayIcon", Sz(L"C:\\ArpTest\\App\\Setup\\SetupData\\Images\\Product.ico")},
      {L"UninstallString", Sz(L"Null")},
  };
  EXPECT_EQ(arptest::ReadAllValues(kRoot + childKey_, View::Default), expected);
  EXPECT_EQ(arptest::ReadAllValues(kRoot + settings_.bundleKey, View::Default)[L"DisplayVersion"], Sz(L"1.0.1"));
  EXPECT_EQ(CArpEntry().GetDisplayVersion(settings_.bundleKey), L"1.0.1");
}

TEST_F(ArpChildEntry, MissingSourceLeavesTheBundleVersionAlone) {
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry().AddChildEntry(record_, childKey_, L"Hotfix 2", L"{NoSuchSource}"), 1);

  auto child = arptest::ReadAllValues(kRoot + childKey_, View::Default);
  EXPECT_EQ(child[L"ParentDisplayName"], Sz(L""));
  EXPECT_EQ(child[L"DisplayVersion"], Sz(L""));
  EXPECT_EQ(arptest::ReadAllValues(kRoot + settings_.bundleKey, View::Default)[L"DisplayVersion"], Sz(L"1.0.0"));
  EXPECT_EQ(log.Count(L"could not be opened; its name and version stay empty"), 1u);
  EXPECT_EQ(log.Count(L"The source has no version; the DisplayVersion of " + settings_.bundleKey + L" is kept"), 1u);
}

TEST_F(ArpChildEntry, EmptyChildKeyNameWritesNothing) {
  auto rootBefore = arptest::ReadAllValues(kRoot.substr(0, kRoot.size() - 1), View::Default);
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry().AddChildEntry(record_, L"", L"Hotfix", settings_.mainProductCode), 0);

  EXPECT_EQ(log.Count(L"no child entry is written"), 1u);
  EXPECT_EQ(arptest::ReadAllValues(kRoot.substr(0, kRoot.size() - 1), View::Default), rootBefore);
}

TEST_F(ArpChildEntry, DeletingTheChildAndTheBundleRemovesBoth) {
  ASSERT_EQ(CArpEntry().AddChildEntry(record_, childKey_, L"Hotfix 3", settings_.mainProductCode), 1);
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry().DeleteUninstallKey(childKey_), 1);
  EXPECT_EQ(CArpEntry().DeleteUninstallKey(settings_.bundleKey), 1);

  EXPECT_FALSE(arptest::KeyExists(kRoot + childKey_, View::Default));
  EXPECT_FALSE(arptest::KeyExists(kRoot + settings_.bundleKey, View::Default));
  EXPECT_TRUE(arptest::KeyExists(kRoot + settings_.mainProductCode, View::Default));
  EXPECT_EQ(log.Count(L"INFORMATION:\tDeleting the registry key with the name " + settings_.bundleKey +
                      L" under the path " + kRoot + L" from HKEY_LOCAL_MACHINE hive."),
            1u);
}

TEST_F(ArpChildEntry, VersionUpdateRefusesAnEmptyVersionAndAMissingEntry) {
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry().UpdateDisplayVersion(settings_.bundleKey, L""), 0);
  EXPECT_EQ(CArpEntry().UpdateDisplayVersion(settings_.bundleKey + L"_missing", L"9.9"), 0);
  EXPECT_EQ(CArpEntry().UpdateDisplayVersion(settings_.bundleKey, L"2.0"), 1);

  EXPECT_EQ(log.Count(L"The version is empty"), 1u);
  EXPECT_EQ(log.Count(L"WARNING:\tNot able to open the key " + kRoot + settings_.bundleKey + L"_missing"), 1u);
  EXPECT_FALSE(arptest::KeyExists(kRoot + settings_.bundleKey + L"_missing", View::Default));
  EXPECT_EQ(CArpEntry().GetDisplayVersion(settings_.bundleKey), L"2.0");
}

TEST(ArpDisplayVersion, ReadsTheOwnViewThenThe64BitViewAndLogsAMissingKey) {
  std::wstring name = L"{" + arptest::UniqueName(L"ArpVersion64") + L"}";
  arptest::Uninstall32Root root32;
  ASSERT_TRUE(root32.Exists());
  arptest::ScratchKey entry(kRoot + name, View::Force64);
  ASSERT_TRUE(entry.Write({{L"DisplayVersion", L"7.1"}}));
  CArpEntry::Location location;
  location.view = View::Force32;
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry(location).GetDisplayVersion(name), L"7.1");
  EXPECT_EQ(CArpEntry(location).GetDisplayVersion(name + L"x"), L"");
  EXPECT_EQ(log.Count(L"INFORMATION:\tUnable to oepn the registry key " + kRoot + name + L"x"), 1u);
}

// --- deletion -------------------------------------------------------------------------

TEST(ArpDelete, EmptyNamesDeleteNothingAndSucceed) {
  modeltest::LogCapture log;
  for (const wchar_t* name : {L"", L" ", L"\\\\"}) {
    EXPECT_EQ(CArpEntry().DeleteUninstallKey(name), 1);
    EXPECT_EQ(CArpEntry().DeleteInstallerKey(name), 1);
  }
  EXPECT_TRUE(arptest::KeyExists(kRoot.substr(0, kRoot.size() - 1), View::Default));
  EXPECT_TRUE(arptest::KeyExists(kInstallerRoot.substr(0, kInstallerRoot.size() - 1), View::Force64));
  EXPECT_EQ(log.Count(L"DEBUG:\t\tThe registry key to be deleted is empty, hence no action is performed! "), 6u);
}

TEST(ArpDelete, AKeyThatIsAlreadyGoneCountsAsDeleted) {
  modeltest::LogCapture log;
  EXPECT_EQ(CArpEntry().DeleteUninstallKey(arptest::UniqueName(L"ArpNeverWritten")), 1);
  EXPECT_EQ(log.Count(L"does not exist; nothing to delete"), 1u);
}

TEST(ArpDelete, InstallerKeyGoesWithItsSubkeysFromThe64BitView) {
  std::wstring name = arptest::UniqueName(L"ArpInstallerData");
  arptest::ScratchKey data(kInstallerRoot + name, View::Force64);
  arptest::ScratchKey nested(kInstallerRoot + name + L"\\Features\\Deep", View::Force64);
  ASSERT_TRUE(data.Write({{L"Value", L"1"}}));
  ASSERT_TRUE(nested.Write({{L"Value", L"2"}}));
  CArpEntry::Location location;
  location.view = View::Force32;  // the Installer root ignores the own view
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry(location).DeleteInstallerKey(name), 1);

  EXPECT_FALSE(arptest::KeyExists(kInstallerRoot + name, View::Force64));
  EXPECT_EQ(log.Count(L"Deleting the registry key with the name " + name + L" under the path " + kInstallerRoot),
            1u);
}

TEST(ArpDelete, UnopenableRootIsAnError) {
  CArpEntry::Location location;
  location.uninstallRoot = L"SOFTWARE\\" + arptest::UniqueName(L"ArpNoUninstallRoot") + L"\\";
  location.installerRoot = L"SOFTWARE\\" + arptest::UniqueName(L"ArpNoInstallerRoot") + L"\\";
  modeltest::LogCapture log;

  EXPECT_EQ(CArpEntry(location).DeleteUninstallKey(L"Bundle"), 0);
  EXPECT_EQ(CArpEntry(location).DeleteInstallerKey(L"Bundle"), 0);

  EXPECT_EQ(log.Count(L"ERROR:\t\tUnable to open the registry key with the name " + location.uninstallRoot + L" "),
            1u);
  EXPECT_EQ(log.Count(L"ERROR:\t\tUnable to open the registry key with the name " + location.installerRoot + L" "),
            1u);
}

}  // namespace
}  // namespace arptest
