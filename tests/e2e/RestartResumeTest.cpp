// Restarts as a machine sees them, with the real Setup.exe: a product that
// needs an intermediate restart stops the run (the prefix's shutdown.exe
// records the restart), the test then does what Windows does at the next
// logon with the RunOnce value, and the resumed run finishes the bundle.
// Also the final restart of accumulated conditional restarts, the nested
// child setup that hands its restart to its parent, a restart that was put
// off, and the removal of the maintenance copy after a removal.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "SilentBundle.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "registry/RegistryUtil.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/TestedBuild.h"

namespace e2etest {
namespace {

const char kInstallDir[] = "<Property Id=\"INSTALLDIR\" Value=\"C:\\E2E Resume\\Studio\\\"/>";
const wchar_t kInstallRoot[] = L"C:\\E2E Resume";
const wchar_t kInstallDirW[] = L"C:\\E2E Resume\\Studio\\";
const wchar_t kRestartPendingValue[] = L"RestartForE2ESilentBundle";
const wchar_t kChildKey[] = L"E2EChildBundle";
const wchar_t kSmallCChildCode[] = L"{6B1D0C3A-2000-4000-8000-0000000000A3}";
constexpr DWORD kResumeTimeoutMs = 180000;

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

size_t Count(const std::wstring& text, const std::wstring& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

// The setup started and ended by itself.
::testing::AssertionResult Ended(const SilentRun& run) {
  if (!run.result.started) return ::testing::AssertionFailure() << "the setup did not start";
  if (run.result.timedOut) return ::testing::AssertionFailure() << "the setup did not end in time";
  return ::testing::AssertionSuccess();
}

// Waits up to `timeoutMs` for `path` to be gone (batch files delete themselves
// once their command processor has ended).
bool WaitUntilGone(const std::wstring& path, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    if (!FileExists(path)) return true;
    ::Sleep(50);
  }
  return !FileExists(path);
}

// The names below `folder`, for failure messages.
std::string Listing(const std::wstring& folder) {
  std::string names;
  WIN32_FIND_DATAW found = {};
  platform::UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    names += Utf8(name) + " ";
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) names += "[" + Listing(folder + L"\\" + name) + "] ";
  } while (::FindNextFileW(find.Get(), &found));
  return names;
}

bool RunOnceValueExists(const std::wstring& name) {
  platform::UniqueHKey key;
  return registry::OpenKey(registry::kRunOnceKey, KEY_QUERY_VALUE, testsupport::TestedRegistryView(), key) ==
             ERROR_SUCCESS &&
         ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class RestartResumeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    scratch_ = testsupport::MakeScratchFolder(L"RestartResume" + std::to_wstring(++serial));
    marker_ = scratch_ + L"runs.txt";
    restarts_ = scratch_ + L"restarts.txt";
    // The setups inherit it, and so does the shutdown.exe they start.
    ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", restarts_.c_str());
    DeleteRunOnceValue(registry::kRebootMarkerValue);
    DeleteRunOnceValue(kRestartPendingValue);
  }
  void TearDown() override {
    child_.reset();
    bundle_.reset();
    DeleteRunOnceValue(registry::kRebootMarkerValue);
    DeleteRunOnceValue(kRestartPendingValue);
    ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", nullptr);
    testsupport::RemoveFolder(std::wstring(kInstallRoot) + L"\\");
    testsupport::RemoveFolder(scratch_);
  }

  void Make(const std::wstring& name, const std::vector<BundleProduct>& products, const std::string& extraGeneral,
            const std::string& maintenanceExePath = "Setup\\Setup.exe") {
    bundle_ = std::make_unique<SilentBundle>(name, products, kInstallDir,
                                             SilentBundleOptions{extraGeneral, "", L"", "", maintenanceExePath});
  }

  // Studio, a runtime (EXE) that forces a restart, Samples and SmallA.
  void MakeForcedRestartBundle(const std::wstring& name) {
    Make(name,
         {SilentBundle::Studio(), ExeProduct(2, "Runtime", marker_, 3010, "FORCE"),
          InSequence(SilentBundle::Samples(), 3), InSequence(SilentBundle::SmallA(), 4)},
         "<Reboot Value=\"true\"/>");
  }

  [[nodiscard]] std::wstring ResumeDataFile() const {
    return bundle_->LogFolder() + L"_BootstrapperRestore_E2ESilentBundle.dat";
  }
  [[nodiscard]] std::wstring RebootBatchFile() const { return bundle_->LogFolder() + L"_BootstrapperReboot.bat"; }

  // The restarts the setups asked the system for; waits a little for a
  // shutdown.exe that was started as the setup ended.
  [[nodiscard]] std::vector<std::wstring> Restarts(size_t expected) const {
    std::vector<std::wstring> lines = Lines(restarts_);
    for (int i = 0; i < 100 && lines.size() < expected; ++i) {
      ::Sleep(50);
      lines = Lines(restarts_);
    }
    if (expected == 0) {
      ::Sleep(500);
      lines = Lines(restarts_);
    }
    return lines;
  }

  // What Windows does at the next logon: the RunOnce value is removed, then
  // its command runs. Follows the setup that the command starts to its end.
  [[nodiscard]] SilentRun ResumeAtNextLogon() {
    SilentRun run;
    const std::wstring command = RunOnceCommand(registry::kRebootMarkerValue);
    EXPECT_FALSE(command.empty()) << "no resume command under RunOnce";
    if (command.empty()) return run;
    DeleteRunOnceValue(registry::kRebootMarkerValue);
    testsupport::RunningProcess shell = testsupport::StartProcess(command);
    EXPECT_TRUE(shell.IsValid()) << Utf8(command);
    if (!shell.IsValid()) return run;
    testsupport::RunningProcess setup = testsupport::WaitForProcessOf(bundle_->Bundle().SetupExe(), 60000);
    EXPECT_TRUE(setup.IsValid()) << "the resume command started no setup: " << Utf8(command);
    if (setup.IsValid()) run = SilentBundle::Follow(setup);
    (void)shell.Wait(kResumeTimeoutMs);
    return run;
  }

  std::wstring scratch_;
  std::wstring marker_;
  std::wstring restarts_;
  std::unique_ptr<SilentBundle> bundle_;
  std::unique_ptr<SilentBundle> child_;
};

TEST_F(RestartResumeTest, ForcedRestartStopsTheRunAndTheNextLogonFinishesIt) {
  MakeForcedRestartBundle(L"resume-force");
  // Programs planted beside Setup.exe under the names of the system programs
  // it starts for the restart and the resume are never the ones started.
  const std::string planted = testsupport::ReadFileBytes(testsupport::TestedBinFolder() + L"planted_program.exe");
  ASSERT_FALSE(planted.empty());
  for (const wchar_t* name : {L"shutdown.exe", L"cmd.exe"}) {
    ASSERT_TRUE(testsupport::WriteFileBytes(bundle_->Bundle().Folder() + name, planted));
  }
  SilentRun first = bundle_->Run(L"/si");
  ASSERT_TRUE(Ended(first));
  const std::wstring firstLog = bundle_->SetupLogText();
  EXPECT_EQ(first.result.exitCode, 4u) << firstLog;
  EXPECT_TRUE(Contains(firstLog, L"Archiving the data to be used after intermediate reboot...")) << firstLog;
  EXPECT_TRUE(Contains(firstLog, L"Intermediate reboot: Restarting system..."));
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"Halvorsk Studio 4.2");
  EXPECT_TRUE(InstalledProductName(SilentBundle::kSamplesCode).empty()) << "nothing runs after the restart request";
  EXPECT_TRUE(InstalledProductName(SilentBundle::kSmallACode).empty());
  EXPECT_FALSE(ArpEntryExists());
  EXPECT_TRUE(FileExists(ResumeDataFile()));
  ASSERT_TRUE(FileExists(RebootBatchFile()));
  const std::wstring batch = platform::Utf8ToWide(testsupport::ReadFileBytes(RebootBatchFile()));
  EXPECT_TRUE(Contains(batch, L"\"" + bundle_->Bundle().SetupExe() + L"\" /P /L ")) << batch;
  EXPECT_TRUE(Contains(batch, L" /B Professional /RESTORE /si\n")) << batch;
  const std::wstring command = RunOnceCommand(registry::kRebootMarkerValue);
  EXPECT_TRUE(Contains(command, RebootBatchFile())) << Utf8(command);
  std::vector<std::wstring> restarts = Restarts(1);
  ASSERT_EQ(restarts.size(), 1u);
  EXPECT_TRUE(Contains(restarts[0], L"-r -t 0")) << Utf8(restarts[0]);
  // The system's own shutdown.exe for the setup's bitness (syswow64 for the 32-bit build).
  EXPECT_TRUE(Contains(restarts[0], testsupport::TestsShippedBuild() ? L"[32-bit]" : L"[64-bit]"))
      << Utf8(restarts[0]);
  EXPECT_EQ(RunNames(marker_), std::vector<std::wstring>{L"Runtime"});

  SilentRun resumed = ResumeAtNextLogon();
  ASSERT_TRUE(Ended(resumed));
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(resumed.result.exitCode, 0u) << log;
  ASSERT_GT(log.size(), firstLog.size());
  EXPECT_EQ(log.substr(0, firstLog.size()), firstLog) << "the resumed run appends to the log of the first";
  const std::wstring added = log.substr(firstLog.size());
  EXPECT_TRUE(Contains(added, L"Launching the setup after intermediate reboot...")) << added;
  EXPECT_TRUE(Contains(added, L"Restoring the data after intermediate reboot..."));
  EXPECT_TRUE(
      Contains(added, L"The product Halvorsk Studio 4.2 was already executed before intermediate reboot, hence skipped."))
      << added;
  EXPECT_TRUE(Contains(added, L"The product Runtime was already executed before intermediate reboot, hence skipped."));
  EXPECT_TRUE(Contains(added, L"The setup exit code is 0"));
  EXPECT_EQ(RunNames(marker_), std::vector<std::wstring>{L"Runtime"}) << "the runtime is not run twice";
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"Halvorsk Studio Sample Projects");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"Setup Test SmallA");
  EXPECT_TRUE(FileExists(std::wstring(kInstallDirW) + L"Samples\\Sample.hproj"))
      << "the restored INSTALLDIR reaches the products after the restart";
  EXPECT_TRUE(ArpEntryExists());
  std::wstring installDir;
  ASSERT_TRUE(ReadArpString(L"INSTALLDIR", installDir));
  EXPECT_EQ(installDir, kInstallDirW);
  EXPECT_FALSE(FileExists(ResumeDataFile()));
  EXPECT_TRUE(WaitUntilGone(RebootBatchFile(), 10000)) << "the batch deletes itself";
  EXPECT_FALSE(RunOnceValueExists(registry::kRebootMarkerValue));
  EXPECT_EQ(Restarts(1).size(), 1u) << "the restart the runtime asked for has happened; no second one";
  for (const wchar_t* name : {L"shutdown.exe", L"cmd.exe"}) {
    EXPECT_FALSE(FileExists(bundle_->Bundle().Folder() + name + L".ran")) << Utf8(name);
  }
}

TEST_F(RestartResumeTest, DamagedResumeDataRunsEveryProductAgain) {
  MakeForcedRestartBundle(L"resume-damaged");
  SilentRun first = bundle_->Run(L"/si");
  ASSERT_EQ(first.result.exitCode, 4u) << bundle_->SetupLogText();
  const std::string bytes = testsupport::ReadFileBytes(ResumeDataFile());
  ASSERT_GT(bytes.size(), 20u);
  ASSERT_TRUE(testsupport::WriteFileBytes(ResumeDataFile(), bytes.substr(0, bytes.size() / 2)));
  const size_t firstLength = bundle_->SetupLogText().size();

  SilentRun resumed = ResumeAtNextLogon();
  ASSERT_TRUE(Ended(resumed));
  const std::wstring added = bundle_->SetupLogText().substr(firstLength);
  EXPECT_TRUE(Contains(added, L"is damaged or incomplete; nothing is restored.")) << added;
  EXPECT_FALSE(Contains(added, L"already executed before intermediate reboot"));
  // Nothing was skipped: the runtime runs again and asks for its restart again.
  EXPECT_EQ(RunNames(marker_), (std::vector<std::wstring>{L"Runtime", L"Runtime"}));
  EXPECT_EQ(resumed.result.exitCode, 4u) << added;
  EXPECT_TRUE(FileExists(ResumeDataFile())) << "a new, whole file for the next resume";
  EXPECT_TRUE(RunOnceValueExists(registry::kRebootMarkerValue));
  EXPECT_EQ(Restarts(2).size(), 2u);
}

struct AccumulateCase {
  const wchar_t* arguments;
  size_t restarts;
};
void PrintTo(const AccumulateCase& c, std::ostream* out) { *out << platform::WideToUtf8(c.arguments); }

class AccumulatedRestartTest : public RestartResumeTest, public ::testing::WithParamInterface<AccumulateCase> {};

TEST_P(AccumulatedRestartTest, TwoConditionalRestartsBecomeOneAtTheEnd) {
  Make(L"resume-accumulate",
       {SilentBundle::Studio(), ExeProduct(2, "DriverA", marker_, 3010, "CONDITIONAL"),
        ExeProduct(3, "DriverB", marker_, 3010, "conditional")},
       "<Reboot Value=\"true\" AccumulateConditionalReboot=\"true\"/>");
  SilentRun run = bundle_->Run(GetParam().arguments);
  ASSERT_TRUE(Ended(run));
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(run.result.exitCode, 0u) << log;
  EXPECT_EQ(RunNames(marker_), (std::vector<std::wstring>{L"DriverA", L"DriverB"}));
  EXPECT_EQ(Count(log, L"Conditional reboot accumulate is enabled. Reboot will be done end of setup"), 2u) << log;
  EXPECT_FALSE(Contains(log, L"Archiving the data to be used after intermediate reboot..."));
  EXPECT_FALSE(RunOnceValueExists(registry::kRebootMarkerValue));
  EXPECT_FALSE(FileExists(ResumeDataFile()));
  EXPECT_TRUE(ArpEntryExists());
  const std::vector<std::wstring> restarts = Restarts(GetParam().restarts);
  ASSERT_EQ(restarts.size(), GetParam().restarts);
  if (!restarts.empty()) {
    EXPECT_TRUE(Contains(restarts[0], L"-r -t 0")) << Utf8(restarts[0]);
  }
}

INSTANTIATE_TEST_SUITE_P(NoRebootOption, AccumulatedRestartTest,
                         ::testing::Values(AccumulateCase{L"/si", 1}, AccumulateCase{L"/si /noreboot", 0}),
                         [](const ::testing::TestParamInfo<AccumulateCase>& info) {
                           return info.param.restarts == 0 ? std::string("NoReboot") : std::string("Reboot");
                         });

TEST_F(RestartResumeTest, NestedChildHandsItsRestartToTheParentAndCompletesWhenRunAgain) {
  // The child bundle: SmallC as its main package and a driver that forces a restart.
  const std::string childMain =
      "<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"SmallC\" Id=\"{6B1D0C3A-2003-4000-8000-0000000000A3}\" "
      "MainProduct=\"true\" WixSource=\"true\" Location=\"SetupData\\Packages\\SmallC.msi\" "
      "UninstallCommand=\"" + Utf8(kSmallCChildCode) + "\" SpaceRequired=\"1\">"
      "<WixSrc><WixFile Path=\"SetupData\\Wix\\StudioUI.wxs\"/><WixFile Path=\"SetupData\\Wix\\StudioFeatures.wxs\"/>"
      "</WixSrc><LocalizationSetting><Language Id=\"1033\" Name=\"English\" Codepage=\"1252\">"
      "<LocalizationFiles FileName=\"SetupData\\Wix\\Localization\\en-us.wxl\"/>"
      "<LocalizationFiles FileName=\"SetupData\\Wix\\Localization\\Studio.en-us.wxl\"/>"
      "</Language></LocalizationSetting></Product>";
  child_ = std::make_unique<SilentBundle>(
      L"resume-child", std::vector<BundleProduct>{{childMain, kSmallCChildCode},
                                                  ExeProduct(2, "ChildDriver", marker_, 3010, "FORCE")},
      "", SilentBundleOptions{"", "", kChildKey, "", "Setup\\Setup.exe"});
  const std::string childProduct = "<Product Sequence=\"2\" Type=\"EXE\" ProductName=\"Child Suite\" Location=\"" +
                                   Utf8(child_->Bundle().SetupExe()) + "\" InstallCommand=\"/si /NESTED /NOMUTEX\"/>";
  Make(L"resume-parent",
       {SilentBundle::Studio(), {childProduct, L""}, InSequence(SilentBundle::Samples(), 3)}, "<Reboot Value=\"true\"/>");
  const std::wstring childResumeData = child_->LogFolder() + L"_BootstrapperRestore_E2EChildBundle.dat";

  SilentRun first = bundle_->Run(L"/si");
  ASSERT_TRUE(Ended(first));
  const std::wstring firstChildLog = child_->SetupLogText();
  EXPECT_EQ(first.result.exitCode, 4u) << bundle_->SetupLogText() << firstChildLog;
  EXPECT_EQ(RunNames(marker_), std::vector<std::wstring>{L"ChildDriver"});
  EXPECT_EQ(InstalledProductName(kSmallCChildCode), L"Setup Test SmallC");
  EXPECT_TRUE(FileExists(childResumeData)) << "the child leaves its resume data for its next run";
  EXPECT_FALSE(RunOnceValueExists(L"RestartFor" + std::wstring(kChildKey)));
  EXPECT_FALSE(FileExists(child_->LogFolder() + L"_BootstrapperReboot.bat")) << "only the parent registers a resume";
  EXPECT_TRUE(FileExists(ResumeDataFile()));
  EXPECT_TRUE(Contains(bundle_->SetupLogText(), L"20001")) << bundle_->SetupLogText();
  EXPECT_EQ(Restarts(1).size(), 1u) << "the parent restarts the machine, once";
  EXPECT_TRUE(InstalledProductName(SilentBundle::kSamplesCode).empty());

  SilentRun resumed = ResumeAtNextLogon();
  ASSERT_TRUE(Ended(resumed));
  const std::wstring childLog = child_->SetupLogText();
  EXPECT_EQ(resumed.result.exitCode, 0u) << bundle_->SetupLogText() << childLog;
  ASSERT_GT(childLog.size(), firstChildLog.size());
  const std::wstring childAdded = childLog.substr(firstChildLog.size());
  EXPECT_TRUE(Contains(childAdded, L"/RESTORE")) << childAdded;
  EXPECT_TRUE(Contains(childAdded, L"Launching the setup after intermediate reboot..."));
  EXPECT_TRUE(Contains(childAdded, L"The product ChildDriver was already executed before intermediate reboot, hence "
                                   L"skipped."))
      << childAdded;
  EXPECT_TRUE(Contains(childAdded, L"The setup exit code is 0"));
  EXPECT_EQ(RunNames(marker_), std::vector<std::wstring>{L"ChildDriver"});
  EXPECT_FALSE(FileExists(childResumeData));
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"Halvorsk Studio Sample Projects");
  EXPECT_TRUE(ArpEntryExists());
  EXPECT_EQ(Restarts(1).size(), 1u);
}

TEST_F(RestartResumeTest, RestartPutOffEarlierStopsASilentRunBeforeAnyProduct) {
  MakeForcedRestartBundle(L"resume-pending");
  platform::UniqueHKey runOnce;
  ASSERT_EQ(registry::CreateKey(registry::kRunOnceKey, KEY_SET_VALUE, testsupport::TestedRegistryView(), runOnce),
            ERROR_SUCCESS);
  const wchar_t empty[1] = {L'\0'};
  ASSERT_EQ(::RegSetValueExW(runOnce.Get(), kRestartPendingValue, 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(empty), sizeof(empty)),
            ERROR_SUCCESS);
  SilentRun run = bundle_->Run(L"/si");
  ASSERT_TRUE(Ended(run));
  const std::wstring log = bundle_->SetupLogText();
  // A stopped run is a failure to whoever deployed it.
  EXPECT_EQ(run.result.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << log;
  EXPECT_TRUE(Contains(log, L"Setup is triggered without restarting the system.")) << log;
  EXPECT_TRUE(Contains(log, L"You must restart your system before running this setup."));
  EXPECT_TRUE(InstalledProductName(SilentBundle::kStudioCode).empty());
  EXPECT_TRUE(RunNames(marker_).empty());
  EXPECT_FALSE(ArpEntryExists());
  EXPECT_TRUE(RunOnceValueExists(kRestartPendingValue)) << "only the restart clears it";
}

struct RemovalCase {
  const char* name;
  const char* uninstallArguments;  // of an EXE product in the bundle
  bool copyRemoved;
  // Restarts allowed; with a product's 3010 a restart is pending at the end,
  // and the removal batch restarts in place of the setup.
  bool restartPending;
};
void PrintTo(const RemovalCase& c, std::ostream* out) { *out << c.name; }

class MaintenanceCopyRemovalTest : public RestartResumeTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(MaintenanceCopyRemovalTest, GoesWithASuccessfulRemovalOnly) {
  Make(L"removal-" + platform::Utf8ToWide(GetParam().name),
       {SilentBundle::Studio(), ExeProduct(2, "Tool", marker_, 0, "", GetParam().uninstallArguments),
        InSequence(SilentBundle::SmallA(), 3)},
       GetParam().restartPending ? "<Reboot Value=\"true\"/>" : "", "Maintenance\\Bin\\Setup.exe");
  SilentRun install = bundle_->Run(L"/si");
  ASSERT_EQ(install.result.exitCode, 0u) << bundle_->SetupLogText();
  // The main package of a real bundle carries the maintenance copy; the
  // demo's does not, so it is put where the entry's uninstall command looks.
  std::wstring uninstall;
  ASSERT_TRUE(ReadArpString(L"UninstallString", uninstall));
  const std::wstring maintenanceFolder = std::wstring(kInstallDirW) + L"Maintenance\\";
  const std::wstring copy = maintenanceFolder + L"Bin\\Setup.exe";
  EXPECT_EQ(uninstall, L"\"" + copy + L"\" /arp");
  ::CreateDirectoryW(maintenanceFolder.c_str(), nullptr);
  ::CreateDirectoryW((maintenanceFolder + L"Bin").c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW(bundle_->Bundle().SetupExe().c_str(), copy.c_str(), FALSE));
  ASSERT_TRUE(testsupport::WriteFileBytes(maintenanceFolder + L"Bin\\notes.txt", "kept beside the copy"));
  // Stands for whatever else the installation folder still holds.
  ASSERT_TRUE(testsupport::WriteFileBytes(std::wstring(kInstallDirW) + L"user-data.txt", "user data"));
  wchar_t temp[MAX_PATH + 1] = {};
  ASSERT_GT(::GetTempPathW(MAX_PATH + 1, temp), 0u);
  const std::wstring removalBatch = std::wstring(temp) + L"_BootstrapperTORV.bat";
  ::DeleteFileW(removalBatch.c_str());

  SilentRun removal = bundle_->Run(L"/sx");
  ASSERT_TRUE(Ended(removal));
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_TRUE(InstalledProductName(SilentBundle::kStudioCode).empty()) << log;
  if (GetParam().copyRemoved) {
    EXPECT_EQ(removal.result.exitCode, 0u) << log;
    EXPECT_TRUE(WaitUntilGone(copy, 20000)) << "the batch waits for the setup to end, then deletes the copy";
    EXPECT_TRUE(WaitUntilGone(removalBatch, 20000)) << "the batch deletes itself";
    EXPECT_FALSE(FileExists(maintenanceFolder + L"Bin")) << "the copy's folder goes with all it holds";
    EXPECT_FALSE(FileExists(maintenanceFolder)) << "an empty parent folder goes too: " << Listing(kInstallRoot);
    EXPECT_TRUE(FileExists(std::wstring(kInstallDirW) + L"user-data.txt")) << "a parent with content stays";
  } else {
    EXPECT_NE(removal.result.exitCode, 0u) << log;
    ::Sleep(1000);
    EXPECT_TRUE(FileExists(copy)) << "a failed removal keeps the maintenance copy";
    EXPECT_FALSE(FileExists(removalBatch));
  }
  const std::vector<std::wstring> restarts = Restarts(GetParam().restartPending ? 1 : 0);
  if (GetParam().restartPending) {
    ASSERT_EQ(restarts.size(), 1u) << "one restart, by the batch, not a second one by the setup";
    EXPECT_TRUE(Contains(restarts[0], L"-r -f -t 0")) << Utf8(restarts[0]);
  } else {
    EXPECT_TRUE(restarts.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Results, MaintenanceCopyRemovalTest,
                         ::testing::Values(RemovalCase{"Succeeded", "/exit:0", true, false},
                                           RemovalCase{"Failed", "/exit:1603", false, false},
                                           RemovalCase{"SucceededWithRestartPending", "/exit:3010", true, true}),
                         [](const ::testing::TestParamInfo<RemovalCase>& info) { return std::string(info.param.name); });

// A maintenance path that climbs out of the installation folder names a
// folder the bundle does not own: the removal deletes nothing there.
TEST_F(RestartResumeTest, AMaintenancePathOutsideTheInstallationFolderRemovesNothingThere) {
  const std::wstring keep = L"C:\\E2E KeepData\\";
  testsupport::RemoveFolder(keep);
  ASSERT_TRUE(::CreateDirectoryW(keep.c_str(), nullptr));
  ASSERT_TRUE(testsupport::WriteFileBytes(keep + L"keep.txt", "kept"));
  ASSERT_TRUE(testsupport::WriteFileBytes(keep + L"unrelated.txt", "not the bundle's"));
  // From C:\E2E Resume\Studio\ three levels up is beyond the drive's top
  // folder, which Windows treats as the top folder itself.
  Make(L"removal-escaping", {SilentBundle::Studio(), InSequence(SilentBundle::SmallA(), 2)}, "",
       "..\\..\\..\\E2E KeepData\\keep.txt");
  SilentRun install = bundle_->Run(L"/si");
  ASSERT_EQ(install.result.exitCode, 0u) << bundle_->SetupLogText();
  wchar_t temp[MAX_PATH + 1] = {};
  ASSERT_GT(::GetTempPathW(MAX_PATH + 1, temp), 0u);
  const std::wstring removalBatch = std::wstring(temp) + L"_BootstrapperTORV.bat";
  ::DeleteFileW(removalBatch.c_str());

  SilentRun removal = bundle_->Run(L"/sx");
  ASSERT_TRUE(Ended(removal));
  const std::wstring log = bundle_->SetupLogText();
  EXPECT_EQ(removal.result.exitCode, 0u) << log;
  EXPECT_TRUE(InstalledProductName(SilentBundle::kStudioCode).empty()) << log;
  EXPECT_TRUE(Contains(log, L"ERROR:\t\tThe maintenance copy ..\\..\\..\\E2E KeepData\\keep.txt under the installed "
                            L"location"))
      << log;
  EXPECT_FALSE(FileExists(removalBatch)) << "no removal batch is started";
  ::Sleep(1000);
  EXPECT_TRUE(FileExists(keep + L"keep.txt"));
  EXPECT_TRUE(FileExists(keep + L"unrelated.txt"));
  testsupport::RemoveFolder(keep);
}

}  // namespace
}  // namespace e2etest
