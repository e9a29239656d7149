#include "support/WindowDriver.h"

namespace testsupport {

namespace {

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  int length = ::GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

// Strips the "&" mnemonic markers a button text carries.
std::wstring PlainText(const std::wstring& text) {
  std::wstring plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) {
      plain += text[++i];
    } else {
      plain += text[i];
    }
  }
  return plain;
}

WindowInfo Describe(HWND window) {
  WindowInfo info;
  info.window = window;
  info.className = ClassOf(window);
  info.title = ReadWindowText(window);
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        auto* controls = reinterpret_cast<std::vector<ControlInfo>*>(param);
        ControlInfo control;
        control.window = child;
        control.id = ::GetDlgCtrlID(child);
        control.className = ClassOf(child);
        control.text = ReadWindowText(child);
        controls->push_back(control);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&info.controls));
  return info;
}

}  // namespace

std::wstring ReadWindowText(HWND window) {
  // WM_GETTEXT through SendMessageTimeout: a hung window must not hang the test.
  wchar_t buffer[4096] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                             &copied)) {
    return {};
  }
  return std::wstring(buffer, copied);
}

std::wstring WindowInfo::StaticText() const {
  std::wstring text;
  for (const ControlInfo& control : controls) {
    if (_wcsicmp(control.className.c_str(), L"Static") != 0 || control.text.empty()) continue;
    if (!text.empty()) text += L"\n";
    text += control.text;
  }
  return text;
}

bool WindowInfo::HasButton(const std::wstring& text) const {
  for (const ControlInfo& control : controls) {
    if (_wcsicmp(control.className.c_str(), L"Button") == 0 && PlainText(control.text) == text) return true;
  }
  return false;
}

std::vector<WindowInfo> WindowDriver::TopLevelWindows() const {
  struct Search {
    DWORD processId;
    std::vector<HWND> windows;
  } search{processId_, {}};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == s->processId && ::IsWindowVisible(window)) s->windows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::vector<WindowInfo> result;
  for (HWND window : search.windows) result.push_back(Describe(window));
  return result;
}

bool WindowDriver::WaitForWindow(const std::function<bool(const WindowInfo&)>& match, DWORD timeoutMs,
                                 WindowInfo& found) const {
  DWORD start = ::GetTickCount();
  for (;;) {
    for (const WindowInfo& window : TopLevelWindows()) {
      if (match(window)) {
        found = window;
        return true;
      }
    }
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::Sleep(50);
  }
}

bool WindowDriver::WaitForMessageBox(DWORD timeoutMs, WindowInfo& found) const {
  return WaitForWindow(
      [](const WindowInfo& window) { return window.className == L"#32770" && !window.StaticText().empty(); },
      timeoutMs, found);
}

std::vector<WindowInfo> WindowDriver::AnswerMessageBoxesUntilExit(HANDLE process, DWORD timeoutMs) const {
  std::vector<WindowInfo> boxes;
  const DWORD start = ::GetTickCount();
  while (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT && ::GetTickCount() - start < timeoutMs) {
    WindowInfo box;
    if (!WaitForMessageBox(100, box)) continue;
    boxes.push_back(box);
    if (!PressButton(box, IDOK) && !PressButton(box, IDCANCEL)) break;
    // The same box stays listed until its dialog loop has handled the press.
    while (::IsWindow(box.window) && ::IsWindowVisible(box.window) && ::GetTickCount() - start < timeoutMs) {
      ::Sleep(20);
    }
  }
  return boxes;
}

bool WindowDriver::PressButton(const WindowInfo& window, int controlId) {
  for (const ControlInfo& control : window.controls) {
    if (control.id == controlId && _wcsicmp(control.className.c_str(), L"Button") == 0) {
      return ::PostMessageW(window.window, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                            reinterpret_cast<LPARAM>(control.window)) != 0;
    }
  }
  return false;
}

bool WindowDriver::PressButton(const WindowInfo& window, const std::wstring& text) {
  for (const ControlInfo& control : window.controls) {
    if (_wcsicmp(control.className.c_str(), L"Button") == 0 && PlainText(control.text) == text) {
      return PressButton(window, control.id);
    }
  }
  return false;
}

}  // namespace testsupport
