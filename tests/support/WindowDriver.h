#pragma once
// Finds the top-level windows of a process under test (message boxes,
// dialogs), reads their texts and presses their buttons, as a user would.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

struct ControlInfo {
  HWND window = nullptr;
  int id = 0;
  std::wstring className;
  std::wstring text;
};

struct WindowInfo {
  HWND window = nullptr;
  std::wstring className;
  std::wstring title;
  std::vector<ControlInfo> controls;

  // Text of all static controls joined by "\n" (a message box's message).
  [[nodiscard]] std::wstring StaticText() const;
  [[nodiscard]] bool HasButton(const std::wstring& text) const;
};

class WindowDriver {
 public:
  explicit WindowDriver(DWORD processId) : processId_(processId) {}

  // Visible top-level windows of the process right now.
  [[nodiscard]] std::vector<WindowInfo> TopLevelWindows() const;

  // Waits until a visible top-level window of the process satisfies `match`.
  [[nodiscard]] bool WaitForWindow(const std::function<bool(const WindowInfo&)>& match, DWORD timeoutMs,
                                   WindowInfo& found) const;
  // A message box is a dialog (class "#32770") with a static message.
  [[nodiscard]] bool WaitForMessageBox(DWORD timeoutMs, WindowInfo& found) const;

  // Presses OK (or the only button) of every message box the process shows
  // until `process` ends or `timeoutMs` passes; returns the boxes in order.
  [[nodiscard]] std::vector<WindowInfo> AnswerMessageBoxesUntilExit(HANDLE process, DWORD timeoutMs) const;

  // Presses the button with this control id (IDOK, IDCANCEL, ...) or text.
  static bool PressButton(const WindowInfo& window, int controlId);
  static bool PressButton(const WindowInfo& window, const std::wstring& text);

 private:
  DWORD processId_;
};

std::wstring ReadWindowText(HWND window);

}  // namespace testsupport
