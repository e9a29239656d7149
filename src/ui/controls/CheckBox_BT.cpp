#include "ui/controls/CheckBox_BT.h"

#include "ui/style/IStyleConfigData.h"
#include "wix/WixControl.h"

namespace ui {

CCheckBox_BT::CCheckBox_BT(const CWixControl* control, const ControlContext& context)
    : CControlWindow(control, context),
      text_(context.style != nullptr ? context.style->GetControlStyleValue(kStyleCheckBox, kModeStandard, kFontColor)
                                     : 0),
      disabledText_(context.style != nullptr
                        ? context.style->GetControlStyleValue(kStyleCheckBox, kModeDisabled, kFontColor)
                        : RGB(128, 128, 128)) {}

void CCheckBox_BT::RefreshFromProperty() {
  const bool checked = control_ != nullptr && GetPropertyValue() == control_->GetCheckBoxValue() &&
                       !control_->GetCheckBoxValue().empty();
  ::SendMessageW(GetHwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CCheckBox_BT::SetDisplayText(const std::wstring& text) { ::SetWindowTextW(GetHwnd(), text.c_str()); }

void CCheckBox_BT::OnNotify(WORD code) {
  if (code != BN_CLICKED || control_ == nullptr) return;
  const bool checked = ::SendMessageW(GetHwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  SetPropertyValue(checked ? control_->GetCheckBoxValue() : std::wstring());
}

HBRUSH CCheckBox_BT::OnCtlColor(HDC dc) {
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::IsWindowEnabled(GetHwnd()) ? text_ : disabledText_);
  return context_.backgroundBrush;
}

}  // namespace ui
