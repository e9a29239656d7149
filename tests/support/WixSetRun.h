#pragma once
// One run of a standard WiX set bundle's Setup.exe (support/WixSetBundle.h),
// driven by clicks: waits for pages, clicks their controls once they show
// enabled, lists the pages it saw, and describes what the process shows with
// the end of its log when something does not come. A run a test leaves
// behind is killed.

#include <windows.h>

#include <string>
#include <vector>

#include "support/ProcessRunner.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"

namespace testsupport {

// One page of a walk and what the user clicks on it, in order (WiX Ids, or
// visible texts without "&"; "A|B" clicks whichever of A and B shows).
struct WixSetStep {
  const wchar_t* page;
  std::vector<std::wstring> clicks;
};

class WixSetRun {
 public:
  static constexpr DWORD kFirstPageTimeoutMs = 60000;
  static constexpr DWORD kStepTimeoutMs = 60000;

  // `arguments` follow the program on the command line.
  explicit WixSetRun(const WixSetBundle& bundle, const std::wstring& arguments = L"");
  ~WixSetRun();
  WixSetRun(const WixSetRun&) = delete;
  WixSetRun& operator=(const WixSetRun&) = delete;

  [[nodiscard]] bool Started() const { return process_.IsValid(); }
  [[nodiscard]] RunningProcess& Process() { return process_; }
  [[nodiscard]] const WindowDriver& Driver() const { return driver_; }

  // Waits for each page in turn and clicks its controls; false (with what was
  // shown in Trouble()) at the first page or control that does not come. The
  // first page may take `firstTimeoutMs` (the initializer runs before it).
  [[nodiscard]] bool Follow(const std::vector<WixSetStep>& steps, DWORD firstTimeoutMs = kFirstPageTimeoutMs);
  // Follow, then the process must end by itself with exit code 0.
  [[nodiscard]] bool FollowToTheEnd(const std::vector<WixSetStep>& steps);

  // Clicks the control of the dialog once it shows enabled.
  [[nodiscard]] bool Click(HWND dialog, const std::wstring& idOrText) const;
  // The text of a control of the dialog; "<no control ...>" when there is none.
  [[nodiscard]] static std::wstring Text(HWND dialog, const std::wstring& id);

  // The pages Follow saw, in order.
  [[nodiscard]] const std::vector<std::wstring>& Seen() const { return seen_; }
  // The last page Follow reached.
  [[nodiscard]] const DialogWindow& LastPage() const { return last_; }
  [[nodiscard]] const std::string& Trouble() const { return trouble_; }
  // What the process shows and the end of its log, for failure messages.
  [[nodiscard]] std::string Describe() const;

 private:
  const WixSetBundle& bundle_;
  RunningProcess process_;
  WindowDriver driver_;
  std::vector<std::wstring> seen_;
  DialogWindow last_;
  std::string trouble_;
};

// The installed state of a feature of an installed product (INSTALLSTATE_LOCAL,
// INSTALLSTATE_ABSENT, ...), as Windows Installer reports it.
[[nodiscard]] int InstalledFeatureState(const std::wstring& productCode, const std::wstring& feature);
// The folder Windows Installer keeps as the product's InstallLocation, or the
// path of a component's key file; empty when unknown.
[[nodiscard]] std::wstring ComponentPath(const std::wstring& productCode, const std::wstring& componentCode);

}  // namespace testsupport
