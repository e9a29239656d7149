#include "ui/controls/Button_BT.h"

#include <commctrl.h>

#include "ui/style/IStyleConfigData.h"

namespace ui {

namespace {
COLORREF StyleColour(const ControlContext& context, int kind, int mode, int index) {
  return context.style != nullptr ? context.style->GetControlStyleValue(kind, mode, index) : 0;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}
}  // namespace

void COddButton::MakeOwnerDrawn() {
  HWND window = GetHwnd();
  LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  isDefault_ = (style & 0x0F) == BS_DEFPUSHBUTTON;
  style = (style & ~static_cast<LONG_PTR>(0x0F)) | BS_OWNERDRAW;
  ::SetWindowLongPtrW(window, GWL_STYLE, style);
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void COddButton::SetHover(bool hover) {
  if (hover_ == hover) return;
  hover_ = hover;
  ::InvalidateRect(GetHwnd(), nullptr, FALSE);
}

LRESULT COddButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case BM_SETSTYLE: {
      // The dialog moves the default look by restyling buttons; an owner-drawn
      // button must stay owner-drawn and only remember the new role.
      const bool wasDefault = isDefault_;
      isDefault_ = (wParam & 0x0F) == BS_DEFPUSHBUTTON;
      LRESULT result = CallDefault(message, (wParam & ~static_cast<WPARAM>(0x0F)) | BS_OWNERDRAW, lParam);
      if (wasDefault != isDefault_) ::InvalidateRect(GetHwnd(), nullptr, FALSE);
      return result;
    }
    case WM_GETDLGCODE: {
      LRESULT code = CallDefault(message, wParam, lParam);
      // Owner-drawn buttons report no push-button role; the dialog manager
      // needs it to move the default look and to press them with Enter.
      code &= ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
      code |= isDefault_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
      return code;
    }
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, GetHwnd(), 1};
        tracking_ = ::TrackMouseEvent(&track) != FALSE;
      }
      break;
    case WM_MOUSEHOVER:
      SetHover(true);
      break;
    case WM_MOUSELEAVE:
      tracking_ = false;
      SetHover(false);
      break;
    case WM_LBUTTONDOWN:
      hover_ = false;
      break;
    default:
      break;
  }
  return CallDefault(message, wParam, lParam);
}

CButton_BT::CButton_BT(const CWixControl* control, const ControlContext& context)
    : COddButton(control, context),
      background_(StyleColour(context, kStyleButton, kModeStandard, kColorFront)),
      edge_(StyleColour(context, kStyleButton, kModeStandard, kColorEdge)),
      pressed_(StyleColour(context, kStyleButton, kModeDown, kColorFront)),
      default_(StyleColour(context, kStyleButton, kModeDefault, kColorFront)),
      hot_(StyleColour(context, kStyleButton, kModeOver, kColorFront)),
      text_(StyleColour(context, kStyleButton, kModeStandard, kFontColor)),
      defaultText_(StyleColour(context, kStyleButton, kModeDefault, kFontColor)),
      hotText_(StyleColour(context, kStyleButton, kModeOver, kFontColor)),
      pressedText_(StyleColour(context, kStyleButton, kModeDown, kFontColor)),
      disabledText_(StyleColour(context, kStyleButton, kModeDisabled, kFontColor)) {}

bool CButton_BT::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  if (pressed) hover_ = false;
  const bool defaultLook = isDefault_ && !pressed && !hover_ && !disabled;
  // Each look takes the text colour of its own state: the default button's
  // white text would vanish on the light fill of an ordinary button.
  COLORREF fill = background_;
  COLORREF ink = text_;
  if (defaultLook) {
    fill = default_;
    ink = defaultText_;
  } else if (pressed) {
    fill = pressed_;
    ink = pressedText_;
  } else if (hover_) {
    fill = hot_;
    ink = hotText_;
  }
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  FillSolid(dc, rect, edge_);
  ::InflateRect(&rect, -1, -1);
  FillSolid(dc, rect, fill);
  const std::wstring text = GetWindowTextString(GetHwnd());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, disabled ? disabledText_ : ink);
  RECT textRect = rect;
  ::DrawTextW(dc, text.c_str(), -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) != 0) {
    ::InflateRect(&rect, -2, -2);
    ::DrawFocusRect(dc, &rect);
  }
  return true;
}

CBitmapButton_BT::CBitmapButton_BT(const CWixControl* control, const ControlContext& context, HBITMAP image,
                                   HICON icon)
    : COddButton(control, context),
      image_(image),
      icon_(icon),
      hot_(StyleColour(context, kStyleButton, kModeOver, kColorFront)),
      background_(StyleColour(context, kStyleButton, kModeStandard, kColorFront)),
      edge_(StyleColour(context, kStyleButton, kModeStandard, kColorEdge)),
      titleBar_(StyleColour(context, kStyleTitleBar, kModeStandard, kColorFront)) {}

bool CBitmapButton_BT::OnDrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool onTitleBar = control_ == nullptr;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  COLORREF fill = onTitleBar ? titleBar_ : background_;
  if (hover_ || pressed) fill = onTitleBar ? StyleColour(context_, kStyleTitleBar, kModeOver, kColorFront) : hot_;
  FillSolid(dc, rect, fill);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (image_ != nullptr) {
    platform::UniqueResource<platform::DcTraits> memory(::CreateCompatibleDC(dc));
    BITMAP info = {};
    ::GetObjectW(image_, sizeof(info), &info);
    HGDIOBJ old = ::SelectObject(memory.Get(), image_);
    ::SetStretchBltMode(dc, HALFTONE);
    ::StretchBlt(dc, rect.left, rect.top, width, height, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    ::SelectObject(memory.Get(), old);
  } else if (icon_ != nullptr) {
    const int size = width < height ? width : height;
    ::DrawIconEx(dc, rect.left + (width - size) / 2, rect.top + (height - size) / 2, icon_, size, size, 0, nullptr,
                 DI_NORMAL);
  } else {
    // A plain cross in the title text colour.
    const COLORREF ink = StyleColour(context_, kStyleTitleBar, kModeStandard, kFontColor);
    platform::UniqueHPen pen(::CreatePen(PS_SOLID, 2, ink));
    HGDIOBJ old = ::SelectObject(dc, pen.Get());
    const int inset = (width < height ? width : height) / 3;
    ::MoveToEx(dc, rect.left + inset, rect.top + inset, nullptr);
    ::LineTo(dc, rect.right - inset, rect.bottom - inset);
    ::MoveToEx(dc, rect.right - inset, rect.top + inset, nullptr);
    ::LineTo(dc, rect.left + inset, rect.bottom - inset);
    ::SelectObject(dc, old);
  }
  if (!onTitleBar) {
    platform::UniqueHBrush frame(::CreateSolidBrush(edge_));
    ::FrameRect(dc, &rect, frame.Get());
  }
  return true;
}

}  // namespace ui
