#pragma once
// The progress page of a run: its Cancel button is handed to the event
// mapper, so the execution side can enable it only while cancelling is safe,
// and while it is shown a message hook on the user-interface thread drops
// stray input to the frame: clicks and keys the user gave before the page
// existed (the second click of a double click on Install would otherwise land
// on the page's Cancel).

#include <windows.h>

#include "platform/UniqueResource.h"
#include "ui/host/MSIDialog.h"

namespace ui {

class CProgressDialog : public CMSIDialog {
 public:
  using CMSIDialog::CMSIDialog;
  ~CProgressDialog() override;

  // Whether the hook drops `message`: keyboard or mouse-button input aimed at
  // a window of `frame` and given before `shownAt` (message time).
  [[nodiscard]] static bool IsStrayInput(const MSG& message, DWORD shownAt, HWND frame);

 protected:
  void OnInitDialog() override;

 private:
  static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

  struct HookTraits {
    using Type = HHOOK;
    static Type Invalid() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::UnhookWindowsHookEx(h); }
  };

  platform::UniqueResource<HookTraits> hook_;
  DWORD shownAt_ = 0;
};

}  // namespace ui
