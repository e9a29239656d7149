#pragma once
// A modal pop-up made from a WiX dialog (CancelDlg, error and message boxes,
// and the pre-install questions), with a title bar drawn in the bundle's style.

#include "ui/host/DynamicDialog.h"

namespace ui {

class CSpawnDialog : public CDynamicDialog {
 public:
  CSpawnDialog(const CWixDialog& dialog, const DialogServices& services, int mode);

  INT_PTR Run(HWND parent) override;
  void OnEndDialogEvent(int value) override;
  [[nodiscard]] RECT AdjustControlRect(const RECT& rect) const override;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void OnInitDialog() override;
  void OnCancel() override;
  void OnPaint(HDC dc, const RECT& client) override;
  void DrawFrame(HDC dc) override;

 private:
  std::wstring title_;
  COLORREF titleBarColour_ = 0;
  COLORREF frameColour_ = 0;
};

}  // namespace ui
