#pragma once
// The brand question before the wizard ("PreInstallDlg"): Return applies the
// brand the dialog's controls left in the BRAND property, and with it the
// product name the frame and the pages show.

#include "ui/host/SpawnDialog.h"

namespace ui {

class CBrandDialog : public CSpawnDialog {
 public:
  using CSpawnDialog::CSpawnDialog;
  void OnEndDialogEvent(int value) override;

 private:
  void ApplyBrand();
};

}  // namespace ui
