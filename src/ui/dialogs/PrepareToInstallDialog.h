#pragma once
// The Windows Installer update before the wizard ("PrepareMsgDlg"): the
// redistributable runs on a worker thread while a timer watches it. msi.dll
// is unloaded meanwhile, so the dialog takes no input and evaluates no
// condition until the worker is done; it ends with 1 when the update
// succeeded and with Exit (15) when it failed.

#include <atomic>
#include <thread>

#include "ui/host/SpawnDialog.h"

namespace ui {

class CPrepareToInstallDialog : public CSpawnDialog {
 public:
  using CSpawnDialog::CSpawnDialog;
  ~CPrepareToInstallDialog() override;

  void OnEndDialogEvent(int value) override;

 protected:
  void OnInitDialog() override;
  void OnCancel() override;
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void OnWatchTimer();

  std::thread worker_;
  std::atomic<bool> done_{false};
  std::atomic<int> result_{0};
  bool busy_ = false;
};

}  // namespace ui
