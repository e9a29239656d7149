#include "ui/silent/SilentModeEventDispatcher.h"

#include "config/ISetupConfigData.h"
#include "config/ISilentConfigData.h"
#include "engine/CommonUtility.h"
#include "engine/ISetupManager.h"
#include "engine/ProductExitCodes.h"
#include "engine/RebootManager.h"
#include "log/Log.h"
#include "log/LogManager.h"
#include "msi/MSIManager.h"
#include "platform/MessageBox.h"
#include "ui/silent/ISilentIndicatorController.h"

CSilentModeEventDispatcher::CSilentModeEventDispatcher(ISetupConfigData& record, ISetupManager& setupManager,
                                                       const ISilentConfigData& silentConfig,
                                                       ISilentIndicatorController* indicator, bool noReboot)
    : record_(record),
      setupManager_(setupManager),
      silentConfig_(silentConfig),
      indicator_(indicator),
      noReboot_(noReboot),
      mapper_(setupManager, indicator) {}

IMSIManager* CSilentModeEventDispatcher::GetMSIManager() { return setupManager_.GetMSIManager(); }

int CSilentModeEventDispatcher::ShowErrorDialog(const std::wstring& text, UINT style) {
  LogError(text);
  // Answering 1 (OK, never Cancel) keeps an unattended run going, e.g. waiting
  // on for a busy Windows Installer.
  if (!silentConfig_.IsShowErrorDialog()) return IDOK;
  return platform::ShowMessageBox(nullptr, text, record_.GetProductName() + L" Setup", style);
}

void CSilentModeEventDispatcher::IntermediateReboot() {
  LogInformation(L"Archiving the data to be used after intermediate reboot...");
  CRebootManager* rebootManager = setupManager_.GetRebootManager();
  if (rebootManager != nullptr) {
    (void)CCommonUtility::PrepareIntermediateReboot(record_, *rebootManager, true, noReboot_);
  }
  const int answer =
      indicator_ != nullptr ? indicator_->Finish(ISilentIndicatorController::kFinishIntermediateRestart) : 1;
  if (answer == 1) {
    LogInformation(L"Intermediate reboot: Restarting system...");
    (void)CCommonUtility::StartMachineRestart();
    return;
  }
  LogInformation(L"Intermediate Reboot: User has chosen to restart later!");
  (void)CCommonUtility::WriteRestartPendingMarker(record_);
  EndProcess(0);
}

void CSilentModeEventDispatcher::RequestParentReboot() {
  if (CRebootManager* rebootManager = setupManager_.GetRebootManager()) {
    (void)CCommonUtility::ArchiveRebootData(record_, *rebootManager);
  }
  EndProcess(kChildSetupRebootExitCode);
}

void CSilentModeEventDispatcher::EndProcess(unsigned exitCode) {
  // No shutdown follows this way out: the tray icon goes now.
  if (indicator_ != nullptr) indicator_->RemoveTrayIcon();
  if (processExit_) {
    processExit_(exitCode);
    return;
  }
  // The log file must be complete before the process goes.
  setuplog::CLogManager::GetInstance().CloseSink();
  ::ExitProcess(exitCode);
}
