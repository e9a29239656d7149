#pragma once
// A text that opens its target (a file or web page) with the shell when
// clicked, drawn in link colours with an underlined font.

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"

class IWixDataManager;

namespace ui {

class CHyperLink : public CControlWindow {
 public:
  // `target` is the text to open (already formatted).
  CHyperLink(const CWixControl* control, const ControlContext& context, std::wstring target);
  HBRUSH OnCtlColor(HDC dc) override;
  void OnNotify(WORD code) override;
  // Underlines the font the factory chose.
  void OnAttached() override;

  // The message shown when the shell cannot open a target.
  static std::wstring ErrorText(INT_PTR shellResult);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperHyperlink%ld"; }

 private:
  std::wstring target_;
  bool visited_ = false;
  bool hover_ = false;
  platform::UniqueHFont underlined_;
};

}  // namespace ui
