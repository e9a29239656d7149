// wizard_driver: drives the wizard of a running Setup.exe for scripts.
//
//   wizard_driver [--pid N | --image NAME] COMMAND [ARGUMENTS]
//
// The process is Setup.exe unless --pid or --image names another; commands
// that wait take a time-out in milliseconds (default 30000). Controls are
// named by their WiX Id or by their visible text ("&" markers ignored) and
// are looked up in the active dialog: the topmost spawned dialog, else the
// page inside the main frame.
//
// Exit code: 0 done, 1 not done (printed why), 2 wrong command line.

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/WindowDriver.h"

namespace {

using testsupport::ControlInfo;
using testsupport::DialogWindow;

constexpr DWORD kDefaultTimeoutMs = 30000;

const char kUsage[] =
    "usage: wizard_driver [--pid N | --image NAME] COMMAND [ARGUMENTS]\n"
    "  pid [TIMEOUT]            wait for the process, print its id\n"
    "  title                    print the main frame's title\n"
    "  page                     print the current page's dialog id\n"
    "  active                   print the id of the dialog a user acts on\n"
    "  dialogs                  print the page and the spawned dialogs, topmost first\n"
    "  wait-page ID [TIMEOUT]   wait until the page or a spawned dialog ID shows\n"
    "  wait-gone ID [TIMEOUT]   wait until no page or spawned dialog ID shows\n"
    "  dump                     print the active dialog's controls\n"
    "  click ID|TEXT [TIMEOUT]  click a control once it shows enabled\n"
    "  type ID|TEXT TEXT        type TEXT into an edit (replacing its text)\n"
    "  select ID|TEXT ITEM      choose ITEM in a combo or list box\n"
    "  items ID|TEXT            print the items of a combo or list box\n"
    "  text ID|TEXT             print a control's text\n"
    "  escape                   press Escape on the active spawned dialog\n"
    "  screenshot FILE [ID]     save the main frame (or dialog ID) as a BMP file\n"
    "  pixel X Y                print the screen pixel as RRGGBB\n"
    "  wait-exit [TIMEOUT]      wait for the process to end, print its exit code\n";

void Print(const std::wstring& line) {
  std::fputs((platform::WideToUtf8(line) + "\n").c_str(), stdout);
  std::fflush(stdout);
}

int Fail(const std::wstring& why) {
  std::fputs(("wizard_driver: " + platform::WideToUtf8(why) + "\n").c_str(), stderr);
  std::fflush(stderr);
  return 1;
}

DWORD ParseTimeout(const std::vector<std::wstring>& args, size_t index) {
  return index < args.size() ? static_cast<DWORD>(std::wcstoul(args[index].c_str(), nullptr, 10)) : kDefaultTimeoutMs;
}

bool HasVisibleWindow(DWORD processId) {
  for (const testsupport::WindowInfo& window : testsupport::WindowDriver(processId).TopLevelWindows()) {
    if (window.window != nullptr) return true;
  }
  return false;
}

// The process of the image name: the one that shows windows, else the last listed.
DWORD FindProcess(const std::wstring& image) {
  std::vector<DWORD> candidates;
  platform::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, image.c_str()) == 0) candidates.push_back(entry.th32ProcessID);
  }
  for (DWORD id : candidates) {
    if (HasVisibleWindow(id)) return id;
  }
  return candidates.empty() ? 0 : candidates.back();
}

DWORD WaitForProcess(const std::wstring& image, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (DWORD id = FindProcess(image)) return id;
    if (::GetTickCount64() >= deadline) return 0;
    ::Sleep(50);
  }
}

std::wstring Describe(const ControlInfo& control) {
  std::wstring line = platform::Format(L"%5d %-18s", control.id, control.className.c_str());
  line += control.controlId.empty() ? L"-" : control.controlId;
  if (!control.text.empty()) {
    std::wstring text = control.text;
    platform::ReplaceAll(text, L"\r", L"\\r");
    platform::ReplaceAll(text, L"\n", L"\\n");
    if (text.size() > 60) text = text.substr(0, 57) + L"...";
    line += L" \"" + text + L"\"";
  }
  if (!control.visible) line += L" hidden";
  if (!control.enabled) line += L" disabled";
  if (control.checked == BST_CHECKED) line += L" checked";
  if (!control.dialogId.empty()) line += L" dialog=" + control.dialogId;
  return line;
}

class Driver {
 public:
  Driver(DWORD processId, HANDLE process) : driver_(processId, process) {}

  int Run(const std::wstring& command, const std::vector<std::wstring>& args) {
    if (command == L"title") {
      HWND frame = nullptr;
      if (!driver_.WaitForMainFrame(kDefaultTimeoutMs, frame)) return Fail(L"no main frame");
      Print(testsupport::ReadWindowText(frame));
      return 0;
    }
    if (command == L"page") {
      DialogWindow page = driver_.CurrentPage();
      if (!page.IsValid()) return Fail(L"no page shows");
      Print(page.id);
      return 0;
    }
    if (command == L"active") {
      DialogWindow active = driver_.ActiveDialog();
      if (!active.IsValid()) return Fail(L"no dialog shows");
      Print(active.id);
      return 0;
    }
    if (command == L"dialogs") {
      for (const DialogWindow& dialog : driver_.SpawnedDialogs()) Print(L"spawned " + dialog.id);
      DialogWindow page = driver_.CurrentPage();
      if (page.IsValid()) Print(L"page " + page.id);
      return 0;
    }
    if (command == L"wait-page" && !args.empty()) {
      DialogWindow found;
      if (!driver_.WaitForDialog(args[0], ParseTimeout(args, 1), found)) {
        DialogWindow active = driver_.ActiveDialog();
        return Fail(L"no dialog " + args[0] + L" (showing: " + (active.IsValid() ? active.id : L"nothing") + L")");
      }
      return 0;
    }
    if (command == L"wait-gone" && !args.empty()) return WaitGone(args[0], ParseTimeout(args, 1));
    if (command == L"dump") return Dump();
    if (command == L"click" && !args.empty()) return ClickControl(args[0], ParseTimeout(args, 1));
    if (command == L"type" && args.size() >= 2) {
      ControlInfo control;
      if (!Find(args[0], control)) return Fail(L"no control " + args[0]);
      return testsupport::TypeText(control.window, args[1]) ? 0 : Fail(L"typing failed");
    }
    if (command == L"select" && args.size() >= 2) {
      ControlInfo control;
      if (!Find(args[0], control)) return Fail(L"no control " + args[0]);
      return testsupport::SelectItem(control.window, args[1]) ? 0 : Fail(L"no item " + args[1]);
    }
    if (command == L"items" && !args.empty()) {
      ControlInfo control;
      if (!Find(args[0], control)) return Fail(L"no control " + args[0]);
      for (const std::wstring& item : testsupport::ListItems(control.window)) Print(item);
      return 0;
    }
    if (command == L"text" && !args.empty()) {
      ControlInfo control;
      if (!Find(args[0], control)) return Fail(L"no control " + args[0]);
      Print(control.text);
      return 0;
    }
    if (command == L"escape") {
      std::vector<DialogWindow> spawned = driver_.SpawnedDialogs();
      DialogWindow active = driver_.ActiveDialog();
      if (spawned.empty() || !active.spawned) return Fail(L"no spawned dialog shows");
      return testsupport::PressEscape(active.window) ? 0 : Fail(L"Escape could not be posted");
    }
    if (command == L"screenshot" && !args.empty()) return Screenshot(args[0], args.size() > 1 ? args[1] : L"");
    if (command == L"pixel" && args.size() >= 2) {
      const COLORREF pixel = testsupport::ScreenPixel(std::wcstol(args[0].c_str(), nullptr, 10),
                                                      std::wcstol(args[1].c_str(), nullptr, 10));
      if (pixel == CLR_INVALID) return Fail(L"the pixel cannot be read");
      Print(platform::Format(L"%02X%02X%02X", GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)));
      return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
  }

 private:
  bool Find(const std::wstring& name, ControlInfo& found) const {
    DialogWindow active = driver_.ActiveDialog();
    return active.IsValid() && testsupport::FindControl(active.window, name, found);
  }

  int ClickControl(const std::wstring& name, DWORD timeoutMs) {
    // Scripts click right after a page changed: wait until the control shows
    // and its conditions have enabled it.
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    ControlInfo control;
    for (;;) {
      if (Find(name, control) && control.visible && control.enabled) break;
      if (!driver_.ProcessRunning()) return Fail(L"the process has ended");
      if (::GetTickCount64() >= deadline) {
        return Fail(control.window == nullptr ? L"no control " + name : L"control " + name + L" is not enabled");
      }
      ::Sleep(50);
    }
    return testsupport::Click(control.window) ? 0 : Fail(L"the click could not be posted");
  }

  int WaitGone(const std::wstring& id, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
      bool shows = driver_.CurrentPage().id == id;
      for (const DialogWindow& dialog : driver_.SpawnedDialogs()) shows = shows || dialog.id == id;
      if (!shows) return 0;
      if (::GetTickCount64() >= deadline) return Fail(id + L" still shows");
      ::Sleep(50);
    }
  }

  int Dump() {
    HWND frame = driver_.MainFrame();
    if (frame != nullptr) Print(L"frame \"" + testsupport::ReadWindowText(frame) + L"\"");
    std::vector<DialogWindow> dialogs = driver_.SpawnedDialogs();
    DialogWindow page = driver_.CurrentPage();
    if (page.IsValid()) dialogs.push_back(page);
    if (dialogs.empty()) return Fail(L"no dialog shows");
    for (const DialogWindow& dialog : dialogs) {
      Print((dialog.spawned ? L"spawned " : L"page ") + dialog.id);
      for (const ControlInfo& control : testsupport::DialogControls(dialog.window)) Print(L"  " + Describe(control));
    }
    return 0;
  }

  int Screenshot(const std::wstring& path, const std::wstring& dialogId) {
    HWND window = driver_.MainFrame();
    if (!dialogId.empty()) {
      DialogWindow dialog;
      if (!driver_.WaitForDialog(dialogId, kDefaultTimeoutMs, dialog)) return Fail(L"no dialog " + dialogId);
      window = dialog.window;
    }
    if (window == nullptr) return Fail(L"no main frame");
    return testsupport::SaveWindowImage(window, path) ? 0 : Fail(L"the image could not be saved to " + path);
  }

  testsupport::WindowDriver driver_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Scripts read the output on Linux: lines end with "\n" alone.
  (void)_setmode(_fileno(stdout), _O_BINARY);
  (void)_setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  std::wstring image = L"Setup.exe";
  DWORD processId = 0;
  while (args.size() >= 2 && (args[0] == L"--pid" || args[0] == L"--image")) {
    if (args[0] == L"--pid") processId = static_cast<DWORD>(std::wcstoul(args[1].c_str(), nullptr, 10));
    if (args[0] == L"--image") image = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::wstring command = args[0];
  args.erase(args.begin());

  const DWORD findTimeout = command == L"pid" || command == L"wait-page" ? ParseTimeout(args, command == L"pid" ? 0 : 1)
                                                                         : kDefaultTimeoutMs;
  if (processId == 0) processId = WaitForProcess(image, findTimeout);
  if (processId == 0) return Fail(L"no process " + image);
  platform::UniqueHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (command == L"pid") {
    Print(std::to_wstring(processId));
    return 0;
  }
  if (command == L"wait-exit") {
    if (!process) return Fail(L"the process cannot be opened");
    if (::WaitForSingleObject(process.Get(), ParseTimeout(args, 0)) != WAIT_OBJECT_0) return Fail(L"the process still runs");
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    Print(platform::Format(L"exit code: %lu", exitCode));
    return 0;
  }
  return Driver(processId, process.Get()).Run(command, args);
}
