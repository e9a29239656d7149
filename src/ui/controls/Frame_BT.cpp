#include "ui/controls/Frame_BT.h"

#include "platform/UniqueResource.h"
#include "ui/style/IStyleConfigData.h"

namespace ui {

namespace {
COLORREF GroupColour(const ControlContext& context, int index, COLORREF fallback) {
  if (context.style == nullptr || context.style->GetControlStyle(kStyleGroupBox, kModeStandard) == nullptr) {
    return fallback;
  }
  return context.style->GetControlStyleValue(kStyleGroupBox, kModeStandard, index);
}
}  // namespace

CGroupBox_BT::CGroupBox_BT(const CWixControl* control, const ControlContext& context)
    : CControlWindow(control, context),
      fill_(GroupColour(context, kColorFront, context.background)),
      frame_(GroupColour(context, kColorEdge, ::GetSysColor(COLOR_BTNSHADOW))),
      text_(GroupColour(context, kFontColor, 0)) {}

LRESULT CGroupBox_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return TRUE;
  if (message != WM_PAINT) return CallDefault(message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(GetHwnd(), &paint);
  RECT client;
  ::GetClientRect(GetHwnd(), &client);
  HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(GetHwnd(), WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc, &metrics);
  RECT box = client;
  box.top += metrics.tmHeight / 2;
  platform::UniqueHBrush fill(::CreateSolidBrush(fill_));
  platform::UniqueHBrush frame(::CreateSolidBrush(frame_));
  ::FillRect(dc, &client, context_.backgroundBrush);
  ::FillRect(dc, &box, fill.Get());
  ::FrameRect(dc, &box, frame.Get());
  const std::wstring text = GetWindowTextString(GetHwnd());
  if (!text.empty()) {
    ::SetBkColor(dc, fill_);
    ::SetBkMode(dc, OPAQUE);
    ::SetTextColor(dc, text_);
    RECT caption = {client.left + 8, client.top, client.right - 8, client.top + metrics.tmHeight};
    ::DrawTextW(dc, text.c_str(), -1, &caption, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  ::SelectObject(dc, oldFont);
  ::EndPaint(GetHwnd(), &paint);
  return 0;
}

}  // namespace ui
