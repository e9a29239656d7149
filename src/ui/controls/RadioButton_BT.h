#pragma once
// A radio button group bound to a property: the group is a static holding
// its buttons; a click or an arrow key checks a button and writes its value.

#include <memory>
#include <vector>

#include "ui/controls/Button_BT.h"

struct WixRadioButton;

namespace ui {

class CRadioBtnGroup_BT;

class CRadioBtn_BT : public COddButton {
 public:
  CRadioBtn_BT(const CWixControl* control, const ControlContext& context, CRadioBtnGroup_BT& group,
               const WixRadioButton& item);
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
  [[nodiscard]] const std::wstring& GetValue() const { return value_; }
  void SetChecked(bool checked);
  [[nodiscard]] bool IsChecked() const { return checked_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperRadioButton%ld"; }

 private:
  CRadioBtnGroup_BT& group_;
  std::wstring value_;
  bool checked_ = false;
  COLORREF text_;
};

class CRadioBtnGroup_BT : public CControlWindow {
 public:
  using CControlWindow::CControlWindow;

  void AddButton(std::unique_ptr<CRadioBtn_BT> button) { buttons_.push_back(std::move(button)); }
  [[nodiscard]] const std::vector<std::unique_ptr<CRadioBtn_BT>>& GetButtons() const { return buttons_; }
  // Checks `button` alone, writes its value and tells the dialog.
  void Select(CRadioBtn_BT* button, bool notifyDialog);
  // Moves the check by `step` buttons from `from`, wrapping around.
  void MoveSelection(CRadioBtn_BT* from, int step);
  void OnAttached() override;
  HBRUSH OnCtlColor(HDC dc) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperRadioButtonGrp%ld"; }

 private:
  std::vector<std::unique_ptr<CRadioBtn_BT>> buttons_;
};

}  // namespace ui
