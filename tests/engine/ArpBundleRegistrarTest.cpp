// The executors' registrar on the real Uninstall key: child entries of
// patches under the bundle and their removal with the bundle's entry.

#include <gtest/gtest.h>

#include "config/SetupConfigData.h"
#include "engine/ArpBundleRegistrar.h"
#include "registry/ArpTestSupport.h"

namespace enginetest {
namespace {

TEST(ArpBundleRegistrar, PatchEntriesHangUnderTheBundleAndGoWithIt) {
  CSetupConfigData record;
  const std::wstring bundle = arptest::UniqueName(L"RegistrarBundle");
  const std::wstring patch = arptest::UniqueName(L"RegistrarPatch");
  record.SetBootstrapperRegistry(bundle);
  arptest::ScratchKey bundleKey(arptest::kRoot + bundle, registry::View::Default);
  arptest::ScratchKey patchKey(arptest::kRoot + patch, registry::View::Default);
  ASSERT_TRUE(bundleKey.Write({{L"DisplayName", L"Bundle"},
                               {L"DisplayVersion", L"1.0"},
                               {L"UninstallString", L"\"C:\\Bundle\\Setup\\Setup.exe\" /arp"}}));
  arptest::ScratchKey source(arptest::kRoot + arptest::UniqueName(L"RegistrarSource"), registry::View::Default);
  ASSERT_TRUE(source.Write({{L"DisplayName", L"Main"}, {L"DisplayVersion", L"1.1"}}));
  const std::wstring sourceName = source.Path().substr(arptest::kRoot.size());

  CArpBundleRegistrar registrar(record);
  EXPECT_TRUE(registrar.AddPatchEntry(patch, L"Fix", sourceName));
  auto values = arptest::ReadAllValues(arptest::kRoot + patch, registry::View::Default);
  EXPECT_EQ(values[L"DisplayName"], arptest::Sz(L"Fix"));
  EXPECT_EQ(values[L"ParentKeyName"], arptest::Sz(bundle));
  EXPECT_EQ(values[L"ParentDisplayName"], arptest::Sz(L"Main"));
  // The bundle takes the version of the patched product.
  EXPECT_EQ(arptest::ReadAllValues(arptest::kRoot + bundle, registry::View::Default)[L"DisplayVersion"],
            arptest::Sz(L"1.1"));

  EXPECT_TRUE(registrar.RemoveBundleEntry({patch}));
  EXPECT_FALSE(arptest::KeyExists(arptest::kRoot + patch, registry::View::Default));
  EXPECT_FALSE(arptest::KeyExists(arptest::kRoot + bundle, registry::View::Default));
  // Deleting what is gone already succeeds.
  EXPECT_TRUE(registrar.DeleteBundleEntry());
}

TEST(ArpBundleRegistrar, DeletesTheKeptPackagesKeyUnderTheInstallerKey) {
  CSetupConfigData record;
  const std::wstring path = std::wstring(CArpEntry::kInstallerRoot) + L"TempPackages";
  arptest::ScratchKey kept(path, registry::View::Force64);
  ASSERT_TRUE(kept.Write({{L"Package", L"C:\\Kept\\a.msi"}}));
  CArpBundleRegistrar registrar(record);
  EXPECT_TRUE(registrar.DeleteInstallerKey(L"TempPackages"));
  EXPECT_FALSE(arptest::KeyExists(path, registry::View::Force64));
}

TEST(ArpBundleRegistrar, ReadsTheInstallFolderOfTheBundlesEntry) {
  CSetupConfigData record;
  const std::wstring bundle = arptest::UniqueName(L"RegistrarFolder");
  record.SetBootstrapperRegistry(bundle);
  CArpBundleRegistrar registrar(record);
  // No entry yet: a first installation.
  EXPECT_EQ(registrar.ReadBundleInstallFolder(), L"");

  arptest::ScratchKey bundleKey(arptest::kRoot + bundle, registry::View::Default);
  ASSERT_TRUE(bundleKey.Write({{L"DisplayName", L"Bundle"}}));
  EXPECT_EQ(registrar.ReadBundleInstallFolder(), L"");
  ASSERT_TRUE(bundleKey.Write({{L"INSTALLDIR", L"C:\\Program Files\\Earlier\\"}}));
  EXPECT_EQ(registrar.ReadBundleInstallFolder(), L"C:\\Program Files\\Earlier\\");
}

}  // namespace
}  // namespace enginetest
