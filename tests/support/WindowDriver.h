#pragma once
// Finds the windows of a process under test (message boxes, the wizard's
// frame, its pages and spawned dialogs), reads their texts and states, and
// presses, types and clicks as a user would.
//
// The wizard marks its windows for drivers: every dialog made from a WiX
// dialog carries the window property "SetupDialogId", every control made from
// a WiX control the property "SetupControlId"; each holds a global atom whose
// name is the WiX Id. Pages are child dialogs of the main frame; spawned
// dialogs are top-level dialogs of the process.

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
  HWND parent = nullptr;
  bool visible = false;
  bool enabled = false;
  int checked = BST_UNCHECKED;  // BM_GETCHECK, buttons only
  LONG_PTR style = 0;
  std::wstring controlId;  // the WiX control Id ("SetupControlId"), empty for other windows
  std::wstring dialogId;   // the WiX dialog Id ("SetupDialogId") of a child page
};

struct WindowInfo {
  HWND window = nullptr;
  std::wstring className;
  std::wstring title;
  std::vector<ControlInfo> controls;  // every descendant window, parents before children

  // Text of all static controls joined by "\n" (a message box's message).
  [[nodiscard]] std::wstring StaticText() const;
  [[nodiscard]] bool HasButton(const std::wstring& text) const;
};

// A wizard dialog seen from outside: a page inside the frame or a spawned one.
struct DialogWindow {
  HWND window = nullptr;
  std::wstring id;
  bool spawned = false;
  [[nodiscard]] bool IsValid() const { return window != nullptr; }
};

class WindowDriver {
 public:
  explicit WindowDriver(DWORD processId) : processId_(processId) {}
  // With the process handle, waits give up as soon as the process has ended.
  WindowDriver(DWORD processId, HANDLE process) : processId_(processId), process_(process) {}

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

  // --- The wizard ---------------------------------------------------------
  // The main frame: a visible top-level dialog of the process that is no WiX
  // dialog itself and holds a page; before the first page, the one titled
  // "<ProductName> Setup". Null when there is none.
  [[nodiscard]] HWND MainFrame() const;
  // The visible page inside the main frame (the topmost when two overlap).
  [[nodiscard]] DialogWindow CurrentPage() const;
  // Visible spawned dialogs, topmost first.
  [[nodiscard]] std::vector<DialogWindow> SpawnedDialogs() const;
  // The dialog a user would act on: the topmost spawned dialog, else the page.
  [[nodiscard]] DialogWindow ActiveDialog() const;
  // Waits until the page, or a spawned dialog, with this WiX Id is visible.
  [[nodiscard]] bool WaitForPage(const std::wstring& dialogId, DWORD timeoutMs, DialogWindow& found) const;
  [[nodiscard]] bool WaitForDialog(const std::wstring& dialogId, DWORD timeoutMs, DialogWindow& found) const;
  // Waits until the main frame exists and shows.
  [[nodiscard]] bool WaitForMainFrame(DWORD timeoutMs, HWND& frame) const;
  // True while the process runs (always true without a process handle).
  [[nodiscard]] bool ProcessRunning() const;

 private:
  template <typename Probe>
  bool Poll(DWORD timeoutMs, Probe probe) const;

  DWORD processId_;
  HANDLE process_ = nullptr;  // not owned
};

std::wstring ReadWindowText(HWND window);
std::wstring ClassNameOf(HWND window);
// A window's text without the "&" mnemonic markers ("&&" stays one "&").
std::wstring PlainText(const std::wstring& text);

// The name of the global atom stored as the window property `name`; empty
// when the window has no such property.
std::wstring AtomProperty(HWND window, const wchar_t* name);
std::wstring DialogIdOf(HWND window);   // "SetupDialogId"
std::wstring ControlIdOf(HWND window);  // "SetupControlId"

// Every descendant of `window` (recursive), with class, text, id, states and
// the two atom properties.
std::vector<ControlInfo> DescribeChildren(HWND window);
// The child controls of one dialog, without those of nested dialogs.
std::vector<ControlInfo> DialogControls(HWND dialog);

// Finds a control by its WiX Id first, then by its visible text without "&".
bool FindControl(const std::vector<ControlInfo>& controls, const std::wstring& idOrText, ControlInfo& found);
bool FindControl(HWND dialog, const std::wstring& idOrText, ControlInfo& found);

// A click: BM_CLICK posted, never sent (the click may open a modal loop).
bool Click(HWND button);
// Replaces an edit's text as typed: select all, clear, then one WM_CHAR per character.
bool TypeText(HWND edit, const std::wstring& text);
// Escape on a dialog: WM_COMMAND IDCANCEL posted to it.
bool PressEscape(HWND dialog);
// Items of a combo box or list box, in order.
std::vector<std::wstring> ListItems(HWND control);
// Selects the item with this text in a combo or list box and tells the parent,
// as a user's choice would; false when no item has the text.
bool SelectItem(HWND control, const std::wstring& text);

// Waits until `window` is gone or hidden.
bool WaitUntilGone(HWND window, DWORD timeoutMs);

// One pixel of the screen as a user sees it; CLR_INVALID when unreadable.
COLORREF ScreenPixel(int x, int y);
// One pixel of a window, at window coordinates (0, 0 is its top-left corner).
COLORREF WindowPixel(HWND window, int x, int y);
// Saves the window's screen area as a 24-bit BMP file.
bool SaveWindowImage(HWND window, const std::wstring& bmpPath);

}  // namespace testsupport
