#include "support/WindowDriver.h"

#include <cstdint>

#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace testsupport {

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kDialogIdProperty[] = L"SetupDialogId";
constexpr wchar_t kControlIdProperty[] = L"SetupControlId";
// Messages to another process go through SendMessageTimeout: a hung window
// must not hang the test.
constexpr UINT kSendTimeoutMs = 2000;

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0;
}

bool IsDialogClass(HWND window) { return ClassNameOf(window) == kDialogClass; }

bool IsClass(const std::wstring& className, const wchar_t* wanted) { return _wcsicmp(className.c_str(), wanted) == 0; }

ControlInfo DescribeOne(HWND child) {
  ControlInfo control;
  control.window = child;
  control.id = ::GetDlgCtrlID(child);
  control.className = ClassNameOf(child);
  control.text = ReadWindowText(child);
  control.parent = ::GetAncestor(child, GA_PARENT);
  control.visible = ::IsWindowVisible(child) != FALSE;
  control.enabled = ::IsWindowEnabled(child) != FALSE;
  control.style = ::GetWindowLongPtrW(child, GWL_STYLE);
  if (IsClass(control.className, L"Button")) {
    DWORD_PTR state = 0;
    if (SendWithTimeout(child, BM_GETCHECK, 0, 0, state)) control.checked = static_cast<int>(state);
  }
  control.controlId = ControlIdOf(child);
  control.dialogId = DialogIdOf(child);
  return control;
}

WindowInfo Describe(HWND window) {
  WindowInfo info;
  info.window = window;
  info.className = ClassNameOf(window);
  info.title = ReadWindowText(window);
  info.controls = DescribeChildren(window);
  return info;
}

// The nearest dialog that holds `window` (its parent chain up to a "#32770").
HWND OwningDialog(HWND window) {
  for (HWND parent = ::GetAncestor(window, GA_PARENT); parent != nullptr && parent != ::GetDesktopWindow();
       parent = ::GetAncestor(parent, GA_PARENT)) {
    if (IsDialogClass(parent)) return parent;
  }
  return nullptr;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<HWND> windows;
  } search{processId, {}};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == s->processId && ::IsWindowVisible(window)) s->windows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

// Visible dialogs directly inside `frame` that carry a dialog id, topmost first.
std::vector<HWND> PagesOf(HWND frame) {
  std::vector<HWND> pages;
  for (HWND child = ::GetWindow(frame, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child) && IsDialogClass(child) && !DialogIdOf(child).empty()) pages.push_back(child);
  }
  return pages;
}

// Writes a 24-bit bottom-up BMP from 32-bit top-down pixels.
bool WriteBmp(const std::wstring& path, int width, int height, const std::uint8_t* topDownBgra) {
  const int rowBytes = (width * 3 + 3) & ~3;
  std::string bytes;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes) * static_cast<DWORD>(height);
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(rowBytes) * static_cast<DWORD>(height);
  bytes.append(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  std::string row(static_cast<size_t>(rowBytes), '\0');
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* source = topDownBgra + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    for (int x = 0; x < width; ++x) {
      row[static_cast<size_t>(x) * 3] = static_cast<char>(source[x * 4]);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>(source[x * 4 + 1]);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>(source[x * 4 + 2]);
    }
    bytes += row;
  }
  return WriteFileBytes(path, bytes);
}

}  // namespace

std::wstring ReadWindowText(HWND window) {
  wchar_t buffer[4096] = {};
  DWORD_PTR copied = 0;
  if (!SendWithTimeout(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), copied)) return {};
  return std::wstring(buffer, copied);
}

std::wstring ClassNameOf(HWND window) {
  wchar_t buffer[256] = {};
  int length = ::GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

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

std::wstring AtomProperty(HWND window, const wchar_t* name) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(::GetPropW(window, name)));
  if (atom == 0) return {};
  wchar_t buffer[256] = {};
  UINT length = ::GlobalGetAtomNameW(atom, buffer, 256);
  return std::wstring(buffer, length);
}

std::wstring DialogIdOf(HWND window) { return AtomProperty(window, kDialogIdProperty); }
std::wstring ControlIdOf(HWND window) { return AtomProperty(window, kControlIdProperty); }

std::vector<ControlInfo> DescribeChildren(HWND window) {
  std::vector<HWND> children;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  std::vector<ControlInfo> controls;
  controls.reserve(children.size());
  for (HWND child : children) controls.push_back(DescribeOne(child));
  return controls;
}

std::vector<ControlInfo> DialogControls(HWND dialog) {
  std::vector<ControlInfo> controls;
  for (ControlInfo& control : DescribeChildren(dialog)) {
    if (OwningDialog(control.window) == dialog) controls.push_back(std::move(control));
  }
  return controls;
}

bool FindControl(const std::vector<ControlInfo>& controls, const std::wstring& idOrText, ControlInfo& found) {
  // A visible control wins over a hidden one of the same name (pages hide
  // alternatives, such as an Install and a Remove button in one place).
  for (bool visibleOnly : {true, false}) {
    for (const ControlInfo& control : controls) {
      if ((control.visible || !visibleOnly) && control.controlId == idOrText) {
        found = control;
        return true;
      }
    }
  }
  const std::wstring wanted = PlainText(idOrText);
  for (bool visibleOnly : {true, false}) {
    for (const ControlInfo& control : controls) {
      if ((control.visible || !visibleOnly) && !control.text.empty() && PlainText(control.text) == wanted) {
        found = control;
        return true;
      }
    }
  }
  return false;
}

bool FindControl(HWND dialog, const std::wstring& idOrText, ControlInfo& found) {
  return FindControl(DialogControls(dialog), idOrText, found);
}

bool Click(HWND button) { return button != nullptr && ::PostMessageW(button, BM_CLICK, 0, 0) != 0; }

bool TypeText(HWND edit, const std::wstring& text) {
  if (edit == nullptr) return false;
  bool posted = ::PostMessageW(edit, EM_SETSEL, 0, -1) != 0 && ::PostMessageW(edit, WM_CLEAR, 0, 0) != 0;
  for (wchar_t c : text) posted = posted && ::PostMessageW(edit, WM_CHAR, c, 1) != 0;
  return posted;
}

bool PressEscape(HWND dialog) {
  return dialog != nullptr && ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0) != 0;
}

std::vector<std::wstring> ListItems(HWND control) {
  const std::wstring className = ClassNameOf(control);
  const bool combo = IsClass(className, L"ComboBox");
  if (!combo && !IsClass(className, L"ListBox")) return {};
  const UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT getLength = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::wstring> items;
  DWORD_PTR count = 0;
  if (!SendWithTimeout(control, getCount, 0, 0, count)) return items;
  for (DWORD_PTR i = 0; i < count && static_cast<LONG_PTR>(count) > 0; ++i) {
    DWORD_PTR length = 0;
    if (!SendWithTimeout(control, getLength, i, 0, length) || static_cast<LONG_PTR>(length) < 0) break;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(control, getText, i, reinterpret_cast<LPARAM>(&text[0]), copied)) break;
    text.resize(static_cast<LONG_PTR>(copied) < 0 ? 0 : static_cast<size_t>(copied));
    items.push_back(text);
  }
  return items;
}

bool SelectItem(HWND control, const std::wstring& text) {
  const std::vector<std::wstring> items = ListItems(control);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] != text) continue;
    const bool combo = IsClass(ClassNameOf(control), L"ComboBox");
    DWORD_PTR ignored = 0;
    if (!SendWithTimeout(control, combo ? CB_SETCURSEL : LB_SETCURSEL, i, 0, ignored)) return false;
    // Setting the selection by message notifies nobody; a user's choice does.
    const WORD code = combo ? CBN_SELCHANGE : LBN_SELCHANGE;
    return ::PostMessageW(::GetAncestor(control, GA_PARENT), WM_COMMAND,
                          MAKEWPARAM(static_cast<WORD>(::GetDlgCtrlID(control)), code),
                          reinterpret_cast<LPARAM>(control)) != 0;
  }
  return false;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (::IsWindow(window) && ::IsWindowVisible(window)) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(20);
  }
  return true;
}

COLORREF ScreenPixel(int x, int y) {
  platform::WindowDc screen(nullptr);
  if (!screen) return CLR_INVALID;
  return ::GetPixel(screen.Get(), x, y);
}

COLORREF WindowPixel(HWND window, int x, int y) {
  RECT rect = {};
  if (!::GetWindowRect(window, &rect)) return CLR_INVALID;
  return ScreenPixel(rect.left + x, rect.top + y);
}

bool SaveWindowImage(HWND window, const std::wstring& bmpPath) {
  RECT rect = {};
  if (!::GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  platform::WindowDc screen(nullptr);
  if (!screen) return false;
  platform::UniqueHdc memory(::CreateCompatibleDC(screen.Get()));
  if (!memory) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  platform::UniqueHBitmap bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return false;
  HGDIOBJ previous = ::SelectObject(memory.Get(), bitmap.Get());
  const bool copied = ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY) != 0;
  ::GdiFlush();
  ::SelectObject(memory.Get(), previous);
  return copied && WriteBmp(bmpPath, width, height, static_cast<const std::uint8_t*>(bits));
}

std::wstring WindowInfo::StaticText() const {
  std::wstring text;
  for (const ControlInfo& control : controls) {
    if (!IsClass(control.className, L"Static") || control.text.empty()) continue;
    if (!text.empty()) text += L"\n";
    text += control.text;
  }
  return text;
}

bool WindowInfo::HasButton(const std::wstring& text) const {
  for (const ControlInfo& control : controls) {
    if (IsClass(control.className, L"Button") && PlainText(control.text) == text) return true;
  }
  return false;
}

std::vector<WindowInfo> WindowDriver::TopLevelWindows() const {
  std::vector<WindowInfo> result;
  for (HWND window : VisibleTopLevelWindows(processId_)) result.push_back(Describe(window));
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
    if (control.id == controlId && IsClass(control.className, L"Button")) {
      return ::PostMessageW(window.window, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                            reinterpret_cast<LPARAM>(control.window)) != 0;
    }
  }
  return false;
}

bool WindowDriver::PressButton(const WindowInfo& window, const std::wstring& text) {
  for (const ControlInfo& control : window.controls) {
    if (IsClass(control.className, L"Button") && PlainText(control.text) == text) {
      return PressButton(window, control.id);
    }
  }
  return false;
}

HWND WindowDriver::MainFrame() const {
  HWND fallback = nullptr;
  for (HWND window : VisibleTopLevelWindows(processId_)) {
    if (!IsDialogClass(window) || !DialogIdOf(window).empty()) continue;
    if (!PagesOf(window).empty()) return window;
    // Before the first page shows, the frame is known by its title,
    // "<ProductName> Setup"; a message box is titled "Setup" alone.
    const std::wstring title = ReadWindowText(window);
    const std::wstring suffix = L" Setup";
    if (fallback == nullptr && title.size() > suffix.size() &&
        title.compare(title.size() - suffix.size(), suffix.size(), suffix) == 0) {
      fallback = window;
    }
  }
  return fallback;
}

DialogWindow WindowDriver::CurrentPage() const {
  HWND frame = MainFrame();
  if (frame == nullptr) return {};
  const std::vector<HWND> pages = PagesOf(frame);
  if (pages.empty()) return {};
  return DialogWindow{pages.front(), DialogIdOf(pages.front()), false};
}

std::vector<DialogWindow> WindowDriver::SpawnedDialogs() const {
  std::vector<DialogWindow> dialogs;
  // EnumWindows lists top-level windows in Z order, topmost first.
  for (HWND window : VisibleTopLevelWindows(processId_)) {
    if (!IsDialogClass(window)) continue;
    std::wstring id = DialogIdOf(window);
    if (!id.empty()) dialogs.push_back(DialogWindow{window, std::move(id), true});
  }
  return dialogs;
}

DialogWindow WindowDriver::ActiveDialog() const {
  std::vector<DialogWindow> spawned = SpawnedDialogs();
  // A modal dialog keeps its owner disabled: the enabled one is on top of the loop.
  for (const DialogWindow& dialog : spawned) {
    if (::IsWindowEnabled(dialog.window)) return dialog;
  }
  if (!spawned.empty()) return spawned.front();
  return CurrentPage();
}

bool WindowDriver::ProcessRunning() const {
  return process_ == nullptr || ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

template <typename Probe>
bool WindowDriver::Poll(DWORD timeoutMs, Probe probe) const {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (probe()) return true;
    if (!ProcessRunning() || ::GetTickCount64() >= deadline) return probe();
    ::Sleep(25);
  }
}

bool WindowDriver::WaitForPage(const std::wstring& dialogId, DWORD timeoutMs, DialogWindow& found) const {
  return Poll(timeoutMs, [&] {
    DialogWindow page = CurrentPage();
    if (!page.IsValid() || page.id != dialogId) return false;
    found = page;
    return true;
  });
}

bool WindowDriver::WaitForDialog(const std::wstring& dialogId, DWORD timeoutMs, DialogWindow& found) const {
  return Poll(timeoutMs, [&] {
    for (const DialogWindow& dialog : SpawnedDialogs()) {
      if (dialog.id == dialogId) {
        found = dialog;
        return true;
      }
    }
    DialogWindow page = CurrentPage();
    if (!page.IsValid() || page.id != dialogId) return false;
    found = page;
    return true;
  });
}

bool WindowDriver::WaitForMainFrame(DWORD timeoutMs, HWND& frame) const {
  return Poll(timeoutMs, [&] {
    frame = MainFrame();
    return frame != nullptr;
  });
}

}  // namespace testsupport
