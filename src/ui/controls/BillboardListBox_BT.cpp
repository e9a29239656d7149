#include "ui/controls/BillboardListBox_BT.h"

#include <commctrl.h>

#include "config/ISetupConfigData.h"
#include "platform/StringUtil.h"
#include "ui/controls/ControlImages.h"

namespace ui {

namespace {

constexpr int kIconSize = 16;
constexpr int kIconGap = 6;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  RECT rect = {left, top, right, bottom};
  platform::UniqueHBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.Get());
}

void Disc(HDC dc, COLORREF fill, COLORREF edge) {
  platform::UniqueHBrush brush(::CreateSolidBrush(fill));
  platform::UniqueHPen pen(::CreatePen(PS_SOLID, 1, edge));
  HGDIOBJ oldBrush = ::SelectObject(dc, brush.Get());
  HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
  ::Ellipse(dc, 1, 1, 15, 15);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
}

void Stroke(HDC dc, const POINT* points, int count, int width, COLORREF colour) {
  platform::UniqueHPen pen(::CreatePen(PS_SOLID, width, colour));
  HGDIOBJ old = ::SelectObject(dc, pen.Get());
  ::Polyline(dc, points, count);
  ::SelectObject(dc, old);
}

// The built-in state pictures: a waiting ring, a running arrow, a green
// tick, a red cross, a yellow warning triangle and a blue "i".
void DrawState(HDC dc, int state) {
  FillBox(dc, 0, 0, kIconSize, kIconSize, kMaskColour);
  switch (state) {
    case kBillboardWillBeInstalled:
      Disc(dc, RGB(235, 235, 235), RGB(140, 140, 140));
      FillBox(dc, 7, 7, 9, 9, RGB(140, 140, 140));
      break;
    case kBillboardBeingInstalled: {
      Disc(dc, RGB(30, 110, 210), RGB(20, 70, 150));
      const POINT arrow[] = {{5, 4}, {11, 8}, {5, 12}};
      Stroke(dc, arrow, 3, 2, RGB(255, 255, 255));
      break;
    }
    case kBillboardWasInstalled: {
      Disc(dc, RGB(40, 160, 60), RGB(20, 110, 40));
      const POINT tick[] = {{4, 8}, {7, 11}, {12, 5}};
      Stroke(dc, tick, 3, 2, RGB(255, 255, 255));
      break;
    }
    case kBillboardFailed: {
      Disc(dc, RGB(200, 30, 30), RGB(130, 10, 10));
      const POINT down[] = {{5, 5}, {11, 11}};
      const POINT up[] = {{11, 5}, {5, 11}};
      Stroke(dc, down, 2, 2, RGB(255, 255, 255));
      Stroke(dc, up, 2, 2, RGB(255, 255, 255));
      break;
    }
    case kBillboardWarning: {
      platform::UniqueHBrush brush(::CreateSolidBrush(RGB(250, 200, 30)));
      platform::UniqueHPen pen(::CreatePen(PS_SOLID, 1, RGB(150, 110, 0)));
      HGDIOBJ oldBrush = ::SelectObject(dc, brush.Get());
      HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
      const POINT triangle[] = {{8, 1}, {15, 14}, {1, 14}};
      ::Polygon(dc, triangle, 3);
      ::SelectObject(dc, oldPen);
      ::SelectObject(dc, oldBrush);
      FillBox(dc, 7, 5, 9, 10, RGB(0, 0, 0));
      FillBox(dc, 7, 11, 9, 13, RGB(0, 0, 0));
      break;
    }
    default:
      Disc(dc, RGB(30, 110, 210), RGB(20, 70, 150));
      FillBox(dc, 7, 4, 9, 6, RGB(255, 255, 255));
      FillBox(dc, 7, 7, 9, 12, RGB(255, 255, 255));
      break;
  }
}

int AddBuiltIn(HIMAGELIST list, int state) {
  platform::UniqueHdc memory(::CreateCompatibleDC(nullptr));
  HDC screen = ::GetDC(nullptr);
  platform::UniqueHBitmap bitmap(::CreateCompatibleBitmap(screen, kIconSize, kIconSize));
  ::ReleaseDC(nullptr, screen);
  if (!memory || !bitmap) return -1;
  HGDIOBJ old = ::SelectObject(memory.Get(), bitmap.Get());
  DrawState(memory.Get(), state);
  ::SelectObject(memory.Get(), old);
  return ::ImageList_AddMasked(list, bitmap.Get(), kMaskColour);
}

// The package's own picture of a state: an icon, or a bitmap shrunk to the icon size.
int AddFromPackage(HIMAGELIST list, ISetupConfigData& record, const std::wstring& id) {
  const std::wstring path = BinaryImagePath(record, id);
  if (path.empty()) return -1;
  if (platform::EndsWithNoCase(path, L".ico")) {
    HICON icon = LoadBinaryIcon(record, id, kIconSize);
    return icon != nullptr ? ::ImageList_AddIcon(list, icon) : -1;
  }
  platform::UniqueHBitmap bitmap = LoadBinaryBitmap(record, id, kIconSize, kIconSize);
  return bitmap ? ::ImageList_Add(list, bitmap.Get(), nullptr) : -1;
}

}  // namespace

CBillboardListBox_BT::CBillboardListBox_BT(const ControlContext& context, COLORREF textColour)
    : CControlWindow(nullptr, context), text_(textColour) {}

const wchar_t* CBillboardListBox_BT::StateImageName(int state) {
  static const wchar_t* const kNames[kBillboardStateCount] = {L"WillBeInstalled",    L"BeingInstalled",
                                                              L"WasInstalled",       L"FailedInstallation",
                                                              L"ExclamationIcon",    L"Information"};
  return state >= 0 && state < kBillboardStateCount ? kNames[state] : L"";
}

void CBillboardListBox_BT::LoadStateImages() {
  images_.Reset(::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, kBillboardStateCount, 0));
  if (!images_) return;
  for (int state = 0; state < kBillboardStateCount; ++state) {
    int index = context_.record != nullptr ? AddFromPackage(images_.Get(), *context_.record, StateImageName(state)) : -1;
    if (index < 0) index = AddBuiltIn(images_.Get(), state);
    imageIndex_[state] = index;
  }
  // Room for the icon and the text of the list's font.
  HDC dc = ::GetDC(GetHwnd());
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(GetHwnd(), WM_GETFONT, 0, 0));
  HGDIOBJ old = font != nullptr ? ::SelectObject(dc, font) : nullptr;
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc, &metrics);
  if (old != nullptr) ::SelectObject(dc, old);
  ::ReleaseDC(GetHwnd(), dc);
  const int height = metrics.tmHeight + 6 > kIconSize + 6 ? metrics.tmHeight + 6 : kIconSize + 6;
  ::SendMessageW(GetHwnd(), LB_SETITEMHEIGHT, 0, height);
}

int CBillboardListBox_BT::AddItem(const std::wstring& text, int state) {
  const LRESULT index = ::SendMessageW(GetHwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) return -1;
  ::SendMessageW(GetHwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), state);
  return static_cast<int>(index);
}

void CBillboardListBox_BT::SetItemState(int index, int state) {
  if (index < 0) return;
  ::SendMessageW(GetHwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index), state);
  RECT rect;
  if (::SendMessageW(GetHwnd(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
    ::InvalidateRect(GetHwnd(), &rect, TRUE);
  }
  // The line that changed comes into view.
  ::SendMessageW(GetHwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

int CBillboardListBox_BT::GetItemState(int index) const {
  const LRESULT data = ::SendMessageW(GetHwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return data == LB_ERR ? -1 : static_cast<int>(data);
}

LRESULT CBillboardListBox_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND && context_.backgroundBrush != nullptr) {
    // Below the last line the list shows the frame's background, not white.
    RECT client;
    ::GetClientRect(GetHwnd(), &client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, context_.backgroundBrush);
    return TRUE;
  }
  return CallDefault(message, wParam, lParam);
}

void CBillboardListBox_BT::Clear() { ::SendMessageW(GetHwnd(), LB_RESETCONTENT, 0, 0); }

bool CBillboardListBox_BT::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return true;
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  ::FillRect(dc, &rect, context_.backgroundBrush != nullptr ? context_.backgroundBrush
                                                            : reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  const int state = static_cast<int>(item.itemData);
  if (images_ && state >= 0 && state < kBillboardStateCount && imageIndex_[state] >= 0) {
    ::ImageList_Draw(images_.Get(), imageIndex_[state], dc, rect.left + 2,
                     rect.top + (rect.bottom - rect.top - kIconSize) / 2, ILD_TRANSPARENT);
  }
  const LRESULT length = ::SendMessageW(GetHwnd(), LB_GETTEXTLEN, item.itemID, 0);
  std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
  if (length > 0) {
    ::SendMessageW(GetHwnd(), LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
  } else {
    text.clear();
  }
  RECT textRect = rect;
  textRect.left += 2 + kIconSize + kIconGap;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, text_);
  // The running group stands out.
  platform::UniqueHFont bold;
  HGDIOBJ oldFont = nullptr;
  if (state == kBillboardBeingInstalled) {
    LOGFONTW face = {};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(GetHwnd(), WM_GETFONT, 0, 0));
    if (font != nullptr && ::GetObjectW(font, sizeof(face), &face) == sizeof(face)) {
      face.lfWeight = FW_BOLD;
      bold.Reset(::CreateFontIndirectW(&face));
      if (bold) oldFont = ::SelectObject(dc, bold.Get());
    }
  }
  ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (oldFont != nullptr) ::SelectObject(dc, oldFont);
  return true;
}

}  // namespace ui
