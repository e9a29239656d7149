#pragma once
// The WiX PathEdit: a folder typed as text. The text is checked when the
// edit loses the focus and when Enter is pressed in it (so a default button
// pressed with Enter sees the typed folder); a valid folder is written to the
// property, an invalid one is reported with the localized message and the
// property keeps its value.

#include <string>

#include "ui/controls/ControlWindow.h"
#include "ui/controls/IPropertyControl.h"
#include "ui/controls/PathValidation.h"

namespace ui {

class CPathEdit_BT : public CControlWindow, public IPropertyControl {
 public:
  CPathEdit_BT(const CWixControl* control, const ControlContext& context);

  void OnAttached() override;
  void SetDisplayText(const std::wstring& text) override;
  void RefreshFromProperty() override;

  // Checks the shown text and writes it to the property; false (after the
  // message) when it is refused. An unchanged text is not checked again.
  bool Commit();
  // The message text of a refused path: the localized text with "[2]" the path.
  [[nodiscard]] static std::wstring MessageText(const IWixDataManager* wix, const std::wstring& messageId,
                                                const std::wstring& path);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperPathEdit%ld"; }

 private:
  std::wstring committed_;  // the text last written or shown from the property
  std::wstring rejected_;   // the text last refused
  bool committing_ = false;
};

}  // namespace ui
