#include "engine/SetupLauncherReboot.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/MSIManager.h"
#include "msi/MsiMessageHandler.h"

CSetupLauncherReboot::CSetupLauncherReboot(ISetupConfigData& record, CMSIManager& manager,
                                           const SetupStartData& start, Restorer restorer)
    : CSetupLauncherInstall(record, manager, start), restorer_(std::move(restorer)) {}

int CSetupLauncherReboot::Launch(IEventDispatcher* dispatcher) {
  if (!BeginLaunch(dispatcher)) return 0;
  if (!OpenPackageWithUILevel(location_, INSTALLUILEVEL_FULL)) return 0;
  manager_.GetMessageHandler().RegisterMessageHandlers(manager_.GetPackageHandle());
  manager_.ReadHiddenProperties();
  // The bundle's own properties first, as in the first run, so that a resume
  // data file that cannot be read still leaves a run that can install
  // everything again; what the file restores replaces them.
  ApplyInitializerProperties();
  if (!record_.IsUIMode()) ApplySilentProperties();
  ApplyCommandLineProperties();
  ApplySpecificProperties();
  if (dispatcher_ != nullptr) dispatcher_->StartSetup(record_.GetExecutionType());
  return 1;
}

void CSetupLauncherReboot::ApplySpecificProperties() {
  LogInformation(L"Restoring the data after intermediate reboot...");
  if (!restorer_) {
    LogError(L"CSetupLauncherReboot::ApplySpecificProperties - The SetupManager is null.");
    return;
  }
  if (!restorer_(record_, manager_)) LogError(L"CSetupLauncherReboot::ApplySpecificProperties - Restore failed.");
}
