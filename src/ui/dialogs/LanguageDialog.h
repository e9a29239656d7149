#pragma once
// The language question before the wizard ("Language_Dlg"): its combo box
// offers the bundle's languages; Return stores the chosen one in the record
// and in the combo box's property. Reading the texts again in the new
// language is left to whoever showed the dialog, once it is closed.

#include "ui/host/SpawnDialog.h"

namespace ui {

class CLanguageDialog : public CSpawnDialog {
 public:
  using CSpawnDialog::CSpawnDialog;
  void OnEndDialogEvent(int value) override;

 protected:
  void OnInitDialog() override;

 private:
  [[nodiscard]] const CControlBinding* FindCombo();
};

}  // namespace ui
