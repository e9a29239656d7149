#include "ui/dialogs/RestartDialog.h"

#include "engine/CommonUtility.h"
#include "log/Log.h"
#include "registry/RegistryUtil.h"
#include "ui/host/WizardController.h"

namespace ui {

CRestartDialog::CRestartDialog(const CWixDialog& dialog, const DialogServices& services, int mode,
                               std::function<void()> requestRestart)
    : CSpawnDialog(dialog, services, mode), requestRestart_(std::move(requestRestart)) {}

void CRestartDialog::OnEndDialogEvent(int value) {
  LogInformation(L"System restart is required.");
  const bool intermediate = registry::IsRebootMarkerPresent();
  if (value == kEndExit) {
    LogInformation(intermediate ? L"Intermediate reboot: User has chosen to restart now"
                                : L"Restart Dialog:User has chosen to restart now!");
    if (requestRestart_) requestRestart_();
    CSpawnDialog::OnEndDialogEvent(kEndExit);
    return;
  }
  if (value == kEndReturn || value == IDCANCEL) {
    // The trailing blank of the intermediate text is part of the established log line.
    LogInformation(intermediate ? L"Intermediate Reboot: User has chosen to restart later! "
                                : L"Restart Dialog:User has chosen to restart later!");
    if (services_.record != nullptr) (void)CCommonUtility::WriteRestartPendingMarker(*services_.record);
    CSpawnDialog::OnEndDialogEvent(IDCANCEL);
    return;
  }
  CSpawnDialog::OnEndDialogEvent(value);
}

}  // namespace ui
