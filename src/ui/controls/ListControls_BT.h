#pragma once
// The item lists of a page bound to a property: a drop-down (CComboBox_BT)
// and a list box (CListBox_BT) filled from the WiX ListItem entries; the
// selected item's value is the property's value. And the progress bar.

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"

namespace ui {

class CComboBox_BT : public CControlWindow {
 public:
  CComboBox_BT(const CWixControl* control, const ControlContext& context);
  void OnAttached() override;
  void OnNotify(WORD code) override;
  HBRUSH OnCtlColor(HDC dc) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperComboBox%ld"; }

 private:
  COLORREF edge_;
  platform::UniqueHBrush fieldBrush_;
};

class CListBox_BT : public CControlWindow {
 public:
  using CControlWindow::CControlWindow;
  void OnAttached() override;
  void OnNotify(WORD code) override;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperListBox%ld"; }
};

class CProgressBar_BT : public CControlWindow {
 public:
  using CControlWindow::CControlWindow;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperProgressBar%ld"; }
};

}  // namespace ui
