// The yardstick of the wizard start benchmark: the least a native Win32
// program does to show one dialog, built from a template in memory with the
// number of controls given on the command line (buttons first, then texts).
// It shows the dialog and runs until the dialog is cancelled or closed.
//
//   bench_minimal_dialog.exe <controls>

#include <windows.h>

#include <cwchar>
#include <vector>

#include "platform/UniqueResource.h"

namespace {

constexpr wchar_t kTitle[] = L"Minimal Setup";
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;

struct WindowTraits {
  using Type = HWND;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type window) noexcept { return window != nullptr; }
  static void Close(Type window) noexcept {
    if (::IsWindow(window)) ::DestroyWindow(window);
  }
};
using UniqueWindow = platform::UniqueResource<WindowTraits>;

// A dialog template is a sequence of WORDs whose items start on DWORD boundaries.
class TemplateWriter {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(const wchar_t* text) {
    for (; *text != L'\0'; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void AlignToDword() {
    if (words_.size() % 2 != 0) Word(0);
  }
  [[nodiscard]] const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

// Laid out like a wizard page of 370 x 270 dialog units: the buttons along
// the bottom, the texts stacked above them.
void WriteTemplate(TemplateWriter& out, int controls) {
  out.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
  out.Dword(0);
  out.Word(static_cast<WORD>(controls));
  out.Word(0);
  out.Word(0);
  out.Word(370);
  out.Word(270);
  out.Word(0);  // no menu
  out.Word(0);  // the standard dialog class
  out.Text(kTitle);
  out.Word(8);
  out.Text(L"MS Shell Dlg");
  const int buttons = controls < 3 ? controls : 3;
  for (int i = 0; i < controls; ++i) {
    out.AlignToDword();
    const bool button = i < buttons;
    out.Dword(WS_CHILD | WS_VISIBLE | (button ? (WS_TABSTOP | BS_PUSHBUTTON) : SS_LEFT));
    out.Dword(0);
    out.Word(static_cast<WORD>(button ? 180 + 62 * i : 135));
    out.Word(static_cast<WORD>(button ? 243 : 20 + 24 * (i - buttons)));
    out.Word(static_cast<WORD>(button ? 56 : 220));
    out.Word(static_cast<WORD>(button ? 17 : 20));
    out.Word(static_cast<WORD>(button && i == buttons - 1 ? IDCANCEL : 1000 + i));
    out.Word(0xFFFF);
    out.Word(button ? kButtonClass : kStaticClass);
    out.Text(button ? L"Button" : L"A line of text on the page.");
    out.Word(0);  // no creation data
  }
}

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
    ::PostQuitMessage(0);
    return TRUE;
  }
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const int controls = static_cast<int>(std::wcstol(commandLine, nullptr, 10));
  if (controls < 1 || controls > 200) return 2;
  TemplateWriter writer;
  WriteTemplate(writer, controls);
  UniqueWindow dialog(::CreateDialogIndirectParamW(instance, writer.Get(), nullptr, DialogProc, 0));
  if (!dialog) return 1;
  ::ShowWindow(dialog.Get(), SW_SHOW);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!::IsDialogMessageW(dialog.Get(), &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  return 0;
}
