#include "ui/controls/Text_BT.h"

#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "ui/style/IStyleConfigData.h"
#include "wix/WixControl.h"

namespace ui {

bool IsHyperlinkId(const std::wstring& id) {
  // "Hypelink" is how bundles have always spelled it: keep the spelling.
  return platform::EqualsNoCase(id, L"DescriptionLogFile") || platform::StartsWith(id, L"Hypelink");
}

CText_BT::CText_BT(const CWixControl* control, const ControlContext& context)
    : CControlWindow(control, context),
      text_(context.style != nullptr ? context.style->GetControlStyleValue(kStyleDialog, kModeStandard, kFontColor)
                                     : 0) {}

bool CText_BT::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool transparent = control_ != nullptr && control_->HasAttribute(wixbits::kTransparent);
  if (!transparent) ::FillRect(dc, &rect, context_.backgroundBrush);
  const std::wstring text = GetWindowTextString(GetHwnd());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::IsWindowEnabled(GetHwnd()) ? text_ : ::GetSysColor(COLOR_GRAYTEXT));
  UINT flags = DT_WORDBREAK | DT_NOPREFIX;
  if (text.find(L'\t') != std::wstring::npos) flags |= DT_EXPANDTABS;
  if (control_ != nullptr && control_->HasAttribute(wixbits::kRightAligned)) flags |= DT_RIGHT;
  ::DrawTextW(dc, text.c_str(), -1, &rect, flags);
  return true;
}

void CText_BT::SetDisplayText(const std::wstring& text) { ::SetWindowTextW(GetHwnd(), text.c_str()); }

void CText_BT::RefreshFromProperty() {
  if (control_ == nullptr || context_.msi == nullptr) return;
  std::wstring text = control_->GetText();
  context_.msi->FormatText(text);
  SetDisplayText(text);
}

LRESULT CText_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) {
    // An owner-drawn static does not repaint itself on a new text.
    LRESULT result = CallDefault(message, wParam, lParam);
    ::InvalidateRect(GetHwnd(), nullptr, TRUE);
    return result;
  }
  if (message == WM_ERASEBKGND) return TRUE;
  return CallDefault(message, wParam, lParam);
}

}  // namespace ui
