// Silent runs of the real Setup.exe on a bundle like the demo: install,
// repeated install, repair, removal, rollback, properties and bad input,
// checked through Windows Installer, the file system, the registry and the log.

#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "SilentBundle.h"
#include "platform/ProcAddress.h"
#include "platform/StringUtil.h"
#include "registry/RegistryUtil.h"
#include "support/TestPaths.h"

namespace e2etest {
namespace {

const wchar_t kSummaryOk[] = L"Setup ended with (0) Errors , (0) Warnings and (0) Informations";
const char kSilentInstallDir[] = "<Property Id=\"INSTALLDIR\" Value=\"C:\\E2E Silent\\Studio\\\"/>";
const wchar_t kSilentInstallDirW[] = L"C:\\E2E Silent\\Studio\\";

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// The digits after the first `label` in the log; empty when it is missing.
std::wstring LoggedNumber(const std::wstring& log, const std::wstring& label) {
  const size_t at = log.find(label);
  if (at == std::wstring::npos) return {};
  size_t end = at + label.size();
  while (end < log.size() && iswdigit(log[end])) ++end;
  return log.substr(at + label.size(), end - at - label.size());
}

// The version the kernel reports to every program, manifest or not.
RTL_OSVERSIONINFOW KernelVersion() {
  RTL_OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
  if (auto get = platform::GetProc<RtlGetVersionFn>(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")) get(&version);
  return version;
}

class SilentRunTest : public ::testing::Test {
 protected:
  void Make(const std::wstring& name, const std::vector<BundleProduct>& products = SilentBundle::DemoProducts(),
            const std::string& properties = kSilentInstallDir, const std::string& extraSections = "") {
    bundle_ = std::make_unique<SilentBundle>(name, products, properties, extraSections);
  }
  void TearDown() override { bundle_.reset(); }

  void InstallOk() {
    SilentRun run = bundle_->Run(L"/si");
    ASSERT_TRUE(run.result.started);
    ASSERT_FALSE(run.result.timedOut);
    ASSERT_EQ(run.result.exitCode, 0u) << bundle_->SetupLogText();
  }

  std::unique_ptr<SilentBundle> bundle_;
};

TEST_F(SilentRunTest, InstallRegistersEveryProductAndTheBundleEntry) {
  Make(L"silent-install");
  SilentRun run = bundle_->Run(L"/si");
  ASSERT_TRUE(run.result.started);
  ASSERT_FALSE(run.result.timedOut);
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(run.messageBoxes.empty());
  EXPECT_TRUE(Contains(log, kSummaryOk)) << log;
  EXPECT_TRUE(Contains(log, L"The setup exit code is 0"));
  // The manifest's supportedOS entries let the program see the Windows it
  // runs on (what the kernel reports, whatever the manifest), not the 6.2 an
  // undeclared program sees on Windows 8.1 and later.
  const RTL_OSVERSIONINFOW real = KernelVersion();
  ASSERT_NE(real.dwMajorVersion, 0u);
  EXPECT_EQ(LoggedNumber(log, L"Major Version  : "), std::to_wstring(real.dwMajorVersion)) << log;
  EXPECT_EQ(LoggedNumber(log, L"Minor Version  : "), std::to_wstring(real.dwMinorVersion)) << log;

  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"Halvorsk Studio 4.2");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"Halvorsk Studio Sample Projects");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"Setup Test SmallA");
  EXPECT_TRUE(FileExists(std::wstring(kSilentInstallDirW) + L"Studio.txt"));
  EXPECT_TRUE(FileExists(std::wstring(kSilentInstallDirW) + L"Samples\\Sample.hproj"));

  std::wstring value;
  ASSERT_TRUE(ReadArpString(L"DisplayVersion", value));
  EXPECT_EQ(value, L"4.2.0");
  ASSERT_TRUE(ReadArpString(L"DisplayName", value));
  EXPECT_FALSE(value.empty());
  ASSERT_TRUE(ReadArpString(L"UninstallString", value));
  EXPECT_EQ(value, L"\"" + std::wstring(kSilentInstallDirW) + L"Setup\\Setup.exe\" /arp");
  ASSERT_TRUE(ReadArpString(L"INSTALLDIR", value));
  EXPECT_EQ(value, kSilentInstallDirW);
  ASSERT_TRUE(ReadArpString(L"BRAND", value));
  EXPECT_EQ(value, L"Professional");
  DWORD number = 0;
  ASSERT_TRUE(ReadArpDword(L"Language", number));
  EXPECT_GT(number, 0u);
  // The demo's files are a few bytes each: less than one KiB in all, shown
  // as one started KiB rather than as nothing installed.
  ASSERT_TRUE(ReadArpDword(L"EstimatedSize", number));
  EXPECT_EQ(number, 1u);
}

TEST_F(SilentRunTest, SecondInstallIsRefusedWithoutTouchingAnything) {
  Make(L"silent-twice");
  InstallOk();
  SilentRun again = bundle_->Run(L"/si");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(again.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"The system configuration and the command line execution option does not match. "
                            L"Installation cannot progress, the setup is aborted."))
      << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"Halvorsk Studio 4.2");
  EXPECT_TRUE(ArpEntryExists());
}

TEST_F(SilentRunTest, RepairRunsTheRepairCommands) {
  Make(L"silent-repair");
  InstallOk();
  const std::wstring studioFile = std::wstring(kSilentInstallDirW) + L"Studio.txt";
  ASSERT_TRUE(::DeleteFileW(studioFile.c_str()));
  SilentRun run = bundle_->Run(L"/sf");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"The repair of the setup has been completed successfully!!")) << log;
  EXPECT_TRUE(FileExists(studioFile));
  EXPECT_TRUE(ArpEntryExists());
}

TEST_F(SilentRunTest, RemovalTakesEveryProductAwayInReverseOrderAndDeletesTheEntry) {
  Make(L"silent-remove");
  InstallOk();
  SilentRun run = bundle_->Run(L"/sx");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"The remove of the setup has been completed successfully!!")) << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"");
  EXPECT_FALSE(ArpEntryExists());
  // The last product goes first.
  const size_t removal = log.rfind(L"Command Line Parameters are : /sx");
  ASSERT_NE(removal, std::wstring::npos);
  const size_t small = log.find(L"Execution of product SmallA is completed", removal);
  const size_t samples = log.find(L"Execution of product Halvorsk Studio Sample Projects is completed", removal);
  const size_t studio = log.find(L"Execution of product Halvorsk Studio 4.2 is completed", removal);
  ASSERT_NE(studio, std::wstring::npos) << log.substr(removal);
  EXPECT_LT(small, samples);
  EXPECT_LT(samples, studio);
}

TEST_F(SilentRunTest, FailingRollbackProductUndoesEarlierProducts) {
  BundleProduct failing{"<Product Sequence=\"3\" Type=\"MSI\" ProductName=\"SmallC\" "
                        "Id=\"{6B1D0C3A-2000-4000-8000-0000000000A3}\" Location=\"SetupData\\Packages\\SmallC.msi\" "
                        "InstallCommand=\"FAIL=&quot;1&quot;\" Rollback=\"true\" "
                        "UninstallCommand=\"{6B1D0C3A-2000-4000-8000-0000000000A3}\"/>",
                        SilentBundle::kSmallCCode};
  Make(L"silent-rollback", {SilentBundle::Studio(), SilentBundle::Samples(), failing});
  SilentRun run = bundle_->Run(L"/si");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, 2u) << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallCCode), L"");
  EXPECT_FALSE(ArpEntryExists());
}

TEST_F(SilentRunTest, CommandLinePropertyWinsOverSilentConfigAndReachesThePackages) {
  Make(L"silent-property");
  SilentRun run = bundle_->Run(L"/si INSTALLDIR=\"C:\\E2E Command\\Studio\"");
  EXPECT_EQ(run.result.exitCode, 0u) << bundle_->SetupLogText();
  EXPECT_TRUE(FileExists(L"C:\\E2E Command\\Studio\\Studio.txt"));
  EXPECT_TRUE(FileExists(L"C:\\E2E Command\\Studio\\Samples\\Sample.hproj"));
}

TEST_F(SilentRunTest, AddOnNamedInSkipAddOnProductsIsLeftOut) {
  Make(L"silent-skipaddon");
  SilentRun run = bundle_->Run(L"/si SKIPADDONPRODUCTS=\"Halvorsk Studio Sample Projects\"");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"The Skipped MSI Non-feature : Halvorsk Studio Sample Projects")) << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"Halvorsk Studio 4.2");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"Setup Test SmallA");
}

TEST_F(SilentRunTest, RunningProcessOfTheProcessCheckStopsTheRunBeforeAnyProduct) {
  // The test program itself is the process that must not run.
  Make(L"silent-process", SilentBundle::DemoProducts(), kSilentInstallDir,
       "<PreCondition><Process List=\"NotRunning.exe;e2e_tests.exe\" Condition=\"NOT Installed\"/></PreCondition>"
       "<PreInstallDialogs><Dialog Sequence=\"1\" Id=\"CheckProcessDlg\" WixPath=\"SetupData\\Wix\\StudioUI.wxs\"/>"
       "</PreInstallDialogs>");
  SilentRun run = bundle_->Run(L"/si");
  const std::wstring log = bundle_->SetupLogText();
  // A stopped run is a failure to whoever deployed it.
  EXPECT_EQ(run.result.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << log;
  EXPECT_TRUE(Contains(log, L"are still running, which may not enable you to proceed with the setup !")) << log;
  EXPECT_TRUE(Contains(log, L"The setup will be aborted now. Close the running processes before you run the setup "
                            L"again!"))
      << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"");
  EXPECT_FALSE(ArpEntryExists());
}

TEST_F(SilentRunTest, HiddenPropertyValueAppearsInNoLog) {
  Make(L"silent-hidden");
  SilentRun run = bundle_->Run(L"/si LICENSEKEY=TopSecret4711");
  EXPECT_EQ(run.result.exitCode, 0u) << bundle_->SetupLogText();
  const std::wstring logs = bundle_->AllLogsText();
  EXPECT_TRUE(Contains(logs, L"LICENSEKEY"));
  const size_t leak = logs.find(L"TopSecret4711");
  EXPECT_EQ(leak, std::wstring::npos) << logs.substr(leak < 300 ? 0 : leak - 300, 400);
}

TEST_F(SilentRunTest, MainPackageWithoutAnInstallFolderStopsBeforeAnyProduct) {
  // Product code of tests/packages/noinstalldir; Id is its package code, unknown to Windows Installer.
  const std::wstring code = L"{6B1D0C3A-1F00-4000-8000-0000000000A5}";
  BundleProduct main{"<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"No Install Dir\" "
                     "Id=\"{6B1D0C3A-1F00-4000-8000-0000000000A5}\" MainProduct=\"true\" WixSource=\"true\" "
                     "Location=\"SetupData\\Packages\\NoInstallDir.msi\" "
                     "UninstallCommand=\"{6B1D0C3A-1F00-4000-8000-0000000000A5}\"/>",
                     code};
  Make(L"silent-noinstalldir", {main, SilentBundle::SmallA()}, "");
  SilentRun run = bundle_->Run(L"/si");
  const std::wstring log = bundle_->SetupLogText();
  // A stopped run is a failure to whoever deployed it.
  EXPECT_EQ(run.result.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << log;
  EXPECT_TRUE(Contains(log, L"Install directory is not configured correctly. Exiting the setup")) << log;
  EXPECT_TRUE(Contains(log, L"Initial condition check has failed. Exiting the setup.")) << log;
  EXPECT_EQ(InstalledProductName(code), L"");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"");
  EXPECT_FALSE(ArpEntryExists());
}

struct UnopenableMainCase {
  const char* name;
  const char* file;  // under SetupData\Packages
  enum { kAbsent, kFolder, kText } kind;
  const wchar_t* reason;
};
void PrintTo(const UnopenableMainCase& c, std::ostream* os) { *os << c.name; }

class UnopenableMainPackage : public SilentRunTest, public ::testing::WithParamInterface<UnopenableMainCase> {};

// The log and the error say that the main package could not be opened, with
// its path and why, and the deployment sees a failure.
TEST_P(UnopenableMainPackage, StopsWithTheReasonAndAFailureCode) {
  const UnopenableMainCase& c = GetParam();
  const std::string location = std::string("SetupData\\Packages\\") + c.file;
  BundleProduct main{"<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"Unopenable\" "
                     "Id=\"{6B1D0C3A-1F00-4000-8000-0000000000C7}\" MainProduct=\"true\" WixSource=\"true\" "
                     "Location=\"" + location + "\" UninstallCommand=\"{6B1D0C3A-1F00-4000-8000-0000000000C7}\"/>",
                     L""};
  Make(L"silent-unopenable-" + platform::Utf8ToWide(c.name), {main, SilentBundle::SmallA()}, "");
  const std::wstring path = bundle_->Bundle().Folder() + platform::Utf8ToWide(location);
  if (c.kind == UnopenableMainCase::kFolder) {
    ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
  }
  if (c.kind == UnopenableMainCase::kText) {
    ASSERT_TRUE(testsupport::WriteFileBytes(path, "not a database\r\n"));
  }
  SilentRun run = bundle_->Run(L"/si");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << log;
  EXPECT_TRUE(Contains(log, L"ERROR:\t\tThe main package could not be opened: " + path)) << log;
  EXPECT_TRUE(Contains(log, c.reason)) << log;
  EXPECT_FALSE(Contains(log, L"not supported by this processor type")) << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"");
  EXPECT_FALSE(ArpEntryExists());
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnopenableMainPackage,
    ::testing::Values(
        UnopenableMainCase{"Missing", "Missing.msi", UnopenableMainCase::kAbsent, L"It does not exist or cannot be reached."},
        UnopenableMainCase{"AFolder", "Folder.msi", UnopenableMainCase::kFolder, L"It is a folder, not a package file."},
        UnopenableMainCase{"NotAPackage", "Text.msi", UnopenableMainCase::kText,
                           L"It is not a Windows Installer package that can be read"}),
    [](const ::testing::TestParamInfo<UnopenableMainCase>& info) { return std::string(info.param.name); });

// The bundle key names another product's entry: the setup stops before any
// product and leaves that entry exactly as it was.
TEST_F(SilentRunTest, ABundleKeyNamingAnotherProductsEntryStopsBeforeAnyProduct) {
  const std::wstring foreign = L"E2EOtherVendorApp";
  // The fixture clears its bundle key when it is made: the foreign entry comes after.
  bundle_ = std::make_unique<SilentBundle>(L"silent-foreign-key", SilentBundle::DemoProducts(), kSilentInstallDir,
                                           SilentBundleOptions{"", "", foreign, ""});
  const std::wstring path = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + foreign;
  (void)registry::DeleteKeyTree(path, registry::View::Default);
  {
    platform::UniqueHKey key;
    ASSERT_EQ(registry::CreateKey(path, KEY_SET_VALUE, registry::View::Default, key), ERROR_SUCCESS);
    for (const auto& [name, value] : {std::pair<const wchar_t*, const wchar_t*>{L"DisplayName", L"Other Vendor App"},
                                      {L"UninstallString", L"\"C:\\Other\\uninstall.exe\""}}) {
      ASSERT_EQ(::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t))),
                ERROR_SUCCESS);
    }
  }
  SilentRun run = bundle_->Run(L"/si");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << log;
  EXPECT_TRUE(Contains(log, L"BootstrapperRegistry \"E2EOtherVendorApp\" in SetupConfig.xml names the Add/Remove "
                            L"Programs entry of another product"))
      << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"");
  platform::UniqueHKey key;
  ASSERT_EQ(registry::OpenKey(path, KEY_READ, registry::View::Default, key), ERROR_SUCCESS);
  std::wstring name;
  std::wstring uninstall;
  EXPECT_TRUE(registry::ReadStringValue(key.Get(), L"DisplayName", name));
  EXPECT_TRUE(registry::ReadStringValue(key.Get(), L"UninstallString", uninstall));
  EXPECT_EQ(name, L"Other Vendor App");
  EXPECT_EQ(uninstall, L"\"C:\\Other\\uninstall.exe\"");
  key.Reset();
  (void)registry::DeleteKeyTree(path, registry::View::Default);
}

TEST_F(SilentRunTest, MissingPackageFailsWithoutLeavingARegistration) {
  BundleProduct missing{"<Product Sequence=\"3\" Type=\"MSI\" ProductName=\"Missing\" "
                        "Id=\"{6B1D0C3A-2000-4000-8000-0000000000A2}\" Location=\"SetupData\\Packages\\Missing.msi\" "
                        "UninstallCommand=\"{6B1D0C3A-2000-4000-8000-0000000000A2}\"/>",
                        L""};
  Make(L"silent-missing", {SilentBundle::Studio(), SilentBundle::Samples(), missing});
  SilentRun run = bundle_->Run(L"/si");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_NE(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"Setup installation failed. Some of the configured product has failed while installation!!"))
      << log;
  EXPECT_FALSE(Contains(log, kSummaryOk));
}

TEST_F(SilentRunTest, RemovalOfABundleThatIsNotInstalledIsRefused) {
  Make(L"silent-notinstalled");
  SilentRun run = bundle_->Run(L"/sx");
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"The product may not have been installed.Remove cannot progress, the setup is aborted."))
      << log;
  EXPECT_FALSE(ArpEntryExists());
}

}  // namespace
}  // namespace e2etest
