#pragma once
// A wizard page: a modeless child of the main frame, placed right of the left
// image and below the banner. It deletes itself once its window is gone, and
// it is never destroyed from inside one of its own messages.

#include "ui/host/DynamicDialog.h"

namespace ui {

class CMSIDialog : public CDynamicDialog {
 public:
  CMSIDialog(const CWixDialog& dialog, const DialogServices& services);

  INT_PTR Run(HWND parent) override;
  // Hides the page now and destroys it once the current message is done.
  void OnEndDialogEvent(int value) override;
  // From now on the page deletes itself when its window is gone.
  void HandOverToWindow() { ownedByWindow_ = true; }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void OnInitDialog() override;
  void OnCancel() override;
  void DrawFrame(HDC dc) override;
  void OnWindowDestroyed() override;

 private:
  bool ending_ = false;
  bool ownedByWindow_ = false;
};

}  // namespace ui
