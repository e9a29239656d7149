// A bundle's main package may be a 32-bit (x86) or a 64-bit (x64) package,
// and the setup itself a 32-bit or a 64-bit program: Windows Installer keeps
// a 64-bit package's data and Uninstall entry in the 64-bit registry view,
// which a 32-bit setup does not see by default. Either way the second start
// must find the bundle installed (maintenance: a repair is accepted, a new
// installation refused) and the removal must leave nothing behind. The
// shipped 32-bit build runs these too (the win32.* tests).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "SilentBundle.h"
#include "platform/StringUtil.h"
#include "registry/RegistryUtil.h"
#include "support/TestPaths.h"
#include "support/TestedBuild.h"

namespace e2etest {
namespace {

const char kInstallDir[] = "<Property Id=\"INSTALLDIR\" Value=\"C:\\E2E Platform\\Main\\\"/>";
const wchar_t kInstallRoot[] = L"C:\\E2E Platform\\";
const wchar_t kSetupMainCode[] = L"{6B1D0C3A-1F00-4000-8000-00000005E701}";

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

std::vector<std::wstring> ErrorLines(const std::wstring& log) {
  std::vector<std::wstring> errors;
  for (const std::wstring& line : platform::Split(log, L"\n")) {
    if (Contains(line, L"ERROR:")) errors.push_back(line);
  }
  return errors;
}

// The tests' 64-bit main package, as the first product of a bundle.
BundleProduct MainX64() {
  return {
      "<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"Setup Test Main\" "
      "Id=\"{6B1D0C3A-1F04-4000-8000-00000005E7A1}\" MainProduct=\"true\" WixSource=\"true\" Rollback=\"true\" "
      "Location=\"SetupData\\Packages\\SetupMainV1.msi\" UninstallCommand=\"{6B1D0C3A-1F00-4000-8000-00000005E701}\" "
      "RepairCommand=\"REINSTALL=ALL REINSTALLMODE=omus\" SpaceRequired=\"1\"/>",
      kSetupMainCode};
}

struct PlatformCase {
  const char* name;
  BundleProduct (*main)();
  const wchar_t* mainCode;
  const wchar_t* keyFile;  // a file the main package installs, below the installation folder
  // The WiX sources of SilentConfig.xml; empty: the demo's (its UI and features).
  const char* silentWixFiles;
};

class PackagePlatform : public ::testing::TestWithParam<PlatformCase> {
 protected:
  void TearDown() override {
    bundle_.reset();
    testsupport::RemoveFolder(kInstallRoot);
  }
  std::unique_ptr<SilentBundle> bundle_;
};

TEST_P(PackagePlatform, TheSecondStartFindsTheBundleInstalledAndTheRemovalLeavesNothing) {
  const PlatformCase& param = GetParam();
  SilentBundleOptions options;
  options.silentWixFiles = param.silentWixFiles;
  bundle_ = std::make_unique<SilentBundle>(
      L"platform-" + platform::Utf8ToWide(param.name),
      std::vector<BundleProduct>{param.main(), InSequence(SilentBundle::SmallA(), 2)}, kInstallDir, options);
  SilentRun install = bundle_->Run(L"/si");
  ASSERT_TRUE(install.result.started);
  ASSERT_FALSE(install.result.timedOut);
  ASSERT_EQ(install.result.exitCode, 0u) << Utf8(bundle_->SetupLogText());
  EXPECT_FALSE(InstalledProductName(param.mainCode).empty());
  EXPECT_TRUE(FileExists(std::wstring(kInstallRoot) + L"Main\\" + param.keyFile));
  ASSERT_TRUE(ArpEntryExists());

  // Maintenance (1), not a first installation or a minor upgrade: a new
  // installation is refused.
  size_t before = bundle_->SetupLogText().size();
  SilentRun again = bundle_->Run(L"/si");
  std::wstring added = bundle_->SetupLogText().substr(before);
  EXPECT_TRUE(Contains(added, L"The system identified execution type is 1")) << Utf8(added);
  EXPECT_TRUE(Contains(added, L"Installation cannot progress, the setup is aborted.")) << Utf8(added);
  EXPECT_TRUE(ArpEntryExists());

  before = bundle_->SetupLogText().size();
  SilentRun removal = bundle_->Run(L"/sx");
  added = bundle_->SetupLogText().substr(before);
  EXPECT_EQ(removal.result.exitCode, 0u) << Utf8(added);
  EXPECT_TRUE(Contains(added, L"The remove of the setup has been completed successfully!!")) << Utf8(added);
  EXPECT_EQ(ErrorLines(added), std::vector<std::wstring>{});
  EXPECT_TRUE(InstalledProductName(param.mainCode).empty());
  EXPECT_TRUE(InstalledProductName(SilentBundle::kSmallACode).empty());
  EXPECT_FALSE(ArpEntryExists());
  // Nothing of the bundle is left in either registry view.
  platform::UniqueHKey key;
  for (registry::View view : {registry::View::Force32, registry::View::Force64}) {
    EXPECT_NE(registry::OpenKey(
                  std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + SilentBundle::kBundleKey,
                  KEY_READ, view, key),
              ERROR_SUCCESS);
  }
}

INSTANTIATE_TEST_SUITE_P(
    MainPackage, PackagePlatform,
    ::testing::Values(PlatformCase{"X86", &SilentBundle::Studio, SilentBundle::kStudioCode, L"Studio.txt", ""},
                      // The demo's dialogs without its features, which this package lacks.
                      PlatformCase{"X64", &MainX64, kSetupMainCode, L"readme.txt",
                                   "<WixFile Path=\"SetupData\\Wix\\StudioUI.wxs\"/>"}),
    [](const ::testing::TestParamInfo<PlatformCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2etest
