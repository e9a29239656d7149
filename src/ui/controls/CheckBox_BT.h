#pragma once
// A check box bound to a property: checked when the property holds the
// control's CheckBoxValue exactly; a click writes that value or clears it.

#include "ui/controls/ControlWindow.h"
#include "ui/controls/IPropertyControl.h"

namespace ui {

class CCheckBox_BT : public CControlWindow, public IPropertyControl {
 public:
  CCheckBox_BT(const CWixControl* control, const ControlContext& context);
  void OnAttached() override { RefreshFromProperty(); }
  void OnNotify(WORD code) override;
  HBRUSH OnCtlColor(HDC dc) override;
  void SetDisplayText(const std::wstring& text) override;
  void RefreshFromProperty() override;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperCheckbox%ld"; }

 private:
  COLORREF text_;
  COLORREF disabledText_;
};

}  // namespace ui
