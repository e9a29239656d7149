#include "ui/silent/SilentModeFlow.h"

#include "config/ExecutionType.h"
#include "config/IPreInstallDialogData.h"
#include "config/IPreInstallDialogList.h"
#include "config/ISetupConfigData.h"
#include "engine/CommonUtility.h"
#include "engine/ISetupManager.h"
#include "engine/ProductExitCodes.h"
#include "features/FeatureUtility.h"
#include "features/PreInstallChecks.h"
#include "features/WindowsInstallerUpdate.h"
#include "log/Log.h"
#include "msi/MSIManager.h"
#include "ui/silent/ISilentIndicatorController.h"

CSilentModeFlow::CSilentModeFlow(ISetupConfigData& record, ISetupManager& setupManager,
                                 const ISilentConfigData& silentConfig, ISilentIndicatorController* indicator,
                                 IWixDataManager* wixModel, Options options)
    : record_(record),
      setupManager_(setupManager),
      indicator_(indicator),
      wixModel_(wixModel),
      options_(std::move(options)),
      dispatcher_(std::make_unique<CSilentModeEventDispatcher>(record, setupManager, silentConfig, indicator,
                                                               options_.noReboot)) {}

CSilentModeFlow::~CSilentModeFlow() = default;

int CSilentModeFlow::Finish(int state) { return indicator_ != nullptr ? indicator_->Finish(state) : 1; }

bool CSilentModeFlow::Stop(const std::wstring& error) {
  if (!error.empty()) LogError(error);
  (void)Finish(ISilentIndicatorController::kFinishFailed);
  return false;
}

bool CSilentModeFlow::IsProcessCheckFailing() {
  IPreInstallDialogList* dialogs = record_.GetPreInstallDialogList();
  IPreInstallDialogData* entry = dialogs != nullptr ? dialogs->FindDialog(L"CheckProcessDlg") : nullptr;
  if (entry == nullptr) return false;
  return CPreInstallChecks::IsCheckProcessDlgToBeShown(record_, dispatcher_->GetMSIManager(), entry->GetCondition());
}

bool CSilentModeFlow::Run() {
  if (indicator_ != nullptr) indicator_->Start();

  // IsRestartDlgToBeShown logs why the run stops.
  if (CPreInstallChecks::IsRestartDlgToBeShown(record_)) return Stop(L"");
  if (CPreInstallChecks::IsPrepareMsgDlgToBeShown(record_)) {
    LogInformation(L"Installing windows installer");
    if (InstallWindowsInstaller(record_) == 0) return Stop(L"Failed to install windows installer");
  }
  if (options_.deleteResumeOptions) options_.deleteResumeOptions();

  if (setupManager_.LaunchInitializer(dispatcher_.get()) == 0) return Stop(L"Failed to start the initializer setup");
  // The process checks' conditions need the main package's session, which the
  // initializer pass opens; before it every condition reads as false and no
  // process would ever be checked. The pass itself changes nothing.
  if (IsProcessCheckFailing()) {
    return Stop(L"The setup will be aborted now. Close the running processes before you run the setup again!");
  }

  const int executionType = record_.GetExecutionType();
  if (executionType == SETUPEXECTYPE_INSTALLATION) {
    // The add-ons' lock state decides which of them may be left out.
    CFeatureUtility features(wixModel_);
    if (IMSIManager* msiManager = dispatcher_->GetMSIManager()) features.InitFeatureStates(record_, *msiManager);
    if (!options_.skipAddOnProducts.empty()) features.SkipNonFeatures(options_.skipAddOnProducts);
  }

  int blocked = 0;
  if (setupManager_.PrepareExecution(blocked) == 0) {
    return Stop(L"Initial condition check has failed. Exiting the setup.");
  }

  const int result = setupManager_.Execute(executionType);
  if (result == 0) {
    if (options_.noReboot || !setupManager_.IsRebootRequired()) {
      (void)Finish(ISilentIndicatorController::kFinishSuccess);
    } else {
      LogInformation(L"System needs a reboot to complete the installation!!");
      const int answer = Finish(ISilentIndicatorController::kFinishRestartNeeded);
      if (answer == 0) {
        (void)CCommonUtility::WriteRestartPendingMarker(record_);
      } else if (options_.setRestartPending) {
        options_.setRestartPending(answer);
      }
    }
  } else if (result == kRunFailedStopped || result == kRunFailedContinued) {
    return Stop(L"");
  }
  return true;
}
