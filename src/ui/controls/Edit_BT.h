#pragma once
// A rich edit bound to a property (every change is written back), or, for a
// ScrollableText, a read-only rich text shown once.

#include "ui/controls/ControlWindow.h"
#include "ui/controls/IPropertyControl.h"

namespace ui {

class CEdit_BT : public CControlWindow, public IPropertyControl {
 public:
  CEdit_BT(const CWixControl* control, const ControlContext& context, bool scrollableText);
  void OnAttached() override;
  void OnNotify(WORD code) override;
  HBRUSH OnCtlColor(HDC dc) override;
  void SetDisplayText(const std::wstring& text) override;
  void RefreshFromProperty() override;

  // The rich edit window class, loaded from the system folder once; empty
  // when the library is missing (a plain edit is used then).
  static const wchar_t* WindowClass();

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperEditBox%ld"; }

 private:
  void StreamRichText(const std::wstring& text);

  bool scrollableText_;
  bool refreshing_ = false;
};

}  // namespace ui
