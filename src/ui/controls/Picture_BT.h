#pragma once
// The picture statics of a page: a bitmap (CBitmap_BT) or an icon (CIcon_BT)
// from the WiX sources' binaries, and the banner and left image of the frame.

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"

namespace ui {

class CBitmap_BT : public CControlWindow {
 public:
  using CControlWindow::CControlWindow;
  // Not owned (the brand list keeps the frame's images).
  void SetBitmap(HBITMAP bitmap) { shown_ = bitmap; }
  // Owned: a page's own Binary image.
  void TakeBitmap(platform::UniqueHBitmap bitmap) {
    owned_ = std::move(bitmap);
    shown_ = owned_.Get();
  }
  void SetAccessiblePattern(const wchar_t* pattern) { pattern_ = pattern; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return pattern_; }

 private:
  platform::UniqueHBitmap owned_;
  HBITMAP shown_ = nullptr;
  const wchar_t* pattern_ = L"BootstrapperBitmap%ld";
};

class CIcon_BT : public CControlWindow {
 public:
  // `icon` is not owned.
  CIcon_BT(const CWixControl* control, const ControlContext& context, HICON icon)
      : CControlWindow(control, context), icon_(icon) {}
  // Not owned either.
  void SetIcon(HICON icon) {
    icon_ = icon;
    if (GetHwnd() != nullptr) ::InvalidateRect(GetHwnd(), nullptr, TRUE);
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperIcon%ld"; }

 private:
  HICON icon_;
};

}  // namespace ui
