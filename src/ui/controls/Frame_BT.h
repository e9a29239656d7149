#pragma once
// The page's structuring statics: an etched line (CLine_BT) and a group box
// drawn in the style's colours (CGroupBox_BT).

#include "ui/controls/ControlWindow.h"

namespace ui {

class CLine_BT : public CControlWindow {
 public:
  using CControlWindow::CControlWindow;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperLine%ld"; }
};

class CGroupBox_BT : public CControlWindow {
 public:
  CGroupBox_BT(const CWixControl* control, const ControlContext& context);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperGroupBox%ld"; }

 private:
  COLORREF fill_, frame_, text_;
};

}  // namespace ui
