#pragma once
// A text drawn on the dialog background with word wrap; its text can follow
// a property ("[PROP]") and the control events' subscriptions.

#include "ui/controls/ControlWindow.h"
#include "ui/controls/IPropertyControl.h"

namespace ui {

class CText_BT : public CControlWindow, public IPropertyControl {
 public:
  CText_BT(const CWixControl* control, const ControlContext& context);
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
  void SetDisplayText(const std::wstring& text) override;
  void RefreshFromProperty() override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperText%ld"; }

 private:
  COLORREF text_;
};

// Which text class a WiX Text control gets: a hyperlink for the log-file
// description and for ids starting with "Hypelink".
bool IsHyperlinkId(const std::wstring& id);

}  // namespace ui
