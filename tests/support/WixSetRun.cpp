#include "support/WixSetRun.h"

#include <msi.h>

#include "platform/StringUtil.h"
#include "support/BundleFixture.h"

namespace testsupport {

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

std::wstring CommandLine(const WixSetBundle& bundle, const std::wstring& arguments) {
  std::wstring command = Quote(bundle.SetupExe());
  if (!arguments.empty()) command += L" " + arguments;
  return command;
}

}  // namespace

WixSetRun::WixSetRun(const WixSetBundle& bundle, const std::wstring& arguments)
    : bundle_(bundle),
      process_(StartProcess(CommandLine(bundle, arguments), bundle.Folder())),
      driver_(process_.Id(), process_.Handle()) {}

WixSetRun::~WixSetRun() {
  if (process_.IsRunning()) (void)process_.Wait(0);
}

bool WixSetRun::Follow(const std::vector<WixSetStep>& steps, DWORD firstTimeoutMs) {
  DWORD timeout = firstTimeoutMs;
  for (const WixSetStep& step : steps) {
    DialogWindow page;
    if (!driver_.WaitForPage(step.page, timeout, page)) {
      trouble_ = "page " + Utf8(step.page) + " did not come\n" + Describe();
      return false;
    }
    timeout = kStepTimeoutMs;
    seen_.push_back(step.page);
    last_ = page;
    for (const std::wstring& control : step.clicks) {
      if (!Click(page.window, control)) {
        trouble_ = "could not click " + Utf8(control) + " on " + Utf8(step.page) + "\n" + Describe();
        return false;
      }
    }
  }
  return true;
}

bool WixSetRun::FollowToTheEnd(const std::vector<WixSetStep>& steps) {
  if (!Follow(steps)) return false;
  const ProcessResult result = process_.Wait(kStepTimeoutMs);
  if (result.timedOut) {
    trouble_ = "the last click did not end Setup.exe\n" + Describe();
    return false;
  }
  if (result.exitCode != 0) {
    trouble_ = "Setup.exe ended with " + std::to_string(result.exitCode) + "\n" + Describe();
    return false;
  }
  return true;
}

bool WixSetRun::Click(HWND dialog, const std::wstring& idOrText) const {
  const ULONGLONG deadline = ::GetTickCount64() + kStepTimeoutMs;
  // "A|B": whichever of the two shows (sets show one of two buttons in one
  // place, such as Change and ChangeNoShield, by a condition).
  const std::vector<std::wstring> alternatives = platform::Split(idOrText, L"|");
  for (;;) {
    for (const std::wstring& alternative : alternatives) {
      ControlInfo control;
      if (FindControl(dialog, alternative, control) && control.visible && control.enabled) {
        return testsupport::Click(control.window);
      }
    }
    if (::GetTickCount64() >= deadline || !process_.IsRunning()) return false;
    ::Sleep(25);
  }
}

std::wstring WixSetRun::Text(HWND dialog, const std::wstring& id) {
  ControlInfo control;
  return FindControl(dialog, id, control) ? control.text : L"<no control " + id + L">";
}

std::string WixSetRun::Describe() const {
  std::string text = process_.IsRunning() ? "Setup.exe runs; it shows:\n" : "Setup.exe has ended; it showed:\n";
  for (const WindowInfo& window : driver_.TopLevelWindows()) {
    text += "  " + Utf8(window.className) + " \"" + Utf8(window.title) + "\" [" + Utf8(DialogIdOf(window.window)) +
            "] " + Utf8(window.StaticText()) + "\n";
  }
  text += "pages seen:";
  for (const std::wstring& page : seen_) text += " " + Utf8(page);
  text += "\n";
  // The look files of the sets' bundles name no style for most controls;
  // those lines would crowd out the ones that tell what happened.
  std::wstring log;
  for (const std::wstring& line : platform::Split(ReadUtf16File(bundle_.LogPath()), L"\n")) {
    if (line.find(L"Could not find the") == std::wstring::npos &&
        line.find(L"is not available in the MainDialogConfig map") == std::wstring::npos) {
      log += line + L"\n";
    }
  }
  if (log.size() > 6000) log = L"..." + log.substr(log.size() - 6000);
  return text + "log ending:\n" + Utf8(log);
}

int InstalledFeatureState(const std::wstring& productCode, const std::wstring& feature) {
  return ::MsiQueryFeatureStateW(productCode.c_str(), feature.c_str());
}

std::wstring ComponentPath(const std::wstring& productCode, const std::wstring& componentCode) {
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD length = MAX_PATH * 2;
  const INSTALLSTATE state = ::MsiGetComponentPathW(productCode.c_str(), componentCode.c_str(), buffer, &length);
  return state == INSTALLSTATE_LOCAL ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace testsupport
