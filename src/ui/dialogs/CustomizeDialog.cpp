#include "ui/dialogs/CustomizeDialog.h"

#include "ui/controls/ControlWindow.h"
#include "wix/WixControl.h"

namespace ui {

CCustomizeDialog::CCustomizeDialog(const CWixDialog& dialog, const DialogServices& services)
    : CMSIDialog(dialog, services) {}

void CCustomizeDialog::OnInitDialog() {
  CMSIDialog::OnInitDialog();
  auto window = [this](const wchar_t* id) {
    CControlWindow* control = FindControl(id);
    return control != nullptr ? control->GetHwnd() : nullptr;
  };
  browse_ = window(L"Browse");
  location_ = window(L"Location");
  locationLabel_ = window(L"LocationLabel");
  // Browse edits the selected feature's folder: it follows whether that
  // feature has one (the tree tells this with its path-enabled event).
  if (browse_ != nullptr) AddSubscriber(kSelectionPathEnabledEvent, kSubscribeEnabled, browse_);
}

}  // namespace ui
