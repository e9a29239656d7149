// Runs that an earlier run left half done, made directly on the machine: a
// silent installation through the real Setup.exe and Windows Installer, then
// the bundle's entry deleted or products removed, as a run killed at that
// point would have left them. Running the same command again completes the
// run; a repair never reports success with a product missing; and the exit
// codes a deployment tool reads.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SilentBundle.h"
#include "msi/MsiEntryPoints.h"
#include "registry/RegistryUtil.h"
#include "support/TestPaths.h"

namespace e2etest {
namespace {

const char kInstallDir[] = "<Property Id=\"INSTALLDIR\" Value=\"C:\\E2E Interrupted\\Studio\\\"/>";
const wchar_t kInstallDirW[] = L"C:\\E2E Interrupted\\Studio\\";
const wchar_t kSummaryOk[] = L"Setup ended with (0) Errors , (0) Warnings and (0) Informations";
const wchar_t kInstallationRefused[] =
    L"The system configuration and the command line execution option does not match. Installation cannot progress, "
    L"the setup is aborted.";

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

size_t Count(const std::wstring& text, const std::wstring& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

// The log of the last run only: every run appends to the same file.
std::wstring LastRun(const std::wstring& log) {
  const size_t start = log.rfind(L"===== logging started: ");
  return start == std::wstring::npos ? log : log.substr(start);
}

void RemoveProduct(const std::wstring& productCode) {
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  ASSERT_EQ(MsiConfigureProductExStub(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L""), 0u);
  ASSERT_EQ(InstalledProductName(productCode), L"");
}

void DeleteBundleEntry() {
  ASSERT_TRUE(ArpEntryExists());
  (void)registry::DeleteKeyTree(std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
                                    SilentBundle::kBundleKey,
                                registry::View::Default);
  ASSERT_FALSE(ArpEntryExists());
}

// A bundle like an administrator's: a prerequisite, the main product second,
// an add-on, and an EXE product that notes every run.
class InterruptedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    marker_ = testsupport::BinFolder() + L"interrupted-marker.txt";
    ::DeleteFileW(marker_.c_str());
    bundle_ = std::make_unique<SilentBundle>(
        L"interrupted",
        std::vector<BundleProduct>{InSequence(SilentBundle::SmallA(), 1), InSequence(SilentBundle::Studio(), 2),
                                   InSequence(SilentBundle::Samples(), 3), ExeProduct(4, "Tool", marker_, 0, "")},
        kInstallDir);
  }
  void TearDown() override {
    bundle_.reset();
    ::DeleteFileW(marker_.c_str());
  }

  // The whole bundle installed by a silent run; the marker starts empty again.
  void InstallEverything() {
    SilentRun run = bundle_->Run(L"/si");
    ASSERT_EQ(run.result.exitCode, 0u) << bundle_->SetupLogText();
    ASSERT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"Setup Test SmallA");
    ASSERT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"Halvorsk Studio 4.2");
    ASSERT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"Halvorsk Studio Sample Projects");
    ASSERT_TRUE(ArpEntryExists());
    ::DeleteFileW(marker_.c_str());
  }

  std::wstring marker_;
  std::unique_ptr<SilentBundle> bundle_;
};

// Stopped after the main product, before the bundle was registered: /si
// completes the installation, and only then is the bundle installed.
TEST_F(InterruptedRunTest, AnUnfinishedInstallationIsCompletedBySi) {
  InstallEverything();
  RemoveProduct(SilentBundle::kSamplesCode);
  DeleteBundleEntry();

  SilentRun run = bundle_->Run(L"/si");
  const std::wstring log = LastRun(bundle_->SetupLogText());
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"INFORMATION:\tThe earlier installation of the bundle was not completed")) << log;
  EXPECT_TRUE(Contains(log, L"Based on system configuration the execution type set is: SETUPEXECTYPE_INSTALLATION"))
      << log;
  EXPECT_TRUE(Contains(log, L"The product Halvorsk Studio 4.2 ({3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}) is already "
                            L"installed by the earlier, unfinished installation; it is not installed again."))
      << log;
  EXPECT_TRUE(Contains(log, L"The product SmallA ({6B1D0C3A-2000-4000-8000-0000000000A1}) is already installed"))
      << log;
  EXPECT_EQ(Count(log, L"Execution of product Halvorsk Studio 4.2 is completed"), 0u) << log;
  EXPECT_EQ(Count(log, L"Execution of product Halvorsk Studio Sample Projects is completed"), 1u) << log;
  EXPECT_TRUE(Contains(log, kSummaryOk)) << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"Halvorsk Studio Sample Projects");
  EXPECT_TRUE(FileExists(std::wstring(kInstallDirW) + L"Samples\\Sample.hproj"));
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"Halvorsk Studio 4.2");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"Setup Test SmallA");
  EXPECT_EQ(RunNames(marker_), std::vector<std::wstring>{L"Tool"}) << "the EXE product runs once";
  ASSERT_TRUE(ArpEntryExists());
  std::wstring uninstall;
  ASSERT_TRUE(ReadArpString(L"UninstallString", uninstall));
  EXPECT_EQ(uninstall, L"\"" + std::wstring(kInstallDirW) + L"Setup\\Setup.exe\" /arp");

  // Now the bundle is installed: the same command is the refused maintenance run.
  SilentRun again = bundle_->Run(L"/si");
  const std::wstring second = LastRun(bundle_->SetupLogText());
  EXPECT_EQ(again.result.exitCode, 0u) << second;
  EXPECT_TRUE(Contains(second, kInstallationRefused)) << second;
  EXPECT_FALSE(Contains(second, L"was not completed")) << second;
  EXPECT_EQ(RunNames(marker_), std::vector<std::wstring>{L"Tool"});
}

// Stopped during a removal after the main product was removed: /sx removes
// what is left, in the removal order, and then the bundle's entry.
TEST_F(InterruptedRunTest, AnUnfinishedRemovalIsCompletedBySx) {
  InstallEverything();
  RemoveProduct(SilentBundle::kSamplesCode);
  RemoveProduct(SilentBundle::kStudioCode);

  SilentRun run = bundle_->Run(L"/sx");
  const std::wstring log = LastRun(bundle_->SetupLogText());
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"INFORMATION:\tThe earlier removal of the bundle was not completed")) << log;
  EXPECT_TRUE(Contains(log, L"Based on system configuration the execution type set is: SETUPEXECTYPE_REMOVE")) << log;
  EXPECT_TRUE(Contains(log, L"The product Halvorsk Studio 4.2 ({3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}) is not "
                            L"installed; there is nothing to remove."))
      << log;
  EXPECT_TRUE(Contains(log, L"The product Halvorsk Studio Sample Projects ({3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A11}) "
                            L"is not installed"))
      << log;
  EXPECT_TRUE(Contains(log, L"The remove of the setup has been completed successfully!!")) << log;
  EXPECT_TRUE(Contains(log, kSummaryOk)) << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"");
  EXPECT_FALSE(ArpEntryExists());
  // The EXE product without an uninstall command is still walked, after the
  // add-on and before the prerequisite: the removal order is kept.
  const size_t tool = log.find(L"Execution of product Tool (");
  const size_t small = log.find(L"Execution of product SmallA is completed");
  ASSERT_NE(small, std::wstring::npos) << log;
  EXPECT_LT(tool, small);

  // Nothing is left: the same command finds nothing to do.
  SilentRun again = bundle_->Run(L"/sx");
  EXPECT_EQ(again.result.exitCode, 0u) << LastRun(bundle_->SetupLogText());
}

// A repair that finds the add-on missing installs it instead of reporting a
// repaired bundle without it.
TEST_F(InterruptedRunTest, ARepairInstallsAMissingProduct) {
  InstallEverything();
  RemoveProduct(SilentBundle::kSamplesCode);

  SilentRun run = bundle_->Run(L"/sf");
  const std::wstring log = LastRun(bundle_->SetupLogText());
  EXPECT_TRUE(Contains(log, L"WARNING:\tThe product Halvorsk Studio Sample Projects "
                            L"({3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A11}) of the bundle is not installed; the repair "
                            L"installs it."))
      << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"Halvorsk Studio Sample Projects") << log;
  EXPECT_TRUE(FileExists(std::wstring(kInstallDirW) + L"Samples\\Sample.hproj"));
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"The repair of the setup has been completed successfully!!")) << log;
  EXPECT_TRUE(ArpEntryExists());
}

// The same unfinished installation met by a repair: the missing add-on is
// installed and the bundle registered, never "repaired" without it.
TEST_F(InterruptedRunTest, ARepairOfAnUnfinishedInstallationInstallsWhatIsMissingAndRegisters) {
  InstallEverything();
  RemoveProduct(SilentBundle::kSamplesCode);
  DeleteBundleEntry();

  SilentRun run = bundle_->Run(L"/sf");
  const std::wstring log = LastRun(bundle_->SetupLogText());
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"Based on system configuration the execution type set is: SETUPEXECTYPE_REPAIR")) << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"Halvorsk Studio Sample Projects") << log;
  EXPECT_TRUE(ArpEntryExists());
}

// The add-on cannot be installed (its package is gone from the medium): the
// repair fails, says which product is missing, and never ends with 0.
TEST_F(InterruptedRunTest, ARepairThatCannotInstallAMissingProductFailsNamingIt) {
  InstallEverything();
  RemoveProduct(SilentBundle::kSamplesCode);
  const std::wstring package = bundle_->Bundle().Folder() + L"SetupData\\Packages\\Samples\\HalvorskSamples.msi";
  const std::wstring aside = package + L".aside";
  ASSERT_TRUE(::MoveFileW(package.c_str(), aside.c_str()));
  // The source-file check of a repair would refuse the whole run before any
  // product; an empty file passes it and cannot be installed.
  ASSERT_TRUE(testsupport::WriteFileBytes(package, ""));

  SilentRun run = bundle_->Run(L"/sf");
  const std::wstring log = LastRun(bundle_->SetupLogText());
  EXPECT_NE(run.result.exitCode, 0u) << log;
  EXPECT_TRUE(Contains(log, L"ERROR:\t\tThe product Halvorsk Studio Sample Projects "
                            L"({3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A11}) of the bundle is missing and could not be "
                            L"installed"))
      << log;
  EXPECT_FALSE(Contains(log, L"The repair of the setup has been completed successfully!!")) << log;
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"");
  ::DeleteFileW(package.c_str());
  ::MoveFileW(aside.c_str(), package.c_str());
}

struct ExitCodeCase {
  const char* name;
  bool installFirst;
  const wchar_t* arguments;
  DWORD exitCode;
  const wchar_t* logged;
};
void PrintTo(const ExitCodeCase& c, std::ostream* os) { *os << c.name; }

class SilentExitCode : public InterruptedRunTest, public ::testing::WithParamInterface<ExitCodeCase> {};

// Nothing to do is a success; a silent run refused for anything else is not.
TEST_P(SilentExitCode, TellsTheDeploymentToolWhatHappened) {
  const ExitCodeCase& c = GetParam();
  if (c.installFirst) InstallEverything();
  SilentRun run = bundle_->Run(c.arguments);
  const std::wstring log = LastRun(bundle_->SetupLogText());
  EXPECT_EQ(run.result.exitCode, c.exitCode) << log;
  EXPECT_TRUE(Contains(log, c.logged)) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SilentExitCode,
    ::testing::Values(ExitCodeCase{"InstallOfAnInstalledBundle", true, L"/si", 0, kInstallationRefused},
                      ExitCodeCase{"RemovalOfABundleNotInstalled", false, L"/sx", 0, L"Remove cannot progress"},
                      ExitCodeCase{"RepairOfABundleNotInstalled", false, L"/sf", ERROR_UNKNOWN_PRODUCT,
                                   L"Repair cannot progress"}),
    [](const ::testing::TestParamInfo<ExitCodeCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2etest
