#pragma once
// A Windows dialog bound to a C++ object: the object receives the dialog's
// messages through HandleMessage from WM_INITDIALOG on. Modal dialogs run
// their own loop (DoModalIndirect); modeless ones live as children.

#include <windows.h>

namespace ui {

class CDialogWindow {
 public:
  CDialogWindow() = default;
  virtual ~CDialogWindow();
  CDialogWindow(const CDialogWindow&) = delete;
  CDialogWindow& operator=(const CDialogWindow&) = delete;

  [[nodiscard]] HWND GetHwnd() const { return hwnd_; }

  // Runs a modal loop over the template; the value given to EndDialog, or -1
  // when the dialog could not be created.
  [[nodiscard]] INT_PTR DoModalIndirect(HWND parent, const DLGTEMPLATE* dialogTemplate);
  // Creates a modeless dialog; false when Windows refuses it.
  [[nodiscard]] bool CreateModelessIndirect(HWND parent, const DLGTEMPLATE* dialogTemplate);

  // The object behind a dialog window of this family, or null.
  static CDialogWindow* FromHandle(HWND window);

 protected:
  // Returns the dialog procedure's result; `handled` false lets Windows do
  // its default handling.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
  // Called once the window is gone (WM_NCDESTROY); the object may delete itself here.
  virtual void OnWindowDestroyed() {}
  // For messages whose result travels in DWLP_MSGRESULT.
  void SetMessageResult(LRESULT result);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

}  // namespace ui
