#pragma once
// The running-programs warning before the wizard ("CheckProcessDlg"): the
// control "RUNNING_PROCESSES" lists the programs of the bundle's process
// checks that run now. Return looks again: when none runs any more the
// dialog ends, otherwise it stays with the new list.

#include "ui/host/SpawnDialog.h"

namespace ui {

class CCheckProcessDlg : public CSpawnDialog {
 public:
  using CSpawnDialog::CSpawnDialog;
  void OnEndDialogEvent(int value) override;

 protected:
  void OnInitDialog() override;

 private:
  // The configured programs that run now, one per line.
  [[nodiscard]] std::wstring RunningNow() const;
  void ShowList(const std::wstring& running);
};

}  // namespace ui
