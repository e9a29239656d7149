#include "ui/dialogs/CheckProcessDlg.h"

#include "config/ISetupConfigData.h"
#include "features/PreInstallChecks.h"
#include "platform/StringUtil.h"
#include "ui/host/WizardController.h"
#include "wix/WixControl.h"

namespace ui {

std::wstring CCheckProcessDlg::RunningNow() const {
  // The record keeps the configured list; which of them run is asked anew.
  if (services_.record == nullptr) return std::wstring();
  return CPreInstallChecks::GetRunningProcesses(services_.record->GetRunningProcessesText());
}

void CCheckProcessDlg::ShowList(const std::wstring& running) {
  // A static control breaks lines at CR LF.
  std::wstring text = running;
  platform::ReplaceAll(text, L"\n", L"\r\n");
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control != nullptr && binding.control->GetId() == L"RUNNING_PROCESSES") {
      ::SetWindowTextW(binding.window, text.c_str());
    }
  }
}

void CCheckProcessDlg::OnInitDialog() {
  CSpawnDialog::OnInitDialog();
  ShowList(RunningNow());
}

void CCheckProcessDlg::OnEndDialogEvent(int value) {
  if (value != kEndReturn) {
    CSpawnDialog::OnEndDialogEvent(value);
    return;
  }
  const std::wstring running = RunningNow();
  if (running.empty()) {
    CSpawnDialog::OnEndDialogEvent(1);
    return;
  }
  ShowList(running);
}

}  // namespace ui
