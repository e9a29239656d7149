#include "ui/controls/Picture_BT.h"

namespace ui {

LRESULT CBitmap_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return TRUE;
  if (message != WM_PAINT) return CallDefault(message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(GetHwnd(), &paint);
  RECT client;
  ::GetClientRect(GetHwnd(), &client);
  if (shown_ == nullptr) {
    ::FillRect(dc, &client, context_.backgroundBrush);
  } else {
    platform::UniqueResource<platform::DcTraits> memory(::CreateCompatibleDC(dc));
    BITMAP info = {};
    ::GetObjectW(shown_, sizeof(info), &info);
    HGDIOBJ old = ::SelectObject(memory.Get(), shown_);
    ::SetStretchBltMode(dc, HALFTONE);
    ::StretchBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    ::SelectObject(memory.Get(), old);
  }
  ::EndPaint(GetHwnd(), &paint);
  return 0;
}

LRESULT CIcon_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return TRUE;
  if (message != WM_PAINT) return CallDefault(message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(GetHwnd(), &paint);
  RECT client;
  ::GetClientRect(GetHwnd(), &client);
  ::FillRect(dc, &client, context_.backgroundBrush);
  if (icon_ != nullptr) {
    ::DrawIconEx(dc, 0, 0, icon_, client.right, client.bottom, 0, nullptr, DI_NORMAL);
  }
  ::EndPaint(GetHwnd(), &paint);
  return 0;
}

}  // namespace ui
