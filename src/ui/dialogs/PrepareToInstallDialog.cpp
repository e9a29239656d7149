#include "ui/dialogs/PrepareToInstallDialog.h"

#include <system_error>

#include "config/ISetupConfigData.h"
#include "features/WindowsInstallerUpdate.h"
#include "log/Log.h"
#include "ui/host/WizardController.h"

namespace ui {

namespace {
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchPeriodMs = 200;

BOOL CALLBACK EnableChild(HWND child, LPARAM enable) {
  ::EnableWindow(child, static_cast<BOOL>(enable));
  return TRUE;
}
}  // namespace

CPrepareToInstallDialog::~CPrepareToInstallDialog() {
  // The worker uses the record: it must be finished before the dialog goes.
  if (worker_.joinable()) worker_.join();
}

void CPrepareToInstallDialog::OnInitDialog() {
  CSpawnDialog::OnInitDialog();
  if (services_.record == nullptr) {
    CSpawnDialog::OnEndDialogEvent(kEndExit);
    return;
  }
  ::EnumChildWindows(GetHwnd(), &EnableChild, FALSE);
  busy_ = true;
  ISetupConfigData* record = services_.record;
  try {
    // The worker touches no window: the timer below watches its flag.
    worker_ = std::thread([this, record]() {
      result_ = InstallWindowsInstaller(*record);
      done_ = true;
    });
  } catch (const std::system_error&) {
    LogDebug(L"Failed to create thread to install WindowsInstaller3.1");
    busy_ = false;
    CSpawnDialog::OnEndDialogEvent(kEndExit);
    return;
  }
  ::SetTimer(GetHwnd(), kWatchTimer, kWatchPeriodMs, nullptr);
}

void CPrepareToInstallDialog::OnWatchTimer() {
  if (!done_) return;
  ::KillTimer(GetHwnd(), kWatchTimer);
  if (worker_.joinable()) worker_.join();
  busy_ = false;
  ::EnumChildWindows(GetHwnd(), &EnableChild, TRUE);
  if (result_ != 1) {
    LogError(L"Failed to install WindowsInstaller3.1");
    CSpawnDialog::OnEndDialogEvent(kEndExit);
    return;
  }
  CSpawnDialog::OnEndDialogEvent(1);
}

void CPrepareToInstallDialog::OnEndDialogEvent(int value) {
  if (busy_) return;  // the update decides how the dialog ends
  CSpawnDialog::OnEndDialogEvent(value);
}

void CPrepareToInstallDialog::OnCancel() {
  if (busy_) return;
  CSpawnDialog::OnCancel();
}

INT_PTR CPrepareToInstallDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == WM_TIMER && wParam == kWatchTimer) {
    handled = true;
    OnWatchTimer();
    return TRUE;
  }
  // No control event (and so no condition) while msi.dll is away.
  if (busy_ && message == WM_COMMAND) {
    handled = true;
    return TRUE;
  }
  return CSpawnDialog::HandleMessage(message, wParam, lParam, handled);
}

}  // namespace ui
