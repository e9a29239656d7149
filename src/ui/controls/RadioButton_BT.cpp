#include "ui/controls/RadioButton_BT.h"

#include "ui/style/IStyleConfigData.h"
#include "wix/WixControl.h"

namespace ui {

CRadioBtn_BT::CRadioBtn_BT(const CWixControl* control, const ControlContext& context, CRadioBtnGroup_BT& group,
                           const WixRadioButton& item)
    : COddButton(control, context),
      group_(group),
      value_(item.value),
      text_(context.style != nullptr
                ? context.style->GetControlStyleValue(kStyleRadioButtonGroup, kModeStandard, kFontColor)
                : 0) {}

void CRadioBtn_BT::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  ::InvalidateRect(GetHwnd(), nullptr, TRUE);
}

LRESULT CRadioBtn_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // Owner-drawn buttons keep no check state of their own.
    case BM_GETCHECK:
      return checked_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      SetChecked(wParam == BST_CHECKED);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON | DLGC_RADIOBUTTON | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wParam >= VK_LEFT && wParam <= VK_DOWN) {
        group_.MoveSelection(this, (wParam == VK_LEFT || wParam == VK_UP) ? -1 : 1);
        return 0;
      }
      break;
    default:
      break;
  }
  return COddButton::WindowProc(message, wParam, lParam);
}

bool CRadioBtn_BT::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  ::FillRect(dc, &rect, context_.backgroundBrush);
  const int height = rect.bottom - rect.top;
  const int box = height < 13 ? height : 13;
  RECT mark = {rect.left, rect.top + (height - box) / 2, rect.left + box, rect.top + (height - box) / 2 + box};
  ::DrawFrameControl(dc, &mark, DFC_BUTTON, DFCS_BUTTONRADIO | (checked_ ? DFCS_CHECKED : 0) |
                                                 ((item.itemState & ODS_DISABLED) != 0 ? DFCS_INACTIVE : 0));
  RECT textRect = rect;
  textRect.left += box + 4;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, (item.itemState & ODS_DISABLED) != 0 ? ::GetSysColor(COLOR_GRAYTEXT) : text_);
  const std::wstring text = GetWindowTextString(GetHwnd());
  RECT measured = textRect;
  ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if ((item.itemState & ODS_FOCUS) != 0) {
    ::DrawTextW(dc, text.c_str(), -1, &measured, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    measured.top = textRect.top;
    measured.bottom = textRect.bottom;
    ::DrawFocusRect(dc, &measured);
  }
  return true;
}

void CRadioBtnGroup_BT::Select(CRadioBtn_BT* button, bool notifyDialog) {
  for (const auto& candidate : buttons_) candidate->SetChecked(candidate.get() == button);
  if (button == nullptr) return;
  SetPropertyValue(button->GetValue());
  if (notifyDialog) {
    HWND group = GetHwnd();
    ::SendMessageW(::GetParent(group), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(group), BN_CLICKED),
                   reinterpret_cast<LPARAM>(group));
  }
}

void CRadioBtnGroup_BT::MoveSelection(CRadioBtn_BT* from, int step) {
  const int count = static_cast<int>(buttons_.size());
  if (count == 0) return;
  int index = 0;
  for (int i = 0; i < count; ++i) {
    if (buttons_[static_cast<size_t>(i)].get() == from) index = i;
  }
  CRadioBtn_BT* next = buttons_[static_cast<size_t>(((index + step) % count + count) % count)].get();
  ::SetFocus(next->GetHwnd());
  Select(next, true);
}

void CRadioBtnGroup_BT::OnAttached() {
  const std::wstring value = GetPropertyValue();
  for (const auto& button : buttons_) button->SetChecked(button->GetValue() == value);
}

HBRUSH CRadioBtnGroup_BT::OnCtlColor(HDC dc) {
  ::SetBkMode(dc, TRANSPARENT);
  return context_.backgroundBrush;
}

LRESULT CRadioBtnGroup_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Clicks on the buttons arrive here, their parent.
      if (HIWORD(wParam) == BN_CLICKED) {
        for (const auto& button : buttons_) {
          if (button->GetHwnd() == reinterpret_cast<HWND>(lParam)) Select(button.get(), true);
        }
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (CControlWindow* child = FromHandle(item->hwndItem)) return child->OnDrawItem(*item) ? TRUE : FALSE;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(context_.backgroundBrush);
    default:
      break;
  }
  return CallDefault(message, wParam, lParam);
}

}  // namespace ui
