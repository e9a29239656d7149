// The bundle's entry next to a main product that Windows Installer really
// installed: a 64-bit package, so its own entry exists in the 64-bit view only,
// seen from the 32-bit view the shipped build uses.

#include <gtest/gtest.h>

#include "ArpTestSupport.h"
#include "platform/SystemPaths.h"
#include "registry/ArpEntry.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"

namespace arptest {
namespace {

using registry::View;

const std::wstring kMainCode = L"{6B1D0C3A-1F00-4000-8000-0000000A4B01}";

DWORD RunMsiexec(const std::wstring& arguments) {
  std::wstring command = testsupport::Quote(platform::SystemFilePath(L"msiexec.exe")) + L" " + arguments;
  testsupport::RunningProcess process = testsupport::StartProcess(command);
  if (!process.IsValid()) return static_cast<DWORD>(-1);
  testsupport::ProcessResult result = process.Wait(120000);
  return result.timedOut ? static_cast<DWORD>(-2) : result.exitCode;
}

class ArpRealPackage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    installResult_ = RunMsiexec(L"/i " + testsupport::Quote(testsupport::PackageFolder() + L"ArpMain.msi") + L" /qn");
  }
  static void TearDownTestSuite() { (void)RunMsiexec(L"/x " + kMainCode + L" /qn"); }

  void SetUp() override {
    ASSERT_EQ(installResult_, 0u);
    ASSERT_TRUE(root32_.Exists());
    settings_.bundleKey = arptest::UniqueName(L"ArpRealBundle");
    settings_.mainProductCode = kMainCode;
    location_.view = View::Force32;
  }

  arptest::Uninstall32Root root32_;
  static DWORD installResult_;
  arptest::BundleSettings settings_;
  CArpEntry::Location location_;
};

DWORD ArpRealPackage::installResult_ = 0;

TEST_F(ArpRealPackage, BundleEntryCopiesTheInstalledProductsValues) {
  ASSERT_TRUE(arptest::KeyExists(kRoot + kMainCode, View::Force64));
  ASSERT_FALSE(arptest::KeyExists(kRoot + kMainCode, View::Force32));
  arptest::ScratchKey bundle(kRoot + settings_.bundleKey, View::Force32);
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);

  EXPECT_EQ(CArpEntry(location_).WriteArpEntry(record), 1);

  auto values = arptest::ReadAllValues(kRoot + settings_.bundleKey, View::Force32);
  EXPECT_EQ(values.size(), 17u);
  EXPECT_EQ(values[L"Publisher"], Sz(L"Arp Test Publisher"));
  EXPECT_EQ(values[L"DisplayVersion"], Sz(L"2.3.4"));
  EXPECT_EQ(values[L"HelpLink"], Sz(L"http://help.example.test/arp"));
  EXPECT_EQ(values[L"HelpTelephone"], Sz(L"+1 555 0100"));
  EXPECT_EQ(values[L"URLInfoAbout"], Sz(L"http://about.example.test/arp"));
  EXPECT_EQ(values[L"URLUpdateInfo"], Sz(L"http://update.example.test/arp"));
  EXPECT_EQ(values[L"Comments"], Sz(L"Main product of the Add/Remove Programs tests"));
  EXPECT_EQ(values[L"Readme"], Sz(L""));  // the package sets no ARPREADME
  EXPECT_EQ(values[L"DisplayName"], Sz(L"Arp Test Suite"));
}

TEST_F(ArpRealPackage, PatchChildEntryNamesTheInstalledProduct) {
  arptest::ScratchKey bundle(kRoot + settings_.bundleKey, View::Force32);
  std::wstring childKey = L"{" + arptest::UniqueName(L"ArpRealPatch") + L"}";
  arptest::ScratchKey child(kRoot + childKey, View::Force32);
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  ASSERT_EQ(CArpEntry(location_).WriteArpEntry(record), 1);
  ASSERT_EQ(CArpEntry(location_).UpdateDisplayVersion(settings_.bundleKey, L"2.0"), 1);

  EXPECT_EQ(CArpEntry(location_).AddChildEntry(record, childKey, L"Arp Hotfix", kMainCode), 1);

  auto values = arptest::ReadAllValues(kRoot + childKey, View::Force32);
  EXPECT_EQ(values[L"ParentDisplayName"], Sz(L"Setup Test Arp Main"));
  EXPECT_EQ(values[L"DisplayVersion"], Sz(L"2.3.4"));
  EXPECT_EQ(CArpEntry(location_).GetDisplayVersion(settings_.bundleKey), L"2.3.4");
  EXPECT_EQ(CArpEntry(location_).DeleteUninstallKey(childKey), 1);
  EXPECT_FALSE(arptest::KeyExists(kRoot + childKey, View::Force32));
}

}  // namespace
}  // namespace arptest
