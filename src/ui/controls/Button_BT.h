#pragma once
// Push buttons drawn in the bundle's style. COddButton turns a standard button
// owner-drawn while remembering whether the dialog made it the default one;
// CButton_BT paints text buttons with hover, pressed, default and disabled
// looks; CBitmapButton_BT paints an image (a WiX bitmap or icon button, or the
// title bar's close button).

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"

namespace ui {

class COddButton : public CControlWindow {
 public:
  using CControlWindow::CControlWindow;

  // Call once the window exists: keeps the default flag, makes it owner-drawn.
  void MakeOwnerDrawn();
  [[nodiscard]] bool IsDefault() const { return isDefault_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetHover(bool hover);

  bool isDefault_ = false;
  bool hover_ = false;
  bool tracking_ = false;
};

class CButton_BT : public COddButton {
 public:
  CButton_BT(const CWixControl* control, const ControlContext& context);
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperButton%ld"; }

 private:
  COLORREF background_, edge_, pressed_, default_, hot_;
  COLORREF text_, defaultText_, hotText_, pressedText_, disabledText_;
};

class CBitmapButton_BT : public COddButton {
 public:
  // `image` and `icon` are not owned; at most one is set. Without either the
  // button draws a cross (the close button when the bundle has no image).
  CBitmapButton_BT(const CWixControl* control, const ControlContext& context, HBITMAP image, HICON icon);
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperCloseButton%ld"; }

 private:
  HBITMAP image_;
  HICON icon_;
  COLORREF hot_, background_, edge_, titleBar_;
};

}  // namespace ui
