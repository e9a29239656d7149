#pragma once
// The page shown while the main package prepares (PrepareDlg): nothing can be
// cancelled then, so its Cancel button is disabled.

#include "ui/host/MSIDialog.h"

namespace ui {

class CPrepareDialog : public CMSIDialog {
 public:
  using CMSIDialog::CMSIDialog;

 protected:
  void OnInitDialog() override;
};

}  // namespace ui
