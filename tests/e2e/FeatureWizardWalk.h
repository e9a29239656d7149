#pragma once
// A run of the real Setup.exe driven by clicks for the feature, folder and
// disk pages: waits for pages, clicks and reads their controls, and keeps
// screenshots of what it saw when SETUP_TEST_SCREENSHOT_DIR names a folder.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/ProcessRunner.h"
#include "support/RemoteControls.h"
#include "support/WindowDriver.h"

namespace featurewalk {

constexpr DWORD kFirstPageTimeoutMs = 60000;
constexpr DWORD kStepTimeoutMs = 60000;

std::string Utf8(const std::wstring& text);

class WizardWalk {
 public:
  WizardWalk(const std::wstring& setupExe, const std::wstring& folder, const std::wstring& logPath,
             const std::wstring& arguments = L"");
  ~WizardWalk();
  WizardWalk(const WizardWalk&) = delete;
  WizardWalk& operator=(const WizardWalk&) = delete;

  // Waits for the page (or spawned dialog) and clicks its controls in order.
  bool Page(const std::wstring& dialogId, const std::vector<std::wstring>& clicks, DWORD timeoutMs = kStepTimeoutMs);
  bool Dialog(const std::wstring& dialogId, testsupport::DialogWindow& found, DWORD timeoutMs = kStepTimeoutMs);
  // Clicks a control of a dialog once it is visible and enabled.
  bool Click(HWND dialog, const std::wstring& controlId);
  // The control of a dialog with the WiX id; null when there is none.
  static HWND Control(HWND dialog, const std::wstring& controlId);
  static std::wstring Text(HWND dialog, const std::wstring& controlId);

  // Saves the screen as <SETUP_TEST_SCREENSHOT_DIR>\<name>.bmp when asked to.
  void Screenshot(const std::wstring& name) const;

  [[nodiscard]] std::string Describe() const;
  [[nodiscard]] testsupport::RunningProcess& Process() { return process_; }
  [[nodiscard]] const testsupport::WindowDriver& Driver() const { return driver_; }
  [[nodiscard]] const std::string& Trouble() const { return trouble_; }

 private:
  std::wstring logPath_;
  testsupport::RunningProcess process_;
  testsupport::WindowDriver driver_;
  std::string trouble_;
};

// Waits (pumping nothing: the wizard is another process) until `probe` holds.
bool WaitFor(DWORD timeoutMs, const std::function<bool()>& probe);

// The tree's items once it has some.
std::vector<testsupport::TreeItemInfo> WaitForTreeItems(HWND tree);
// Opens the tree's menu on the selected item with the keyboard and chooses
// the entry at `position` (0 the first; separators are skipped by the menu).
bool ChooseMenuEntry(HWND tree, int position);

}  // namespace featurewalk
