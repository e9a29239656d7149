// The executor's walk, classification, cancel, restart rules, resume and busy
// wait, with real EXE products (exe_product.exe) and a real held
// "Global\_MSIExecute" mutex.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ExecutorFixture.h"
#include "RecordingRegistrar.h"
#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "engine/IBundleRegistrar.h"
#include "engine/InstallExecutor.h"
#include "engine/MsiBusyWait.h"
#include "engine/RemoveExecutor.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace enginetest {
namespace {

// Holds "Global\_MSIExecute" on its own thread until released; lets it go
// `delayMs` after Release so the release can fall inside a waiting attempt.
class MutexHolder {
 public:
  explicit MutexHolder(DWORD delayMs = 0) : delayMs_(delayMs), held_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), release_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this] {
      platform::UniqueHandle mutex(::CreateMutexW(nullptr, TRUE, kMsiExecuteMutexName));
      ::SetEvent(held_.Get());
      ::WaitForSingleObject(release_.Get(), INFINITE);
      ::Sleep(delayMs_);
      ::ReleaseMutex(mutex.Get());
    });
    ::WaitForSingleObject(held_.Get(), 5000);
  }
  ~MutexHolder() {
    Release();
    thread_.join();
  }
  void Release() { ::SetEvent(release_.Get()); }

 private:
  DWORD delayMs_;
  platform::UniqueHandle held_;
  platform::UniqueHandle release_;
  std::thread thread_;
};

class ExecutorRunTest : public ExecutorTest {
 protected:
  std::string Group(int sequence, const std::string& name, const std::string& products,
                    const std::string& extra = "") {
    return "<ProductGroup DisplayName=\"" + name + "\" Sequence=\"" + std::to_string(sequence) + "\" " + extra + ">" +
           products + "</ProductGroup>";
  }
  std::string Undo(const std::string& name) {
    return "UninstallCommand=\"/marker:" + Utf8(marker_) + " /name:" + name + "Off\"";
  }
};

TEST_F(ExecutorRunTest, InstallWalksForwardRemovalBackwardAndTheInitializerGroupComesLast) {
  std::string bundle = Group(1, "G1", ExeProduct(1, "A", "", Undo("A")) + ExeProduct(2, "B", "", Undo("B"))) +
                       Group(2, "Init", ExeProduct(1, "I", "", Undo("I")), "SetupInitializer=\"yes\"") +
                       Group(3, "G3", ExeProduct(1, "C", "", Undo("C")));
  ASSERT_TRUE(LoadBundle(bundle));
  {
    CInstallExecutor executor(*record_, &dispatcher_);
    EXPECT_EQ(executor.Execute(), 0);
  }
  EXPECT_EQ(RunNames(), (std::vector<std::wstring>{L"A", L"B", L"C", L"I"}));
  std::vector<std::wstring> lines = dispatcher_.Log().Lines();
  auto at = [&](const std::wstring& call) { return std::find(lines.begin(), lines.end(), call) - lines.begin(); };
  EXPECT_LT(at(L"EnableCancel(0)"), at(L"OnProduct(0,I,1)"));
  EXPECT_GT(at(L"EnableCancel(0)"), at(L"OnProduct(0,C,1)"));
  EXPECT_EQ(lines.front(), L"OnRun(0)");
  EXPECT_EQ(lines.back(), L"OnRun(1)");

  record_->SetExecutionType(SETUPEXECTYPE_REMOVE);
  CRemoveExecutor remover(*record_, &dispatcher_);
  EXPECT_EQ(remover.Execute(), 0);
  EXPECT_EQ(RunNames(), (std::vector<std::wstring>{L"A", L"B", L"C", L"I", L"COff", L"BOff", L"AOff", L"IOff"}));
}

TEST_F(ExecutorRunTest, GroupStatusIsTheStrongestOfItsProducts) {
  std::string bundle =
      Group(1, "Mixed", ExeProduct(1, "W", "/exit:5", "WarningExitCode=\"w&lt;&gt;5\"") +
                            ExeProduct(2, "E", "/exit:9") +
                            ExeProduct(3, "I", "/exit:6", "InformationalExitCode=\"i&lt;&gt;6\"")) +
      Group(2, "Info", ExeProduct(1, "J", "/exit:6", "InformationalExitCode=\"i&lt;&gt;6\"")) +
      Group(3, "Clean", ExeProduct(1, "K", ""));
  ASSERT_TRUE(LoadBundle(bundle));
  CInstallExecutor executor(*record_, &dispatcher_);
  EXPECT_EQ(executor.Execute(), 3);
  EXPECT_EQ(dispatcher_.Log().Starting(L"OnProduct(1,"),
            (std::vector<std::wstring>{L"OnProduct(1,W,2)", L"OnProduct(1,E,1)", L"OnProduct(1,I,3)",
                                       L"OnProduct(1,J,3)"}));
  EXPECT_EQ(dispatcher_.Log().Starting(L"OnProductGroup(1,"),
            (std::vector<std::wstring>{L"OnProductGroup(1,Mixed,1)", L"OnProductGroup(1,Info,3)",
                                       L"OnProductGroup(1,Clean,0)"}));
  // Not marked Rollback: the warning and the failure count as warnings.
  EXPECT_EQ(executor.GetErrorCount(), 0);
  EXPECT_EQ(executor.GetWarningCount(), 2);
  EXPECT_EQ(executor.GetInformationCount(), 2);
}

TEST_F(ExecutorRunTest, BrokenProductsAreLoggedCountedAndTheRunGoesOn) {
  std::string bundle = Group(
      1, "G",
      "<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"NoStart\" Location=\"" + Utf8(folder_) +
          "absent.exe\"/>" + ExeProduct(2, "Crash", "/crash", "TimeOut=\"20\"") +
          "<Product Sequence=\"3\" Type=\"EXE\" ProductName=\"NoCommand\"/>" + ExeProduct(4, "Fine", ""));
  ASSERT_TRUE(LoadBundle(bundle));
  CInstallExecutor executor(*record_, &dispatcher_);
  EXPECT_EQ(executor.Execute(), 3);
  EXPECT_EQ(RunNames(), (std::vector<std::wstring>{L"Crash", L"Fine"}));
  EXPECT_EQ(executor.GetWarningCount(), 3);
  EXPECT_EQ(dispatcher_.Log().Starting(L"SetProductRebootState("),
            (std::vector<std::wstring>{L"SetProductRebootState(NoStart,87)", L"SetProductRebootState(Crash,3221225477)",
                                       L"SetProductRebootState(NoCommand,87)", L"SetProductRebootState(Fine,0)"}));
  EXPECT_EQ(dispatcher_.Log().Starting(L"OnProduct(1,"),
            (std::vector<std::wstring>{L"OnProduct(1,NoStart,1)", L"OnProduct(1,Crash,1)", L"OnProduct(1,NoCommand,1)"}));
  EXPECT_EQ(log_->Count(L"Process Exit Code  :"), 4u);
}

TEST_F(ExecutorRunTest, WarningsSetWarningExitCodeBeforeTheInitializerGroup) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "W", "/exit:5", "WarningExitCode=\"w&lt;&gt;5\"")) +
                         Group(2, "Init", ExeProduct(1, "I", ""), "SetupInitializer=\"yes\"")));
  CInstallExecutor executor(*record_, &dispatcher_);
  EXPECT_EQ(executor.Execute(), 0);
  std::vector<std::wstring> lines = dispatcher_.Log().Lines();
  auto property = std::find(lines.begin(), lines.end(), L"SetProperty(WARNINGEXITCODE,1)");
  ASSERT_NE(property, lines.end());
  EXPECT_LT(property, std::find(lines.begin(), lines.end(), L"OnProduct(0,I,1)"));
}

TEST_F(ExecutorRunTest, CancelStopsAtTheNextProductAndUndoesWhatRan) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "A", "", Undo("A")) + ExeProduct(2, "B", "", Undo("B")) +
                                           ExeProduct(3, "C", "", Undo("C")))));
  CInstallExecutor executor(*record_, &dispatcher_);
  dispatcher_.Mapper().onProduct = [&](int phase, IProductAttributes* product, int) {
    if (phase == 0 && product->GetProductName() == L"B") executor.Cancel();
  };
  EXPECT_EQ(executor.Execute(), 1);
  // B finished (an EXE is never interrupted), C never started, both ran ones undone.
  EXPECT_EQ(RunNames(), (std::vector<std::wstring>{L"A", L"B", L"BOff", L"AOff"}));
}

TEST_F(ExecutorRunTest, RegistrationComesAfterAllGroupsAndItsFailureGives3) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "A", ""))));
  static_cast<ISetupConfigDataForParser&>(*record_).SetRegisterableSetup(true);
  {
    RecordingRegistrar registrar(dispatcher_.Log(), true);
    CInstallExecutor executor(*record_, &dispatcher_);
    executor.SetBundleRegistrar(&registrar);
    EXPECT_EQ(executor.Execute(), 0);
    std::vector<std::wstring> lines = dispatcher_.Log().Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], L"WriteBundleEntry");
  }
  RecordingRegistrar failing(dispatcher_.Log(), false);
  CInstallExecutor executor(*record_, &dispatcher_);
  executor.SetBundleRegistrar(&failing);
  EXPECT_EQ(executor.Execute(), 3);
  EXPECT_NE(log_->Text().find(L"Failed to update registry entry..."), std::wstring::npos);
}

TEST_F(ExecutorRunTest, MajorUpgradeAsksTheRegistrarWhereTheEarlierBundleLives) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "A", ""))));
  auto& writer = static_cast<ISetupConfigDataForParser&>(*record_);
  writer.SetBootstrapperRegistry(L"UpgradedBundle");
  writer.SetMaintenanceExePath(L"Setup\\Setup.exe");
  record_->SetMajorUpgradeValue(L"{6B1D0C3A-3000-4000-8000-0000000000B1}");
  record_->SetInstalledLocation(L"C:\\Later\\");
  RecordingRegistrar registrar(dispatcher_.Log(), true);
  registrar.installFolder = L"C:\\Earlier\\";
  CInstallExecutor executor(*record_, &dispatcher_);
  executor.SetBundleRegistrar(&registrar);
  EXPECT_EQ(executor.Execute(), 0);
  const std::vector<std::wstring> lines = dispatcher_.Log().Lines();
  const auto read = std::find(lines.begin(), lines.end(), L"ReadBundleInstallFolder");
  ASSERT_NE(read, lines.end());
  // Read before the products run, while the earlier bundle's entry is still its own.
  EXPECT_LT(read - lines.begin(), std::find(lines.begin(), lines.end(), L"OnProduct(0,A,1)") - lines.begin());
  // Nothing is there to remove: the removal says so and the run stays a success.
  EXPECT_NE(log_->Text().find(L"WARNING:\tCCommonUtility::RemoveMaintenanceExeFolder() - Could not find the file path "
                              L"C:\\Earlier\\Setup\\Setup.exe ."),
            std::wstring::npos)
      << Utf8(log_->Text());
}

// A major upgrade into another folder removes the earlier bundle's
// maintenance copy with its folder; the earlier folder's other content stays.
TEST_F(ExecutorRunTest, MajorUpgradeIntoAnotherFolderRemovesTheEarlierMaintenanceCopy) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "A", ""))));
  const std::wstring earlier = folder_ + L"Earlier\\";
  for (const std::wstring& dir : {earlier, earlier + L"Setup\\"}) ::CreateDirectoryW(dir.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW((testsupport::BinFolder() + L"planted_program.exe").c_str(),
                          (earlier + L"Setup\\Setup.exe").c_str(), FALSE));
  ASSERT_TRUE(testsupport::WriteFileBytes(earlier + L"data.txt", "kept"));
  auto& writer = static_cast<ISetupConfigDataForParser&>(*record_);
  writer.SetBootstrapperRegistry(L"UpgradedBundle");
  writer.SetMaintenanceExePath(L"Setup\\Setup.exe");
  record_->SetMajorUpgradeValue(L"{6B1D0C3A-3000-4000-8000-0000000000B1}");
  record_->SetInstalledLocation(folder_ + L"Later\\");
  RecordingRegistrar registrar(dispatcher_.Log(), true);
  registrar.installFolder = earlier;
  CInstallExecutor executor(*record_, &dispatcher_);
  executor.SetBundleRegistrar(&registrar);
  EXPECT_EQ(executor.Execute(), 0);
  // The removal batch runs on its own once started; it ends within seconds.
  bool gone = false;
  for (int i = 0; i < 400 && !gone; ++i) {
    gone = ::GetFileAttributesW((earlier + L"Setup").c_str()) == INVALID_FILE_ATTRIBUTES;
    if (!gone) ::Sleep(50);
  }
  EXPECT_TRUE(gone) << Utf8(log_->Text());
  EXPECT_NE(::GetFileAttributesW((earlier + L"data.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ExecutorRunTest, WithoutAMajorUpgradeTheEntryIsNotRead) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "A", ""))));
  RecordingRegistrar registrar(dispatcher_.Log(), true);
  registrar.installFolder = L"C:\\Earlier\\";
  CInstallExecutor executor(*record_, &dispatcher_);
  executor.SetBundleRegistrar(&registrar);
  EXPECT_EQ(executor.Execute(), 0);
  EXPECT_TRUE(dispatcher_.Log().Starting(L"ReadBundleInstallFolder").empty());
  EXPECT_EQ(log_->Text().find(L"The earlier maintenance folder"), std::wstring::npos);
}

TEST_F(ExecutorRunTest, RemovalDeletesTheEntryAfterItsProducts) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "A", "", Undo("A")))));
  static_cast<ISetupConfigDataForParser&>(*record_).SetRegisterableSetup(true);
  record_->SetExecutionType(SETUPEXECTYPE_REMOVE);
  RecordingRegistrar registrar(dispatcher_.Log(), true);
  CRemoveExecutor remover(*record_, &dispatcher_);
  remover.SetBundleRegistrar(&registrar);
  EXPECT_EQ(remover.Execute(), 0);
  std::vector<std::wstring> lines = dispatcher_.Log().Lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], L"RemoveBundleEntry");
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"AOff"});
}

TEST_F(ExecutorRunTest, InstallNeedsAnInstallDirWithRoomOnItsDrive) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "A", ""))));
  CInstallExecutor executor(*record_, &dispatcher_);
  int outOfSpace = 0;
  EXPECT_FALSE(executor.CheckInitialCondition(outOfSpace));
  EXPECT_EQ(outOfSpace, 0);
  dispatcher_.MsiManager().CacheProperty(L"INSTALLDIR", L"C:\\Program Files\\Acme\\");
  EXPECT_TRUE(executor.CheckInitialCondition(outOfSpace));
  EXPECT_EQ(record_->GetInstalledLocation(), L"C:\\Program Files\\Acme\\");
  record_->GetProductGroupList()->SetTotalSpaceRequired(0x7FFFFFFF);  // megabytes: about 2 PiB
  EXPECT_FALSE(executor.CheckInitialCondition(outOfSpace));
  EXPECT_EQ(outOfSpace, 1);
}

// The WiX sets' own convention: WIXUI_INSTALLDIR names the folder property
// (WixUI_Advanced: APPLICATIONFOLDER) when the package has no INSTALLDIR.
TEST_F(ExecutorRunTest, InstallWithoutInstallDirUsesTheFolderPropertyWixUiInstallDirNames) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "A", ""))));
  CInstallExecutor executor(*record_, &dispatcher_);
  int outOfSpace = 0;
  dispatcher_.MsiManager().CacheProperty(L"WIXUI_INSTALLDIR", L"APPLICATIONFOLDER");
  EXPECT_FALSE(executor.CheckInitialCondition(outOfSpace)) << "the named folder is still empty";
  dispatcher_.MsiManager().CacheProperty(L"APPLICATIONFOLDER", L"C:\\Users\\u\\AppData\\Local\\Apps\\Acme\\");
  EXPECT_TRUE(executor.CheckInitialCondition(outOfSpace));
  EXPECT_EQ(record_->GetInstalledLocation(), L"C:\\Users\\u\\AppData\\Local\\Apps\\Acme\\");
  // INSTALLDIR, where the package has it, stays the folder.
  dispatcher_.MsiManager().CacheProperty(L"INSTALLDIR", L"C:\\Program Files\\Acme\\");
  EXPECT_TRUE(executor.CheckInitialCondition(outOfSpace));
  EXPECT_EQ(record_->GetInstalledLocation(), L"C:\\Program Files\\Acme\\");
  // A relative folder is refused whichever property holds it.
  dispatcher_.MsiManager().CacheProperty(L"INSTALLDIR", L"");
  dispatcher_.MsiManager().CacheProperty(L"APPLICATIONFOLDER", L"Apps\\Acme");
  EXPECT_FALSE(executor.CheckInitialCondition(outOfSpace));
}

struct RebootCase {
  const char* label;
  const char* reboot;
  int exitCode;
  bool accumulate;
  bool nested;
  int expectedResult;
  const wchar_t* expectedCall;  // the dispatcher call made, or null
};
void PrintTo(const RebootCase& c, std::ostream* out) { *out << c.label; }

class RebootRuleTest : public ExecutorRunTest, public ::testing::WithParamInterface<RebootCase> {};

TEST_P(RebootRuleTest, DecidesBetweenGoingOnAndRestartingNow) {
  const RebootCase& c = GetParam();
  BundleSettings settings;
  settings.accumulateConditionalReboot = c.accumulate;
  ASSERT_TRUE(LoadBundle(Group(1, "G",
                               ExeProduct(1, "R", "/exit:" + std::to_string(c.exitCode),
                                          "Reboot=\"" + std::string(c.reboot) + "\"") +
                                   ExeProduct(2, "Next", "")),
                         settings));
  record_->SetNested(c.nested);
  CInstallExecutor executor(*record_, &dispatcher_);
  EXPECT_EQ(executor.Execute(), c.expectedResult);
  bool restartedNow = c.expectedResult == 4;
  const std::vector<std::wstring> expectedRuns =
      restartedNow ? std::vector<std::wstring>{L"R"} : std::vector<std::wstring>{L"R", L"Next"};
  EXPECT_EQ(RunNames(), expectedRuns);
  EXPECT_EQ(executor.IsConditionalRebootAccumulated(), !restartedNow && c.exitCode == 3010 && c.accumulate);
  std::vector<std::wstring> calls = dispatcher_.Log().Starting(L"IntermediateReboot");
  for (const std::wstring& line : dispatcher_.Log().Starting(L"RequestParentReboot")) calls.push_back(line);
  EXPECT_EQ(calls, c.expectedCall ? std::vector<std::wstring>{c.expectedCall} : std::vector<std::wstring>{});
  // The result is kept for the reboot manager under the product's key.
  EXPECT_EQ(dispatcher_.Mapper().GetRebootManager().GetProductResults().at(L"1_1"),
            static_cast<DWORD>(c.exitCode));
  if (restartedNow) {
    EXPECT_TRUE(dispatcher_.Log().Starting(L"OnRollback").empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RebootRuleTest,
    ::testing::Values(RebootCase{"ConditionalAccumulatedGoesOn", "CONDITIONAL", 3010, true, false, 0, nullptr},
                      RebootCase{"ConditionalWithoutAccumulationRestarts", "conditional", 3010, false, false, 4,
                                 L"IntermediateReboot"},
                      RebootCase{"ConditionalWithoutRestartCodeGoesOn", "CONDITIONAL", 0, false, false, 0, nullptr},
                      RebootCase{"ForceRestartsAfterSuccess", "FORCE", 0, true, false, 4, L"IntermediateReboot"},
                      RebootCase{"ChildSetupAsksForRestart", "", 20001, false, false, 4, L"IntermediateReboot"},
                      RebootCase{"NestedHandsRestartToParent", "Force", 0, false, true, 4, L"RequestParentReboot"}),
    [](const ::testing::TestParamInfo<RebootCase>& info) { return info.param.label; });

TEST_F(ExecutorRunTest, ResumedRunReusesEarlierResultsAndRerunsAChildSetupWithRestore) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "Done", "") + ExeProduct(2, "Child", "") +
                                           ExeProduct(3, "Fresh", ""))));
  FindProduct(L"Done")->SetExecutedBeforeReboot(true);
  FindProduct(L"Done")->SetResultBeforeReboot(0);
  FindProduct(L"Child")->SetExecutedBeforeReboot(true);
  FindProduct(L"Child")->SetResultBeforeReboot(20001);
  CInstallExecutor executor(*record_, &dispatcher_);
  EXPECT_EQ(executor.Execute(), 0);
  std::vector<std::wstring> lines = MarkerLines();
  ASSERT_EQ(RunNames(), (std::vector<std::wstring>{L"Child", L"Fresh"}));
  EXPECT_NE(lines[0].find(L"/name:Child  /RESTORE"), std::wstring::npos) << lines[0];
  EXPECT_EQ(lines[1].find(L"/RESTORE"), std::wstring::npos);
  EXPECT_NE(log_->Text().find(L"The product Done was already executed before intermediate reboot, hence skipped."),
            std::wstring::npos);
  EXPECT_TRUE(dispatcher_.Log().Starting(L"IntermediateReboot").empty());
}

TEST_F(ExecutorRunTest, BusyInstallerIsRetriedUntilItsMutexIsReleased) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "Waits", "", "CheckMSIMutex=\"true\""))));
  MutexHolder holder(300);
  dispatcher_.ScriptErrorAnswers({IDRETRY});
  dispatcher_.onErrorDialog = [&](const std::wstring&) { holder.Release(); };
  CInstallExecutor executor(*record_, &dispatcher_);
  EXPECT_EQ(executor.Execute(), 0);
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"Waits"});
  std::vector<std::wstring> questions = dispatcher_.Log().Starting(L"ShowErrorDialog(Setup execution cannot continue");
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find(L",0x40035)"), std::wstring::npos) << Utf8(questions[0]);
  std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"Waiting for MSI mutex. Wait time out 1 sec"), std::wstring::npos);
  EXPECT_NE(log.find(L"User clicked on retry."), std::wstring::npos);
  EXPECT_NE(log.find(L"Bootstrapper grabbed MSI mutex"), std::wstring::npos);
  // Released again: a later installation can take it at once.
  platform::UniqueHandle probe(::CreateMutexW(nullptr, TRUE, kMsiExecuteMutexName));
  EXPECT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

// Counts the ticks of a thread timer: its WM_TIMER reaches the callback only
// when someone dispatches this thread's messages.
std::atomic<int> g_ticks{0};
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST_F(ExecutorRunTest, BusyWaitAsksOnTheExecutorsThreadWhileItsMessagesKeepFlowing) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "Waits", "", "CheckMSIMutex=\"true\""))));
  MutexHolder holder(300);
  dispatcher_.ScriptErrorAnswers({IDRETRY});
  DWORD askedOn = 0;
  int ticksWhenAsked = 0;
  dispatcher_.onErrorDialog = [&](const std::wstring&) {
    askedOn = ::GetCurrentThreadId();
    ticksWhenAsked = g_ticks;
    holder.Release();
  };
  g_ticks = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CountTick);
  ASSERT_NE(timer, 0u);
  CInstallExecutor executor(*record_, &dispatcher_);
  const int result = executor.Execute();
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"Waits"});
  // The question is a window in the wizard: asked on the thread that runs the executor.
  EXPECT_EQ(askedOn, ::GetCurrentThreadId());
  EXPECT_EQ(dispatcher_.Log().OffThreadCalls(), std::vector<std::wstring>{});
  // The one-second wait before the question kept dispatching this thread's messages.
  EXPECT_GE(ticksWhenAsked, 5);
}

// With no wait configured every attempt ends at once and an unattended run
// answers each question with "retry": the attempts are spaced, and the
// question and the waiting line come once, not once per attempt.
TEST_F(ExecutorRunTest, UnattendedBusyWaitWithoutTimeOutNeitherSpinsNorFloodsTheLog) {
  BundleSettings settings;
  settings.msiMutexTimeoutSeconds = 0;
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "Waits", "", "CheckMSIMutex=\"true\"")), settings));
  MutexHolder holder(2500);
  holder.Release();  // the other installation ends in 2.5 s
  CInstallExecutor executor(*record_, &dispatcher_);
  EXPECT_EQ(executor.Execute(), 0);
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"Waits"});
  EXPECT_EQ(dispatcher_.Log().Starting(L"ShowErrorDialog(Setup execution cannot continue").size(), 1u);
  EXPECT_EQ(log_->Count(L"Waiting for MSI mutex. Wait time out 0 sec"), 1u) << Utf8(log_->Text());
  EXPECT_EQ(log_->Count(L"User clicked on retry."), 1u);
}

// Removal asks the same retry-or-cancel question as every other run.
TEST_F(ExecutorRunTest, RemovalAsksRetryOrCancelWhileTheInstallerIsBusy) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "Waits", "", "CheckMSIMutex=\"true\" " + Undo("Waits")))));
  record_->SetExecutionType(SETUPEXECTYPE_REMOVE);
  MutexHolder holder;
  dispatcher_.ScriptErrorAnswers({IDCANCEL});
  CRemoveExecutor executor(*record_, &dispatcher_);
  (void)executor.Execute();
  std::vector<std::wstring> questions = dispatcher_.Log().Starting(L"ShowErrorDialog(Setup execution cannot continue");
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find(L",0x40035)"), std::wstring::npos) << Utf8(questions[0]);
  EXPECT_TRUE(RunNames().empty());
}

TEST_F(ExecutorRunTest, CancelledBusyWaitSkipsTheProductWith1618) {
  ASSERT_TRUE(LoadBundle(Group(1, "G", ExeProduct(1, "Skipped", "", "CheckMSIMutex=\"true\"") +
                                           ExeProduct(2, "Unchecked", ""))));
  MutexHolder holder;
  dispatcher_.ScriptErrorAnswers({IDCANCEL});
  CInstallExecutor executor(*record_, &dispatcher_);
  EXPECT_EQ(executor.Execute(), 3);
  // The unchecked product runs although the mutex is still held.
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"Unchecked"});
  EXPECT_EQ(dispatcher_.Log().Starting(L"SetProductRebootState(Skipped,"),
            std::vector<std::wstring>{L"SetProductRebootState(Skipped,1618)"});
  EXPECT_EQ(executor.GetWarningCount(), 1);
  EXPECT_NE(log_->Text().find(L"MSI could not grab the mutex to execute the product Skipped; hence the product "
                              L"execution is skipped."),
            std::wstring::npos);
}

}  // namespace
}  // namespace enginetest
