#include "ui/controls/MenuEx_BT.h"

namespace ui {

namespace {
constexpr int kIconSize = 16;
constexpr int kPadding = 4;
}  // namespace

CMenuEx_BT::CMenuEx_BT() : menu_(::CreatePopupMenu()) { items_.reserve(8); }

CMenuEx_BT::~CMenuEx_BT() {
  if (menu_ != nullptr) ::DestroyMenu(menu_);
}

void CMenuEx_BT::AddItem(UINT command, const std::wstring& text, HICON icon, bool enabled) {
  if (menu_ == nullptr) return;
  items_.push_back(Item{command, text, icon});
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  // The text is kept with the item too, so screen readers and test drivers can read it.
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_STATE;
  info.fType = MFT_OWNERDRAW;
  info.fState = enabled ? MFS_ENABLED : MFS_DISABLED;
  info.wID = command;
  info.dwItemData = static_cast<ULONG_PTR>(items_.size() - 1);
  info.dwTypeData = items_.back().text.data();
  (void)::InsertMenuItemW(menu_, ::GetMenuItemCount(menu_), TRUE, &info);
}

void CMenuEx_BT::AddSeparator() {
  if (menu_ != nullptr) (void)::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
}

UINT CMenuEx_BT::Track(HWND owner, POINT screen) {
  if (menu_ == nullptr) return 0;
  return static_cast<UINT>(::TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                            screen.x, screen.y, 0, owner, nullptr));
}

bool CMenuEx_BT::OnMeasureItem(MEASUREITEMSTRUCT& measure) const {
  if (measure.CtlType != ODT_MENU || measure.itemData >= items_.size()) return false;
  const Item& item = items_[measure.itemData];
  HDC dc = ::GetDC(nullptr);
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  (void)::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  platform::UniqueHFont font(::CreateFontIndirectW(&metrics.lfMenuFont));
  HGDIOBJ old = ::SelectObject(dc, font.Get());
  SIZE size = {};
  (void)::GetTextExtentPoint32W(dc, item.text.c_str(), static_cast<int>(item.text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  measure.itemWidth = static_cast<UINT>(size.cx + kIconSize + 3 * kPadding);
  measure.itemHeight = static_cast<UINT>((size.cy > kIconSize ? size.cy : kIconSize) + 2 * kPadding);
  return true;
}

bool CMenuEx_BT::OnDrawItem(const DRAWITEMSTRUCT& draw) const {
  if (draw.CtlType != ODT_MENU || draw.itemData >= items_.size()) return false;
  const Item& item = items_[draw.itemData];
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  const bool disabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  const int top = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - kIconSize) / 2;
  if (item.icon != nullptr) {
    ::DrawIconEx(draw.hDC, draw.rcItem.left + kPadding, top, item.icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
  }
  RECT text = draw.rcItem;
  text.left += kIconSize + 2 * kPadding;
  ::SetBkMode(draw.hDC, TRANSPARENT);
  ::SetTextColor(draw.hDC, ::GetSysColor(disabled ? COLOR_GRAYTEXT : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT)));
  ::DrawTextW(draw.hDC, item.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  return true;
}

}  // namespace ui
