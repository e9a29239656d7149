#pragma once
// The progress page of a run: its Cancel button is handed to the event
// mapper, so the execution side can enable it only while cancelling is safe.

#include "ui/host/MSIDialog.h"

namespace ui {

class CProgressDialog : public CMSIDialog {
 public:
  using CMSIDialog::CMSIDialog;

 protected:
  void OnInitDialog() override;
};

}  // namespace ui
