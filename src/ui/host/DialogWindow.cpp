#include "ui/host/DialogWindow.h"

#include "log/Log.h"

namespace ui {

namespace {
// Marks our dialogs, so FromHandle never reinterprets a foreign DWLP_USER.
constexpr wchar_t kObjectProperty[] = L"SetupDialogObject";
}  // namespace

CDialogWindow::~CDialogWindow() {
  if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
    // The object goes first: detach it so late messages reach no freed memory.
    ::RemovePropW(hwnd_, kObjectProperty);
    ::SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    ::DestroyWindow(hwnd_);
  }
}

INT_PTR CDialogWindow::DoModalIndirect(HWND parent, const DLGTEMPLATE* dialogTemplate) {
  return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate, parent, &CDialogWindow::DialogProc,
                                   reinterpret_cast<LPARAM>(this));
}

bool CDialogWindow::CreateModelessIndirect(HWND parent, const DLGTEMPLATE* dialogTemplate) {
  HWND window = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate, parent,
                                             &CDialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
  return window != nullptr;
}

CDialogWindow* CDialogWindow::FromHandle(HWND window) {
  if (window == nullptr || ::GetPropW(window, kObjectProperty) == nullptr) return nullptr;
  return reinterpret_cast<CDialogWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
}

void CDialogWindow::SetMessageResult(LRESULT result) {
  if (hwnd_ != nullptr) ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
}

INT_PTR CALLBACK CDialogWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialogWindow* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialogWindow*>(lParam);
    self->hwnd_ = window;
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    ::SetPropW(window, kObjectProperty, reinterpret_cast<HANDLE>(1));
  } else {
    self = FromHandle(window);
  }
  if (self == nullptr) return FALSE;
  bool handled = false;
  INT_PTR result = self->HandleMessage(message, wParam, lParam, handled);
  if (message == WM_NCDESTROY) {
    ::RemovePropW(window, kObjectProperty);
    ::SetWindowLongPtrW(window, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    self->OnWindowDestroyed();
    return FALSE;
  }
  return handled ? result : FALSE;
}

}  // namespace ui
