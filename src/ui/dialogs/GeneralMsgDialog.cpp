#include "ui/dialogs/GeneralMsgDialog.h"

#include "wix/WixControl.h"

namespace ui {

CGeneralMsgDialog::CGeneralMsgDialog(const CWixDialog& dialog, const DialogServices& services, int mode,
                                     std::wstring text)
    : CSpawnDialog(dialog, services, mode), text_(std::move(text)) {}

void CGeneralMsgDialog::OnInitDialog() {
  CSpawnDialog::OnInitDialog();
  if (text_.empty()) return;
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control->GetId() == L"UText1") ::SetWindowTextW(binding.window, text_.c_str());
  }
}

}  // namespace ui
