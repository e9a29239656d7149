// The silent flow, its dispatcher and its mapper against a recording setup
// manager and indicator: every early stop, the finish states, the restart
// decision, the rollback progress and the error answers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ConfigTestSupport.h"
#include "config/ExecutionType.h"
#include "config/SetupConfigFixture.h"
#include "config/SilentConfigData.h"
#include "engine/CommonUtility.h"
#include "engine/ISetupManager.h"
#include "engine/RebootManager.h"
#include "platform/MessageBox.h"
#include "registry/RegistryUtil.h"
#include "ui/silent/ISilentIndicatorController.h"
#include "ui/silent/SilentModeFlow.h"

namespace {

class RecordingSetupManager final : public ISetupManager {
 public:
  CMSIManager* GetMSIManager() override { return nullptr; }
  CRebootManager* GetRebootManager() override { return &reboot; }
  int LaunchInitializer(IEventDispatcher* dispatcher) override {
    calls.push_back(L"LaunchInitializer");
    launchedWith = dispatcher;
    return launchResult;
  }
  int Execute(int executionType) override {
    calls.push_back(L"Execute(" + std::to_wstring(executionType) + L")");
    return executeResult;
  }
  void Cancel() override { calls.push_back(L"Cancel"); }
  int PrepareExecution(int& blocked) override {
    calls.push_back(L"PrepareExecution");
    blocked = 0;
    return prepareResult;
  }
  bool IsRebootRequired() override { return rebootRequired; }

  int launchResult = 1;
  int prepareResult = 1;
  int executeResult = 0;
  bool rebootRequired = false;
  IEventDispatcher* launchedWith = nullptr;
  std::vector<std::wstring> calls;
  CRebootManager reboot;
};

class RecordingIndicator final : public ISilentIndicatorController {
 public:
  void Start() override { calls.push_back(L"Start"); }
  void OnProductFinished() override { calls.push_back(L"OnProductFinished"); }
  void OnRollbackStarted() override { calls.push_back(L"OnRollbackStarted"); }
  void OnRollbackGroup() override { calls.push_back(L"OnRollbackGroup"); }
  void ShowProgress(int percent) override { calls.push_back(L"ShowProgress(" + std::to_wstring(percent) + L")"); }
  int Finish(int state) override {
    calls.push_back(L"Finish(" + std::to_wstring(state) + L")");
    return finishAnswer;
  }
  int finishAnswer = 1;
  std::vector<std::wstring> calls;
};

class SilentModeFlowTest : public configtest::SetupConfigTest {
 protected:
  void SetUp() override {
    SetupConfigTest::SetUp();
    configtest::SetupConfigSections sections;
    sections.general =
        "<General><BootstrapperRegistry Value=\"SilentFlowTestBundle\"/><Logfile Name=\"C:\\Logs\\Setup.log\" "
        "Level=\"DEVELOPERINFO\" Mode=\"OVERWRITE\" MaxLengthOfFile=\"5\"/></General>";
    ASSERT_TRUE(Parse(sections));
    record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
    (void)registry::DeleteValue(registry::kRunOnceKey, Marker());
  }
  void TearDown() override {
    (void)registry::DeleteValue(registry::kRunOnceKey, Marker());
    SetupConfigTest::TearDown();
  }
  static std::wstring Marker() { return std::wstring(CCommonUtility::kRestartPendingPrefix) + L"SilentFlowTestBundle"; }
  static bool MarkerExists() {
    platform::UniqueHKey key;
    if (registry::OpenKey(registry::kRunOnceKey, KEY_QUERY_VALUE, registry::View::Default, key) != ERROR_SUCCESS) {
      return false;
    }
    return ::RegQueryValueExW(key.Get(), Marker().c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  bool RunFlow(CSilentModeFlow::Options options = {}) {
    options.setRestartPending = [this](int pending) { restartPending_ = pending; };
    CSilentModeFlow flow(*record_, manager_, silent_, &indicator_, nullptr, std::move(options));
    return flow.Run();
  }

  RecordingSetupManager manager_;
  RecordingIndicator indicator_;
  CSilentConfigData silent_;
  int restartPending_ = -1;
};

struct StopCase {
  const char* name;
  int launch;
  int prepare;
  int execute;
  const wchar_t* error;
  size_t callsMade;
};

class SilentFlowStops : public SilentModeFlowTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(SilentFlowStops, EndWithTheFailedFinishAndItsMessage) {
  const StopCase& c = GetParam();
  manager_.launchResult = c.launch;
  manager_.prepareResult = c.prepare;
  manager_.executeResult = c.execute;
  modeltest::LogCapture log;

  EXPECT_FALSE(RunFlow());

  EXPECT_EQ(manager_.calls.size(), c.callsMade);
  EXPECT_EQ(indicator_.calls, (std::vector<std::wstring>{L"Start", L"Finish(2)"}));
  if (c.error[0] != L'\0') {
    EXPECT_EQ(log.Count(std::wstring(L"ERROR:\t\t") + c.error), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stops, SilentFlowStops,
    ::testing::Values(StopCase{"Initializer", 0, 1, 0, L"Failed to start the initializer setup", 1},
                      StopCase{"InitialCondition", 1, 0, 0, L"Initial condition check has failed. Exiting the setup.", 2},
                      StopCase{"FailedStopped", 1, 1, 2, L"", 3}, StopCase{"FailedContinued", 1, 1, 3, L"", 3}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

TEST_F(SilentModeFlowTest, PendingRestartStopsBeforeTouchingAnything) {
  ASSERT_TRUE(CCommonUtility::WriteRestartPendingMarker(*record_));
  modeltest::LogCapture log;
  EXPECT_FALSE(RunFlow());
  EXPECT_TRUE(manager_.calls.empty());
  EXPECT_EQ(indicator_.calls, (std::vector<std::wstring>{L"Start", L"Finish(2)"}));
  EXPECT_EQ(log.Count(L"You must restart your system before running this setup."), 1u);
}

TEST_F(SilentModeFlowTest, SuccessRunsInitializerPreparationAndExecutionOfTheRecordsType) {
  record_->SetExecutionType(SETUPEXECTYPE_REPAIR);
  bool resumeDeleted = false;
  CSilentModeFlow::Options options;
  options.deleteResumeOptions = [&resumeDeleted]() { resumeDeleted = true; };
  EXPECT_TRUE(RunFlow(std::move(options)));
  EXPECT_TRUE(resumeDeleted);
  EXPECT_EQ(manager_.calls,
            (std::vector<std::wstring>{L"LaunchInitializer", L"PrepareExecution", L"Execute(3)"}));
  EXPECT_NE(manager_.launchedWith, nullptr);
  EXPECT_EQ(indicator_.calls, (std::vector<std::wstring>{L"Start", L"Finish(0)"}));
}

TEST_F(SilentModeFlowTest, CancelledOrRestartingRunsEndWithoutAFinishWindow) {
  for (int result : {1, 4}) {
    manager_.executeResult = result;
    indicator_.calls.clear();
    EXPECT_TRUE(RunFlow());
    EXPECT_EQ(indicator_.calls, (std::vector<std::wstring>{L"Start"}));
  }
}

TEST_F(SilentModeFlowTest, FinalRestartFollowsTheFinishAnswerOrTheNoRebootOption) {
  manager_.rebootRequired = true;
  CSilentModeFlow::Options noReboot;
  noReboot.noReboot = true;
  EXPECT_TRUE(RunFlow(std::move(noReboot)));
  EXPECT_EQ(indicator_.calls.back(), L"Finish(0)");
  EXPECT_EQ(restartPending_, -1);

  indicator_.finishAnswer = 1;
  EXPECT_TRUE(RunFlow());
  EXPECT_EQ(indicator_.calls.back(), L"Finish(1)");
  EXPECT_EQ(restartPending_, 1);
  EXPECT_FALSE(MarkerExists());

  restartPending_ = -1;
  indicator_.finishAnswer = 0;
  EXPECT_TRUE(RunFlow());
  EXPECT_EQ(restartPending_, -1);
  EXPECT_TRUE(MarkerExists());
}

TEST_F(SilentModeFlowTest, MapperMovesTheIndicatorThroughRollbackAndKeepsProductResults) {
  CSilentModeEventDispatcher dispatcher(*record_, manager_, silent_, &indicator_, false);
  IEventMapper* mapper = dispatcher.GetEventMapper();
  ASSERT_NE(mapper, nullptr);
  std::vector<IProductAttributes*> products = Products();
  ASSERT_FALSE(products.empty());

  mapper->OnProduct(0, products[0], 1);
  mapper->OnProduct(1, products[0], 0);
  mapper->SetProductRebootState(products[0], 3010);
  mapper->OnRollback(0, 3);
  mapper->OnRollbackGroup(0, nullptr, 1);
  for (int i = 0; i < 4; ++i) mapper->OnRollbackProduct(1, products[0], 0);
  mapper->OnRollbackProduct(0, products[0], 1);

  EXPECT_EQ(indicator_.calls,
            (std::vector<std::wstring>{L"OnProductFinished", L"OnRollbackStarted", L"OnRollbackGroup", L"ShowProgress(33)",
                                       L"ShowProgress(66)", L"ShowProgress(99)", L"ShowProgress(100)"}));
  ASSERT_EQ(manager_.reboot.GetProductResults().count(products[0]->GetKey()), 1u);
  EXPECT_EQ(manager_.reboot.GetProductResults().at(products[0]->GetKey()), 3010u);

  HANDLE progress = nullptr;
  mapper->StartProgressManager(progress, 1000);
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(::WaitForSingleObject(progress, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  mapper->StopProgressManager();
  EXPECT_EQ(::WaitForSingleObject(progress, 0), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST_F(SilentModeFlowTest, MapperCountsEveryExecutedProductOnceWhetherOrNotItReportsAStatus) {
  CSilentModeEventDispatcher dispatcher(*record_, manager_, silent_, &indicator_, false);
  IEventMapper* mapper = dispatcher.GetEventMapper();
  std::vector<IProductAttributes*> products = Products();
  ASSERT_FALSE(products.empty());
  // A success: the executor sends no status at the product's end.
  mapper->OnProduct(0, products[0], 1);
  mapper->SetProductRebootState(products[0], 0);
  // A warning: the status follows the result.
  mapper->OnProduct(0, products[0], 1);
  mapper->SetProductRebootState(products[0], 3010);
  mapper->OnProduct(1, products[0], 2);
  EXPECT_EQ(indicator_.calls, (std::vector<std::wstring>{L"OnProductFinished", L"OnProductFinished"}));
}

TEST_F(SilentModeFlowTest, ErrorsAreLoggedAndShownOnlyWhenSilentConfigAsks) {
  CSilentModeEventDispatcher dispatcher(*record_, manager_, silent_, nullptr, false);
  std::vector<std::wstring> boxes;
  platform::SetMessageBoxHandler([&boxes](HWND, const std::wstring& text, const std::wstring& caption, UINT) {
    boxes.push_back(text + L"|" + caption);
    return IDRETRY;
  });
  modeltest::LogCapture log;
  EXPECT_EQ(dispatcher.ShowErrorDialog(L"Installer busy", MB_RETRYCANCEL), IDOK);
  silent_.SetShowErrorDialog(true);
  record_->SetProductName(L"Studio");
  EXPECT_EQ(dispatcher.ShowErrorDialog(L"Installer busy", MB_RETRYCANCEL), IDRETRY);
  platform::SetMessageBoxHandler({});
  EXPECT_EQ(boxes, (std::vector<std::wstring>{L"Installer busy|Studio Setup"}));
  EXPECT_EQ(log.Count(L"ERROR:\t\tInstaller busy"), 2u);
  EXPECT_EQ(dispatcher.GetMainWindowHandle(), nullptr);
  EXPECT_EQ(dispatcher.GetMSIManager(), nullptr);
}

TEST_F(SilentModeFlowTest, NestedRestartArchivesAndEndsWithTheParentRestartCode) {
  CSilentModeEventDispatcher dispatcher(*record_, manager_, silent_, nullptr, false);
  unsigned exitCode = 0;
  dispatcher.SetProcessExit([&exitCode](unsigned code) { exitCode = code; });
  dispatcher.RequestParentReboot();
  EXPECT_EQ(exitCode, 20001u);
}

TEST_F(SilentModeFlowTest, IntermediateRestartLaterLeavesTheMarkerAndEndsWithZero) {
  indicator_.finishAnswer = 0;
  CSilentModeEventDispatcher dispatcher(*record_, manager_, silent_, &indicator_, false);
  unsigned exitCode = 99;
  dispatcher.SetProcessExit([&exitCode](unsigned code) { exitCode = code; });
  dispatcher.IntermediateReboot();
  (void)registry::DeleteValue(registry::kRunOnceKey, registry::kRebootMarkerValue);
  EXPECT_EQ(indicator_.calls, (std::vector<std::wstring>{L"Finish(3)"}));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(MarkerExists());
}

}  // namespace
