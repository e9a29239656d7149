#include "ui/controls/ListControls_BT.h"

#include "ui/style/IStyleConfigData.h"
#include "wix/WixControl.h"

namespace ui {

namespace {

// Fills a list of either kind and selects the item of the property's value.
template <UINT kAdd, UINT kSetData, UINT kSetSel>
void FillItems(HWND window, const CWixControl* control, const std::wstring& current) {
  if (control == nullptr) return;
  const auto& items = control->GetItems();
  for (size_t i = 0; i < items.size(); ++i) {
    const std::wstring& text = items[i].text.empty() ? items[i].value : items[i].text;
    LRESULT index = ::SendMessageW(window, kAdd, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) continue;
    ::SendMessageW(window, kSetData, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
    if (items[i].value == current) ::SendMessageW(window, kSetSel, static_cast<WPARAM>(index), 0);
  }
}

// The value of the selected item, through the item's index kept as its data.
template <UINT kGetSel, UINT kGetData>
bool SelectedValue(HWND window, const CWixControl* control, std::wstring& value) {
  if (control == nullptr) return false;
  LRESULT index = ::SendMessageW(window, kGetSel, 0, 0);
  if (index < 0) return false;
  auto item = static_cast<size_t>(::SendMessageW(window, kGetData, static_cast<WPARAM>(index), 0));
  if (item >= control->GetItems().size()) return false;
  value = control->GetItems()[item].value;
  return true;
}

}  // namespace

CComboBox_BT::CComboBox_BT(const CWixControl* control, const ControlContext& context)
    : CControlWindow(control, context),
      edge_(context.style != nullptr ? context.style->GetControlStyleValue(kStyleComboBox, kModeStandard, kColorEdge)
                                     : 0),
      fieldBrush_(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW))) {}

void CComboBox_BT::OnAttached() {
  FillItems<CB_ADDSTRING, CB_SETITEMDATA, CB_SETCURSEL>(GetHwnd(), control_, GetPropertyValue());
}

void CComboBox_BT::OnNotify(WORD code) {
  std::wstring value;
  if (code == CBN_SELCHANGE && SelectedValue<CB_GETCURSEL, CB_GETITEMDATA>(GetHwnd(), control_, value)) {
    SetPropertyValue(value);
  }
}

HBRUSH CComboBox_BT::OnCtlColor(HDC) { return fieldBrush_.Get(); }

LRESULT CComboBox_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallDefault(message, wParam, lParam);
  if (message == WM_PAINT) {
    // A one-pixel frame in the style's edge colour over the standard border.
    HDC dc = ::GetWindowDC(GetHwnd());
    RECT rect;
    ::GetWindowRect(GetHwnd(), &rect);
    ::OffsetRect(&rect, -rect.left, -rect.top);
    platform::UniqueHBrush frame(::CreateSolidBrush(edge_));
    ::FrameRect(dc, &rect, frame.Get());
    ::ReleaseDC(GetHwnd(), dc);
  }
  return result;
}

void CListBox_BT::OnAttached() {
  FillItems<LB_ADDSTRING, LB_SETITEMDATA, LB_SETCURSEL>(GetHwnd(), control_, GetPropertyValue());
}

void CListBox_BT::OnNotify(WORD code) {
  std::wstring value;
  if (code == LBN_SELCHANGE && SelectedValue<LB_GETCURSEL, LB_GETITEMDATA>(GetHwnd(), control_, value)) {
    SetPropertyValue(value);
  }
}

}  // namespace ui
