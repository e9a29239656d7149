#include "ui/dialogs/PrepareDialog.h"

#include "wix/WixControl.h"

namespace ui {

void CPrepareDialog::OnInitDialog() {
  CMSIDialog::OnInitDialog();
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control->GetId() == L"Cancel") ::EnableWindow(binding.window, FALSE);
  }
}

}  // namespace ui
