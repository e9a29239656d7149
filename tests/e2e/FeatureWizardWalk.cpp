#include "FeatureWizardWalk.h"

#include <functional>

#include "platform/StringUtil.h"
#include "support/BundleFixture.h"

namespace featurewalk {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

bool WaitFor(DWORD timeoutMs, const std::function<bool()>& probe) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (probe()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(25);
  }
}

WizardWalk::WizardWalk(const std::wstring& setupExe, const std::wstring& folder, const std::wstring& logPath,
                       const std::wstring& arguments)
    : logPath_(logPath),
      process_(testsupport::StartProcess(testsupport::Quote(setupExe) + (arguments.empty() ? L"" : L" " + arguments),
                                         folder)),
      driver_(process_.Id(), process_.Handle()) {}

WizardWalk::~WizardWalk() {
  if (process_.IsRunning()) (void)process_.Wait(0);
}

bool WizardWalk::Dialog(const std::wstring& dialogId, testsupport::DialogWindow& found, DWORD timeoutMs) {
  if (driver_.WaitForDialog(dialogId, timeoutMs, found)) return true;
  trouble_ = "dialog " + Utf8(dialogId) + " did not come\n" + Describe();
  return false;
}

bool WizardWalk::Page(const std::wstring& dialogId, const std::vector<std::wstring>& clicks, DWORD timeoutMs) {
  testsupport::DialogWindow page;
  if (!Dialog(dialogId, page, timeoutMs)) return false;
  for (const std::wstring& control : clicks) {
    if (!Click(page.window, control)) {
      trouble_ = "could not click " + Utf8(control) + " on " + Utf8(dialogId) + "\n" + Describe();
      return false;
    }
  }
  return true;
}

bool WizardWalk::Click(HWND dialog, const std::wstring& controlId) {
  HWND target = nullptr;
  const bool found = WaitFor(kStepTimeoutMs, [&]() {
    testsupport::ControlInfo control;
    if (!process_.IsRunning()) return true;
    if (testsupport::FindControl(dialog, controlId, control) && control.visible && control.enabled) {
      target = control.window;
      return true;
    }
    return false;
  });
  return found && target != nullptr && testsupport::Click(target);
}

HWND WizardWalk::Control(HWND dialog, const std::wstring& controlId) {
  testsupport::ControlInfo control;
  return testsupport::FindControl(dialog, controlId, control) ? control.window : nullptr;
}

std::wstring WizardWalk::Text(HWND dialog, const std::wstring& controlId) {
  HWND control = Control(dialog, controlId);
  return control != nullptr ? testsupport::ReadWindowText(control) : L"<no control " + controlId + L">";
}

void WizardWalk::Screenshot(const std::wstring& name) const {
  wchar_t folder[1024] = {};
  if (::GetEnvironmentVariableW(L"SETUP_TEST_SCREENSHOT_DIR", folder, 1024) == 0) return;
  std::wstring path = folder;
  if (!path.empty() && path[0] == L'/') {
    (void)platform::ReplaceAll(path, L"/", L"\\");
    path = L"Z:" + path;
  }
  ::Sleep(300);  // let the last change paint
  (void)testsupport::SaveWindowImage(::GetDesktopWindow(), path + L"\\" + name + L".bmp");
}

std::string WizardWalk::Describe() const {
  std::string text = process_.IsRunning() ? "Setup.exe runs; it shows:\n" : "Setup.exe has ended; it showed:\n";
  for (const testsupport::WindowInfo& window : driver_.TopLevelWindows()) {
    text += "  " + Utf8(window.className) + " \"" + Utf8(window.title) + "\" [" +
            Utf8(testsupport::DialogIdOf(window.window)) + "] " + Utf8(window.StaticText()) + "\n";
  }
  std::wstring log;
  for (const std::wstring& line : platform::Split(testsupport::ReadUtf16File(logPath_), L"\n")) {
    if (line.find(L"Could not find the") == std::wstring::npos &&
        line.find(L"is not available in the MainDialogConfig map") == std::wstring::npos) {
      log += line + L"\n";
    }
  }
  if (log.size() > 6000) log = L"..." + log.substr(log.size() - 6000);
  return text + "log ending:\n" + Utf8(log);
}

std::vector<testsupport::TreeItemInfo> WaitForTreeItems(HWND tree) {
  std::vector<testsupport::TreeItemInfo> items;
  (void)WaitFor(kStepTimeoutMs, [&]() {
    items = testsupport::ReadTreeItems(tree);
    return !items.empty();
  });
  return items;
}

namespace {
HWND OpenMenuWindow() {
  HWND menu = nullptr;
  (void)WaitFor(10000, [&]() {
    menu = ::FindWindowW(L"#32768", nullptr);
    return menu != nullptr && ::IsWindowVisible(menu);
  });
  return menu;
}
}  // namespace

bool ChooseMenuEntry(HWND tree, int position) {
  // The keys go to the tree's thread, where the menu's own loop reads them.
  ::PostMessageW(tree, WM_KEYDOWN, VK_SPACE, 0);
  ::PostMessageW(tree, WM_KEYUP, VK_SPACE, 0);
  HWND menu = OpenMenuWindow();
  if (menu == nullptr) return false;
  for (int i = 0; i <= position; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  if (testsupport::WaitUntilGone(menu, 3000)) return true;
  // A disabled entry keeps the menu open, as for a user: leave it.
  ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  return testsupport::WaitUntilGone(menu, 10000);
}

}  // namespace featurewalk
