// The wizard's run, as a user meets it: the real Setup.exe on a demo-like
// bundle (the demo's main package and pages, a second MSI product, SmallA and
// an EXE product), driven only by clicks through the window driver. A run
// installs from VerifyReadyDlg to the exit page, a second start offers the
// maintenance pages (repair, remove), the Add/Remove Programs command removes,
// Cancel during the run rolls back, a failing product ends on the page its
// Rollback setting calls for, and restarts are asked on the restart pages.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "SilentBundle.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "registry/RegistryUtil.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/TestedBuild.h"
#include "support/WindowDriver.h"

using e2etest::BundleProduct;
using e2etest::SilentBundle;
using e2etest::SilentBundleOptions;
using testsupport::DialogWindow;

namespace {

constexpr DWORD kFirstPageTimeoutMs = 60000;
constexpr DWORD kStepTimeoutMs = 60000;
const wchar_t kInstallRoot[] = L"C:\\E2E Wizard Run";
const wchar_t kStudioFolder[] = L"C:\\E2E Wizard Run\\Studio\\";
const wchar_t kSummaryOk[] = L"Setup ended with (0) Errors";

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// The product with `extra` added to its install command's arguments.
BundleProduct WithInstallArguments(BundleProduct product, const std::string& extra) {
  const std::string start = "InstallCommand=\"";
  const size_t at = product.xml.find(start);
  if (at != std::string::npos) product.xml.insert(product.xml.find('"', at + start.size()), " " + extra);
  return product;
}

// The product element with one more attribute.
BundleProduct WithAttribute(BundleProduct product, const std::string& attribute) {
  const size_t end = product.xml.rfind("/>");
  if (end != std::string::npos) product.xml.insert(end, " " + attribute);
  return product;
}

// The ERROR lines of a log, but for the test bundle's images that are left
// out on purpose.
std::vector<std::wstring> ErrorLines(const std::wstring& log) {
  std::vector<std::wstring> lines;
  for (const std::wstring& line : platform::Split(log, L"\n")) {
    if (Contains(line, L"ERROR:") && !Contains(line, L"Unable to load the bitmap")) lines.push_back(line);
  }
  return lines;
}

// Copies a folder with everything below it; false at the first failure.
bool CopyFolder(const std::wstring& from, const std::wstring& to) {
  ::CreateDirectoryW(to.c_str(), nullptr);
  WIN32_FIND_DATAW found = {};
  platform::UniqueFindHandle find(::FindFirstFileW((from + L"*").c_str(), &found));
  if (!find) return false;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const bool ok = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                        ? CopyFolder(from + name + L"\\", to + name + L"\\")
                        : ::CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) != 0;
    if (!ok) return false;
  } while (::FindNextFileW(find.Get(), &found));
  return true;
}

// One page of a walk and what the user clicks on it, in order.
struct Step {
  const wchar_t* page;
  std::vector<const wchar_t*> clicks;
};

// One start of the bundle's Setup.exe (or of another command line) and the
// pages a user goes through.
class WizardWalk {
 public:
  WizardWalk(const SilentBundle& bundle, const std::wstring& commandLine)
      : bundle_(bundle),
        process_(testsupport::StartProcess(commandLine, bundle.Bundle().Folder())),
        driver_(process_.Id(), process_.Handle()) {}
  ~WizardWalk() {
    if (process_.IsRunning()) (void)process_.Wait(0);
  }
  WizardWalk(const WizardWalk&) = delete;
  WizardWalk& operator=(const WizardWalk&) = delete;

  [[nodiscard]] bool Follow(const std::vector<Step>& steps, DWORD firstTimeoutMs = kStepTimeoutMs) {
    DWORD timeout = firstTimeoutMs;
    for (const Step& step : steps) {
      DialogWindow page;
      if (!WaitForPage(step.page, timeout, page)) return false;
      timeout = kStepTimeoutMs;
      for (const wchar_t* control : step.clicks) {
        if (!Click(page.window, control)) {
          trouble_ = "could not click " + Utf8(control) + " on " + Utf8(step.page) + "\n" + Describe();
          return false;
        }
      }
    }
    return true;
  }

  [[nodiscard]] bool WaitForPage(const std::wstring& id, DWORD timeoutMs, DialogWindow& page) {
    if (driver_.WaitForPage(id, timeoutMs, page)) return true;
    trouble_ = "page " + Utf8(id) + " did not come\n" + Describe();
    return false;
  }

  [[nodiscard]] bool WaitForDialog(const std::wstring& id, DialogWindow& dialog) {
    if (driver_.WaitForDialog(id, kStepTimeoutMs, dialog)) return true;
    trouble_ = "dialog " + Utf8(id) + " did not come\n" + Describe();
    return false;
  }

  [[nodiscard]] bool Click(HWND dialog, const std::wstring& id) const {
    const ULONGLONG deadline = ::GetTickCount64() + kStepTimeoutMs;
    for (;;) {
      testsupport::ControlInfo control;
      if (testsupport::FindControl(dialog, id, control) && control.visible && control.enabled) {
        return testsupport::Click(control.window);
      }
      if (::GetTickCount64() >= deadline || !process_.IsRunning()) return false;
      ::Sleep(25);
    }
  }

  [[nodiscard]] std::string Describe() const {
    std::string text = process_.IsRunning() ? "Setup.exe runs; it shows:\n" : "Setup.exe has ended; it showed:\n";
    for (const testsupport::WindowInfo& window : driver_.TopLevelWindows()) {
      text += "  " + Utf8(window.className) + " \"" + Utf8(window.title) + "\" [" +
              Utf8(testsupport::DialogIdOf(window.window)) + "] " + Utf8(window.StaticText()) + "\n";
    }
    std::wstring log = bundle_.SetupLogText();
    if (log.size() > 6000) log = L"..." + log.substr(log.size() - 6000);
    return text + "log ending:\n" + Utf8(log);
  }

  [[nodiscard]] testsupport::ProcessResult End() { return process_.Wait(kStepTimeoutMs); }

  // Follows the pages, the last of which ends the run; the process must then
  // end by itself with exit code 0.
  [[nodiscard]] ::testing::AssertionResult FollowToASuccessfulEnd(const std::vector<Step>& steps) {
    if (!Follow(steps, kFirstPageTimeoutMs)) return ::testing::AssertionFailure() << Trouble();
    const testsupport::ProcessResult result = End();
    if (result.timedOut) return ::testing::AssertionFailure() << "Setup.exe did not end\n" << Describe();
    if (result.exitCode != 0)
      return ::testing::AssertionFailure() << "exit code " << result.exitCode << "\n" << Describe();
    return ::testing::AssertionSuccess();
  }
  [[nodiscard]] const testsupport::WindowDriver& Driver() const { return driver_; }
  [[nodiscard]] testsupport::RunningProcess& Process() { return process_; }
  [[nodiscard]] const std::string& Trouble() const { return trouble_; }

 private:
  const SilentBundle& bundle_;
  testsupport::RunningProcess process_;
  testsupport::WindowDriver driver_;
  std::string trouble_;
};

const std::vector<Step> kInstallPages = {{L"WelcomeDlg", {L"Next"}},
                                         {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}},
                                         {L"UserInfoDlg", {L"Next"}},
                                         {L"CustomizeDlg", {L"Next"}},
                                         {L"VerifyReadyDlg", {L"Install"}}};

class WizardRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    scratch_ = testsupport::MakeScratchFolder(L"WizardRun" + std::to_wstring(++serial));
    marker_ = scratch_ + L"runs.txt";
    gate_ = scratch_ + L"gate.txt";
    restarts_ = scratch_ + L"restarts.txt";
    ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", restarts_.c_str());
    ClearRunOnce();
    testsupport::RemoveFolder(std::wstring(kInstallRoot) + L"\\");
  }
  void TearDown() override {
    bundle_.reset();
    ClearRunOnce();
    ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", nullptr);
    testsupport::RemoveFolder(std::wstring(kInstallRoot) + L"\\");
    testsupport::RemoveFolder(scratch_);
  }

  static void ClearRunOnce() {
    for (const wchar_t* value : {registry::kRebootMarkerValue, L"RestartForE2ESilentBundle"}) {
      e2etest::DeleteRunOnceValue(value);
    }
  }

  void Make(const std::wstring& name, const std::vector<BundleProduct>& products, const std::string& extraGeneral = "",
            bool restartPages = false) {
    SilentBundleOptions options;
    options.extraGeneral = extraGeneral +
                           "<StyleConfigPath Value=\"SetupData\\Configuration\\StyleConfig.xml\"/>"
                           "<MainDialogConfigPath Value=\"SetupData\\Configuration\\ConfigForMainDialog.xml\"/>";
    std::vector<BundleProduct> list = products;
    if (restartPages) {
      // The restart questions are pages of the demo's pre-install sources.
      const std::string studioSources = "<WixFile Path=\"SetupData\\Wix\\StudioFeatures.wxs\"/>";
      std::string& studio = list.front().xml;
      studio.insert(studio.find(studioSources) + studioSources.size(),
                    "<WixFile Path=\"SetupData\\Wix\\PreInstallDialogs.wxs\"/>");
    }
    bundle_ = std::make_unique<SilentBundle>(name, list, "", options);
    // The wizard's look: the demo's frame and style files.
    for (const wchar_t* file : {L"StyleConfig.xml", L"ConfigForMainDialog.xml"}) {
      const std::string bytes = testsupport::ReadFileBytes(testsupport::SourceFolder() +
                                                           L"examples\\demo\\SetupData\\Configuration\\" + file);
      ASSERT_FALSE(bytes.empty()) << Utf8(file);
      ASSERT_TRUE(
          testsupport::WriteFileBytes(bundle_->Bundle().Folder() + L"SetupData\\Configuration\\" + file, bytes));
    }
    if (restartPages) {
      const std::string source = testsupport::ReadFileBytes(testsupport::SourceFolder() +
                                                            L"examples\\demo\\SetupData\\Wix\\PreInstallDialogs.wxs");
      ASSERT_FALSE(source.empty());
      ASSERT_TRUE(
          testsupport::WriteFileBytes(bundle_->Bundle().Folder() + L"SetupData\\Wix\\PreInstallDialogs.wxs", source));
    }
  }

  [[nodiscard]] std::wstring SetupCommand(const std::wstring& arguments = L"") const {
    return testsupport::Quote(bundle_->Bundle().SetupExe()) + L" INSTALLDIR=\"" + std::wstring(kInstallRoot) +
           L"\\Studio\"" + (arguments.empty() ? L"" : L" " + arguments);
  }

  [[nodiscard]] BundleProduct Tool(int sequence, int exitCode = 0, const std::string& reboot = "") const {
    return e2etest::ExeProduct(sequence, "Tool", marker_, exitCode, reboot, "/exit:0");
  }

  // The restarts the setup asked the system for; waits a little for a
  // shutdown.exe started as the setup ended.
  [[nodiscard]] std::vector<std::wstring> Restarts(size_t expected) const {
    std::vector<std::wstring> lines = e2etest::Lines(restarts_);
    for (int i = 0; i < 100 && lines.size() < expected; ++i) {
      ::Sleep(50);
      lines = e2etest::Lines(restarts_);
    }
    if (expected == 0) {
      ::Sleep(500);
      lines = e2etest::Lines(restarts_);
    }
    return lines;
  }

  // Studio (Rollback), then an EXE product that waits for the test's word
  // (the gate file), then SmallA: installed by clicks up to the progress
  // page, returned while the EXE product runs.
  void StartGatedRun(const std::wstring& name, std::unique_ptr<WizardWalk>& walk, DialogWindow& progress) {
    Make(name, {SilentBundle::Studio(), WithInstallArguments(Tool(2), "/waitfor:" + Utf8(gate_)),
                e2etest::InSequence(SilentBundle::SmallA(), 3)});
    walk = std::make_unique<WizardWalk>(*bundle_, SetupCommand());
    ASSERT_TRUE(walk->Follow(kInstallPages, kFirstPageTimeoutMs)) << walk->Trouble();
    ASSERT_TRUE(walk->WaitForPage(L"ProgressDlg", kStepTimeoutMs, progress)) << walk->Trouble();
    const ULONGLONG deadline = ::GetTickCount64() + kStepTimeoutMs;
    while (e2etest::RunNames(marker_).empty() && ::GetTickCount64() < deadline) ::Sleep(50);
    ASSERT_EQ(e2etest::RunNames(marker_), std::vector<std::wstring>{L"Tool"}) << walk->Describe();
  }

  std::wstring scratch_;
  std::wstring marker_;
  std::wstring gate_;
  std::wstring restarts_;
  std::unique_ptr<SilentBundle> bundle_;
};

TEST_F(WizardRunTest, ChangeFromTheMaintenancePagesRunsTheModification) {
  Make(L"wizard-run-change", {SilentBundle::Studio(), SilentBundle::Samples(), Tool(3)});
  const e2etest::SilentRun install = bundle_->Run(L"/si");
  ASSERT_EQ(install.result.exitCode, 0u) << Utf8(bundle_->SetupLogText());
  const size_t installLog = bundle_->SetupLogText().size();

  WizardWalk walk(*bundle_, SetupCommand());
  ASSERT_TRUE(walk.FollowToASuccessfulEnd({{L"MaintenanceWelcomeDlg", {L"Next"}},
                                           {L"MaintenanceTypeDlg", {L"ChangeButton"}},
                                           {L"CustomizeDlg", {L"Next"}},
                                           {L"VerifyReadyDlg", {L"Install"}},
                                           {L"ExitDlg", {L"Finish"}}}));
  const std::wstring log = bundle_->SetupLogText().substr(installLog);
  EXPECT_TRUE(Contains(log, L"The modify of the setup has been completed successfully!!")) << Utf8(log);
  EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kStudioCode).empty());
  EXPECT_TRUE(e2etest::ArpEntryExists());
}

// An installation stopped after its main product, before the bundle was
// registered: a user who starts Setup.exe again meets the maintenance pages
// (the main product is there), and Repair installs what is missing and
// registers the bundle.
TEST_F(WizardRunTest, AnUnfinishedInstallationIsCompletedByRepairFromTheWizard) {
  Make(L"wizard-run-unfinished", {SilentBundle::Studio(), SilentBundle::Samples()});
  const e2etest::SilentRun install = bundle_->Run(L"/si");
  ASSERT_EQ(install.result.exitCode, 0u) << Utf8(bundle_->SetupLogText());
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  ASSERT_EQ(MsiConfigureProductExStub(SilentBundle::kSamplesCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L""), 0u);
  (void)registry::DeleteKeyTree(
      std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + SilentBundle::kBundleKey,
      testsupport::TestedRegistryView());
  ASSERT_FALSE(e2etest::ArpEntryExists());
  const size_t installLog = bundle_->SetupLogText().size();

  WizardWalk walk(*bundle_, SetupCommand());
  ASSERT_TRUE(walk.FollowToASuccessfulEnd({{L"MaintenanceWelcomeDlg", {L"Next"}},
                                           {L"MaintenanceTypeDlg", {L"RepairButton"}},
                                           {L"VerifyReadyDlg", {L"Repair"}},
                                           {L"ExitDlg", {L"Finish"}}}));
  const std::wstring log = bundle_->SetupLogText().substr(installLog);
  EXPECT_TRUE(Contains(log, L"The earlier installation of the bundle was not completed")) << Utf8(log);
  EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kSamplesCode).empty()) << Utf8(log);
  EXPECT_TRUE(e2etest::ArpEntryExists()) << Utf8(log);
}

// A progress page without its Cancel button and its bar: the run still
// goes from Install to the exit page.
TEST_F(WizardRunTest, AProgressPageWithoutCancelOrBarStillRunsToTheExitPage) {
  Make(L"wizard-run-bare-progress", {SilentBundle::Studio(), Tool(2)});
  const std::wstring sourcePath = bundle_->Bundle().Folder() + L"SetupData\\Wix\\StudioUI.wxs";
  std::string source = testsupport::ReadFileBytes(sourcePath);
  const size_t page = source.find("<Dialog Id=\"ProgressDlg\"");
  ASSERT_NE(page, std::string::npos);
  for (const char* id : {"<Control Id=\"ProgressBar\"", "<Control Id=\"Cancel\""}) {
    const size_t at = source.find(id, page);
    ASSERT_NE(at, std::string::npos) << id;
    const size_t selfClosed = source.find("/>", at);
    const size_t open = source.find('>', at);
    const size_t end = selfClosed == open - 1 ? open + 1 : source.find("</Control>", at) + 10;
    source.erase(at, end - at);
  }
  ASSERT_TRUE(testsupport::WriteFileBytes(sourcePath, source));

  WizardWalk walk(*bundle_, SetupCommand());
  ASSERT_TRUE(walk.Follow(kInstallPages, kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Follow({{L"ExitDlg", {L"Finish"}}})) << walk.Trouble();
  const testsupport::ProcessResult result = walk.End();
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  EXPECT_EQ(result.exitCode, 0u) << walk.Describe();
  EXPECT_EQ(e2etest::RunNames(marker_), std::vector<std::wstring>{L"Tool"});
  EXPECT_TRUE(e2etest::ArpEntryExists());
}

struct BarReading {
  int highest = -1;
  int rangeHigh = 0;
};

// Reads the progress page's bar until the page goes away.
BarReading WatchProgressBar(const WizardWalk& walk, HWND page) {
  BarReading reading;
  testsupport::ControlInfo bar;
  if (!testsupport::FindControl(page, L"ProgressBar", bar)) return reading;
  while (::IsWindow(page) && ::IsWindow(bar.window)) {
    DWORD_PTR position = 0;
    DWORD_PTR high = 0;
    if (::SendMessageTimeoutW(bar.window, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position) != 0 &&
        ::SendMessageTimeoutW(bar.window, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 2000, &high) != 0) {
      reading.highest = std::max(reading.highest, static_cast<int>(position));
      reading.rangeHigh = static_cast<int>(high);
    }
    if (!walk.Driver().ProcessRunning()) break;
    ::Sleep(20);
  }
  return reading;
}

TEST_F(WizardRunTest, InstallsByClicksThenRepairsFromTheMaintenancePagesAndRemovesAsAddRemoveProgramsDoes) {
  Make(L"wizard-run-main", {SilentBundle::Studio(), SilentBundle::Samples(), SilentBundle::SmallA(), Tool(4)});

  {
    WizardWalk walk(*bundle_, SetupCommand());
    ASSERT_TRUE(walk.Follow(kInstallPages, kFirstPageTimeoutMs)) << walk.Trouble();
    DialogWindow progress;
    ASSERT_TRUE(walk.WaitForPage(L"ProgressDlg", kStepTimeoutMs, progress)) << walk.Trouble();
    const BarReading bar = WatchProgressBar(walk, progress.window);
    ASSERT_TRUE(walk.Follow({{L"ExitDlg", {L"Finish"}}})) << walk.Trouble();
    const testsupport::ProcessResult result = walk.End();
    ASSERT_FALSE(result.timedOut) << walk.Describe();
    EXPECT_EQ(result.exitCode, 0u) << walk.Describe();
    EXPECT_GT(bar.highest, 0) << "the progress bar never moved";
    EXPECT_GT(bar.rangeHigh, 0);
  }
  EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kStudioCode).empty());
  EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kSamplesCode).empty());
  EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty());
  EXPECT_EQ(e2etest::RunNames(marker_), std::vector<std::wstring>{L"Tool"});
  EXPECT_TRUE(e2etest::FileExists(std::wstring(kStudioFolder) + L"Studio.txt"));
  ASSERT_TRUE(e2etest::ArpEntryExists());
  EXPECT_TRUE(Contains(bundle_->SetupLogText(), kSummaryOk)) << Utf8(bundle_->SetupLogText());

  // Repair puts back a file the user lost.
  ASSERT_TRUE(::DeleteFileW((std::wstring(kStudioFolder) + L"Studio.txt").c_str()));
  {
    WizardWalk walk(*bundle_, SetupCommand());
    ASSERT_TRUE(walk.FollowToASuccessfulEnd({{L"MaintenanceWelcomeDlg", {L"Next"}},
                                             {L"MaintenanceTypeDlg", {L"RepairButton"}},
                                             {L"VerifyReadyDlg", {L"Repair"}},
                                             {L"ExitDlg", {L"Finish"}}}));
  }
  EXPECT_TRUE(e2etest::FileExists(std::wstring(kStudioFolder) + L"Studio.txt")) << "Repair did not restore the file";
  EXPECT_TRUE(Contains(bundle_->SetupLogText(), L"Repair")) << Utf8(bundle_->SetupLogText());

  // The Add/Remove Programs uninstall button runs the registered command.
  std::wstring uninstall;
  ASSERT_TRUE(e2etest::ReadArpString(L"UninstallString", uninstall));
  ASSERT_TRUE(Contains(uninstall, L"/arp")) << Utf8(uninstall);
  // A real bundle's main package installs the maintenance copy; the demo's
  // does not, so it is put where the entry's command looks for it.
  const std::wstring copyFolder = std::wstring(kStudioFolder) + L"Setup\\";
  ::CreateDirectoryW(copyFolder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW(bundle_->Bundle().SetupExe().c_str(), (copyFolder + L"Setup.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFolder(bundle_->Bundle().Folder() + L"SetupData\\", copyFolder + L"SetupData\\"));
  {
    WizardWalk walk(*bundle_, uninstall);
    ASSERT_TRUE(walk.Process().IsValid()) << Utf8(uninstall);
    ASSERT_TRUE(walk.FollowToASuccessfulEnd({{L"MaintenanceWelcomeDlg", {L"Next"}},
                                             {L"MaintenanceTypeDlg", {L"RemoveButton"}},
                                             {L"VerifyReadyDlg", {L"Remove"}},
                                             {L"ExitDlg", {L"Finish"}}}));
  }
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kStudioCode).empty());
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kSamplesCode).empty());
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty());
  EXPECT_FALSE(e2etest::ArpEntryExists());
  EXPECT_EQ(e2etest::RunNames(marker_), (std::vector<std::wstring>{L"Tool", L"Tool-remove"}));
  EXPECT_EQ(ErrorLines(bundle_->SetupLogText()), std::vector<std::wstring>{});
}

TEST_F(WizardRunTest, CancelDuringTheRunRollsBackAndEndsOnTheUserExitPage) {
  // Studio (Rollback) installs first, then the EXE product waits for the
  // test's word, so that Cancel comes while a product runs.
  std::unique_ptr<WizardWalk> started;
  DialogWindow progress;
  ASSERT_NO_FATAL_FAILURE(StartGatedRun(L"wizard-run-cancel", started, progress));
  WizardWalk& walk = *started;

  // The window answers while the product runs: Cancel asks its question.
  ASSERT_TRUE(walk.Click(progress.window, L"Cancel")) << walk.Describe();
  DialogWindow question;
  ASSERT_TRUE(walk.WaitForDialog(L"CancelDlg", question)) << walk.Trouble();
  ASSERT_TRUE(walk.Click(question.window, L"Yes")) << walk.Describe();
  ASSERT_TRUE(testsupport::WaitUntilGone(question.window, kStepTimeoutMs));
  // A second Cancel has nothing left to ask: the button is off until the run ends.
  testsupport::ControlInfo cancel;
  ASSERT_TRUE(testsupport::FindControl(progress.window, L"Cancel", cancel));
  EXPECT_FALSE(cancel.enabled) << walk.Describe();
  ASSERT_TRUE(testsupport::WriteFileBytes(gate_, "go"));

  DialogWindow page;
  const bool ended = walk.Driver().WaitForPage(L"UserExitDlg", kStepTimeoutMs, page) ||
                     walk.Driver().WaitForPage(L"FatalErrorDlg", 1000, page);
  ASSERT_TRUE(ended) << walk.Describe();
  ASSERT_TRUE(walk.Click(page.window, L"Finish")) << walk.Describe();
  const testsupport::ProcessResult result = walk.End();
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  EXPECT_EQ(result.exitCode, 1u) << walk.Describe();
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kStudioCode).empty()) << "Studio was not rolled back";
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty()) << "SmallA ran after the cancel";
  EXPECT_FALSE(e2etest::ArpEntryExists());
}

// Cancel while a Windows Installer package runs: the package stops as a user
// exit and is rolled back, and so is the Rollback product before it.
TEST_F(WizardRunTest, CancelWhileAPackageInstallsRollsItBackWithTheProductsBeforeIt) {
  const wchar_t kGateCode[] = L"{6B1D0C3A-2000-4000-8000-0000000000F1}";
  const BundleProduct gated = {"<Product Sequence=\"2\" Type=\"MSI\" ProductName=\"Gated\" Id=\"" + Utf8(kGateCode) +
                                   "\" Location=\"SetupData\\Packages\\FilesInUse.msi\" "
                                   "InstallCommand=\"GATEFILE=&quot;" +
                                   Utf8(gate_) + "&quot;\" UninstallCommand=\"" + Utf8(kGateCode) + "\"/>",
                               kGateCode};
  Make(L"wizard-run-cancel-msi", {SilentBundle::Studio(), gated, e2etest::InSequence(SilentBundle::SmallA(), 3)});
  const std::string package = testsupport::ReadFileBytes(testsupport::PackageFolder() + L"FilesInUse.msi");
  ASSERT_FALSE(package.empty());
  ASSERT_TRUE(
      testsupport::WriteFileBytes(bundle_->Bundle().Folder() + L"SetupData\\Packages\\FilesInUse.msi", package));

  WizardWalk walk(*bundle_, SetupCommand());
  ASSERT_TRUE(walk.Follow(kInstallPages, kFirstPageTimeoutMs)) << walk.Trouble();
  DialogWindow progress;
  ASSERT_TRUE(walk.WaitForPage(L"ProgressDlg", kStepTimeoutMs, progress)) << walk.Trouble();
  const ULONGLONG deadline = ::GetTickCount64() + kStepTimeoutMs;
  while (!e2etest::FileExists(gate_ + L".waiting") && ::GetTickCount64() < deadline) ::Sleep(50);
  ASSERT_TRUE(e2etest::FileExists(gate_ + L".waiting")) << "the package never reached its wait\n" << walk.Describe();

  ASSERT_TRUE(walk.Click(progress.window, L"Cancel")) << walk.Describe();
  DialogWindow question;
  ASSERT_TRUE(walk.WaitForDialog(L"CancelDlg", question)) << walk.Trouble();
  ASSERT_TRUE(walk.Click(question.window, L"Yes")) << walk.Describe();
  DialogWindow page;
  const bool ended = walk.Driver().WaitForPage(L"UserExitDlg", kStepTimeoutMs, page) ||
                     walk.Driver().WaitForPage(L"FatalErrorDlg", 1000, page);
  ASSERT_TRUE(ended) << walk.Describe();
  EXPECT_FALSE(e2etest::FileExists(gate_)) << "the package ended before the test let it";
  ASSERT_TRUE(walk.Click(page.window, L"Finish")) << walk.Describe();
  const testsupport::ProcessResult result = walk.End();
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  EXPECT_EQ(result.exitCode, 1u) << walk.Describe();
  EXPECT_TRUE(e2etest::InstalledProductName(kGateCode).empty()) << "the cancelled package stayed installed";
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kStudioCode).empty()) << "Studio was not rolled back";
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty()) << "SmallA ran after the cancel";
  EXPECT_FALSE(e2etest::ArpEntryExists());
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_TRUE(Contains(log, L"1602")) << Utf8(log);
}

TEST_F(WizardRunTest, ClosingTheWindowDuringTheRunDoesNotEndIt) {
  std::unique_ptr<WizardWalk> started;
  DialogWindow progress;
  ASSERT_NO_FATAL_FAILURE(StartGatedRun(L"wizard-run-close", started, progress));
  WizardWalk& walk = *started;

  // The title bar's close (and Alt+F4) while a product runs.
  const HWND frame = walk.Driver().MainFrame();
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(::PostMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0));
  ASSERT_TRUE(::PostMessageW(frame, WM_CLOSE, 0, 0));
  ::Sleep(1000);
  EXPECT_TRUE(::IsWindow(frame)) << walk.Describe();
  // Should it ask whether to cancel, the user says no.
  DialogWindow question;
  if (walk.Driver().WaitForDialog(L"CancelDlg", 500, question)) {
    ASSERT_TRUE(walk.Click(question.window, L"No"));
  }

  ASSERT_TRUE(testsupport::WriteFileBytes(gate_, "go"));
  ASSERT_TRUE(walk.Follow({{L"ExitDlg", {L"Finish"}}})) << walk.Trouble();
  const testsupport::ProcessResult result = walk.End();
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  EXPECT_EQ(result.exitCode, 0u) << walk.Describe();
  EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty());
  EXPECT_TRUE(e2etest::ArpEntryExists());
}

// How the second product fails.
enum class Failure { kExitCode, kCrash, kMissingPackage };

struct FailureCase {
  const char* name;
  Failure failure;
  bool rollback;
  const wchar_t* page;  // the exit page the run ends on
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class WizardRunFailure : public WizardRunTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WizardRunFailure, AFailingProductEndsOnThePageItsRollbackSettingCallsFor) {
  BundleProduct failing = Tool(2, 1603);
  if (GetParam().failure == Failure::kCrash) failing = WithInstallArguments(Tool(2), "/crash");
  if (GetParam().failure == Failure::kMissingPackage) {
    failing = e2etest::InSequence(SilentBundle::Samples(), 2);
    const std::string location = "HalvorskSamples.msi";
    failing.xml.replace(failing.xml.find(location), location.size(), "Missing.msi");
  }
  if (GetParam().rollback) failing = WithAttribute(failing, "Rollback=\"true\"");
  Make(L"wizard-run-failure-" + platform::Utf8ToWide(GetParam().name),
       {SilentBundle::Studio(), failing, e2etest::InSequence(SilentBundle::SmallA(), 3)});
  WizardWalk walk(*bundle_, SetupCommand());
  ASSERT_TRUE(walk.Follow(kInstallPages, kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Follow({{GetParam().page, {L"Finish"}}})) << walk.Trouble();
  const testsupport::ProcessResult result = walk.End();
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  const std::wstring log = bundle_->SetupLogText();
  if (GetParam().rollback) {
    EXPECT_EQ(result.exitCode, 2u) << walk.Describe();
    EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kStudioCode).empty()) << "Studio was not rolled back";
    EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty());
    EXPECT_FALSE(e2etest::ArpEntryExists());
  } else {
    EXPECT_EQ(result.exitCode, 3u) << walk.Describe();
    EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kStudioCode).empty());
    EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty());
    EXPECT_TRUE(Contains(log, L"WARNING:")) << Utf8(log);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Products, WizardRunFailure,
    ::testing::Values(FailureCase{"WithRollback", Failure::kExitCode, true, L"FatalErrorDlg"},
                      FailureCase{"WithoutRollback", Failure::kExitCode, false, L"ExitFailedDlg"},
                      FailureCase{"CrashWithRollback", Failure::kCrash, true, L"FatalErrorDlg"},
                      FailureCase{"CrashWithoutRollback", Failure::kCrash, false, L"ExitFailedDlg"},
                      FailureCase{"MissingPackageWithRollback", Failure::kMissingPackage, true, L"FatalErrorDlg"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// What Windows does at the next logon: the RunOnce value goes, its command runs.
testsupport::RunningProcess RunResumeCommand(const std::wstring& command) {
  e2etest::DeleteRunOnceValue(registry::kRebootMarkerValue);
  return testsupport::StartProcess(command);
}

TEST_F(WizardRunTest, AnIntermediateRestartAskedNowRestartsOnceAndTheNextLogonFinishesTheRunInTheWizard) {
  Make(L"wizard-run-restart-now",
       {SilentBundle::Studio(), Tool(2, 3010, "FORCE"), e2etest::InSequence(SilentBundle::SmallA(), 3)},
       "<Reboot Value=\"true\"/>", true);
  {
    WizardWalk walk(*bundle_, SetupCommand());
    ASSERT_TRUE(walk.Follow(kInstallPages, kFirstPageTimeoutMs)) << walk.Trouble();
    DialogWindow question;
    ASSERT_TRUE(walk.WaitForDialog(L"Restart_Intermediate_Dlg", question)) << walk.Trouble();
    ASSERT_TRUE(walk.Click(question.window, L"Yes")) << walk.Describe();
    const testsupport::ProcessResult result = walk.End();
    ASSERT_FALSE(result.timedOut) << walk.Describe();
    EXPECT_EQ(result.exitCode, 4u) << walk.Describe();
  }
  const std::wstring firstLog = bundle_->SetupLogText();
  EXPECT_TRUE(Contains(firstLog, L"Archiving the data to be used after intermediate reboot...")) << Utf8(firstLog);
  EXPECT_FALSE(Contains(firstLog, L"The user has canceled the Setup!")) << Utf8(firstLog);
  EXPECT_EQ(Restarts(1).size(), 1u);
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty()) << "nothing runs after the restart";
  const std::wstring command = e2etest::RunOnceCommand(registry::kRebootMarkerValue);
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
  EXPECT_TRUE(platform::StartsWith(platform::ToLower(command),
                                   platform::ToLower(std::wstring(L"\"") + system + L"\\cmd.exe\"")))
      << Utf8(command);
  EXPECT_TRUE(Contains(command, L"\"" + bundle_->LogFolder() + L"_BootstrapperReboot.bat\"")) << Utf8(command);

  // The next logon: the same wizard finishes the remaining products.
  testsupport::RunningProcess shell = RunResumeCommand(command);
  ASSERT_TRUE(shell.IsValid()) << Utf8(command);
  testsupport::RunningProcess setup = testsupport::WaitForProcessOf(bundle_->Bundle().SetupExe(), 60000);
  ASSERT_TRUE(setup.IsValid()) << "the resume command started no setup: " << Utf8(command);
  testsupport::WindowDriver driver(setup.Id(), setup.Handle());
  DialogWindow exitPage;
  ASSERT_TRUE(driver.WaitForPage(L"ExitDlg", kFirstPageTimeoutMs, exitPage)) << Utf8(bundle_->SetupLogText());
  testsupport::ControlInfo finish;
  ASSERT_TRUE(testsupport::FindControl(exitPage.window, L"Finish", finish));
  ASSERT_TRUE(testsupport::Click(finish.window));
  const testsupport::ProcessResult resumed = setup.Wait(kStepTimeoutMs);
  ASSERT_FALSE(resumed.timedOut);
  EXPECT_EQ(resumed.exitCode, 0u) << Utf8(bundle_->SetupLogText());
  (void)shell.Wait(kStepTimeoutMs);
  EXPECT_FALSE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty());
  EXPECT_EQ(e2etest::RunNames(marker_), std::vector<std::wstring>{L"Tool"}) << "the EXE product is not run twice";
  EXPECT_TRUE(e2etest::ArpEntryExists());
  EXPECT_EQ(Restarts(1).size(), 1u) << "no second restart";
}

TEST_F(WizardRunTest, AnIntermediateRestartPutOffStopsTheRunAndLeavesTheMarker) {
  Make(L"wizard-run-restart-later",
       {SilentBundle::Studio(), Tool(2, 3010, "FORCE"), e2etest::InSequence(SilentBundle::SmallA(), 3)},
       "<Reboot Value=\"true\"/>", true);
  WizardWalk walk(*bundle_, SetupCommand());
  ASSERT_TRUE(walk.Follow(kInstallPages, kFirstPageTimeoutMs)) << walk.Trouble();
  DialogWindow question;
  ASSERT_TRUE(walk.WaitForDialog(L"Restart_Intermediate_Dlg", question)) << walk.Trouble();
  ASSERT_TRUE(walk.Click(question.window, L"No")) << walk.Describe();
  // The run stops where the restart is needed; the wizard says it was left.
  ASSERT_TRUE(walk.Follow({{L"UserExitDlg", {L"Finish"}}})) << walk.Trouble();
  const testsupport::ProcessResult result = walk.End();
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(result.exitCode, 4u) << Utf8(log);
  EXPECT_TRUE(Contains(log, L"Intermediate Reboot: User has chosen to restart later!")) << Utf8(log);
  EXPECT_EQ(Restarts(0).size(), 0u);
  EXPECT_FALSE(e2etest::RunOnceCommand(registry::kRebootMarkerValue).empty())
      << "the run resumes at the next logon";
  platform::UniqueHKey runOnce;
  ASSERT_EQ(registry::OpenKey(registry::kRunOnceKey, KEY_READ, testsupport::TestedRegistryView(), runOnce),
            ERROR_SUCCESS);
  EXPECT_EQ(::RegQueryValueExW(runOnce.Get(), L"RestartForE2ESilentBundle", nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS)
      << "the pending-restart marker";
  EXPECT_TRUE(e2etest::InstalledProductName(SilentBundle::kSmallACode).empty());
}

TEST_F(WizardRunTest, AFinalRestartIsAskedOnFinishAndNowRestartsWithoutTheUserExitPage) {
  Make(L"wizard-run-final-restart", {SilentBundle::Studio(), Tool(2, 3010)}, "<Reboot Value=\"true\"/>", true);
  WizardWalk walk(*bundle_, SetupCommand());
  ASSERT_TRUE(walk.Follow(kInstallPages, kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Follow({{L"ExitDlg", {L"Finish"}}})) << walk.Trouble();
  DialogWindow question;
  ASSERT_TRUE(walk.WaitForDialog(L"Restart_Main_Dlg", question)) << walk.Trouble();
  ASSERT_TRUE(walk.Click(question.window, L"Yes")) << walk.Describe();
  const testsupport::ProcessResult result = walk.End();
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(result.exitCode, 0u) << Utf8(log);
  EXPECT_EQ(Restarts(1).size(), 1u) << Utf8(log);
  EXPECT_FALSE(Contains(log, L"The user has canceled the Setup!")) << Utf8(log);
  EXPECT_TRUE(Contains(log, L"System restart is required.")) << Utf8(log);
  EXPECT_TRUE(e2etest::ArpEntryExists());
}

}  // namespace
