#pragma once
// The wizard end-to-end tests' bundle: Setup.exe beside a SetupData folder
// whose main package (WizardMain.msi) shows WelcomeDlg of the bundle's own
// WiX pages (tests/packages/wizardmain/WizardUI.wxs), with its own look
// files, images and log folder; and one wizard run of it, driven through the
// window driver and killed when a test leaves it running.

#include <windows.h>

#include <string>
#include <vector>

#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/WindowDriver.h"

namespace e2etest {

// The colours of the bundle's StyleConfig.xml (tests/packages/wizardmain).
struct WizardColours {
  static constexpr COLORREF kBackground = RGB(244, 232, 200);     // Dialog/Standard ColorFront, "Sand"
  static constexpr COLORREF kTitleBar = RGB(122, 31, 61);         // TitleBar/Standard ColorFront, "Claret"
  static constexpr COLORREF kButton = RGB(200, 230, 201);         // Button/Standard ColorFront, "Mint"
  static constexpr COLORREF kButtonEdge = RGB(46, 94, 58);        // Button/Standard ColorEdge, "Pine"
  static constexpr COLORREF kDefaultButton = RGB(30, 99, 180);    // Button/Default ColorFront, "Sea"
  static constexpr COLORREF kDisabledButton = RGB(221, 221, 221);  // Button/Disabled ColorFront, "Fog"
};

// How a bundle's WiX sources differ from the plain wizardmain pages.
struct WizardSources {
  // Dialogs of WizardUI.wxs left out of the bundle's copy (WelcomeDlg, ...).
  std::vector<std::wstring> omittedDialogs;
  // Further .wxs files of tests/packages/wizardmain named after WizardUI.wxs
  // in the configuration (BadInputUI.wxs, ...).
  std::vector<std::wstring> extraFiles;
};

// What a bundle configures beyond the plain wizard: pre-install dialogs,
// brands, languages and the splash screen.
struct WizardExtras {
  // SetupConfig.xml sections put before the products (PreInstallDialogs,
  // PreCondition); PreInstallUI.wxs is always in SetupData\Wix.
  std::string extraSections;
  // Brand elements after the default brand ("Standard").
  std::string extraBrands;
  // German (1031, WizardUI.de-de.wxl) offered beside English.
  bool german = false;
  // A splash image for the default brand (a BMP file's bytes), written to
  // SetupData\Images\Splash.bmp. Without one the bundle shows no splash
  // screen, which keeps the other wizard tests free of its 5-second minimum.
  std::string splashBitmap;
  // The splash image is configured but its file is left out.
  bool splashFileMissing = false;
};

class WizardBundle {
 public:
  static constexpr wchar_t kProductName[] = L"Wizard Test Product";
  static constexpr wchar_t kProductCode[] = L"{6B1D0C3A-3A00-4000-8000-0000000000D1}";
  static constexpr wchar_t kBundleKey[] = L"E2EWizardBundle";

  explicit WizardBundle(const std::wstring& name, const WizardSources& sources = {}, const WizardExtras& extras = {});
  ~WizardBundle();
  WizardBundle(const WizardBundle&) = delete;
  WizardBundle& operator=(const WizardBundle&) = delete;

  [[nodiscard]] const testsupport::BundleFixture& Bundle() const { return bundle_; }
  [[nodiscard]] std::wstring LogPath() const { return logFolder_ + L"Setup.log"; }
  [[nodiscard]] std::wstring LogText() const;
  // True when the bundle's data could all be laid out (the package built, the
  // sources found, every omitted dialog found and taken out).
  [[nodiscard]] bool Complete() const { return complete_; }

  // Removes the main product and the bundle's entry, should a run have left them.
  void Clean() const;

 private:
  testsupport::BundleFixture bundle_;
  std::wstring logFolder_;
  bool complete_ = true;
};

// The start of the first log line beginning at or after `from` that has the
// level prefix ("ERROR:", "DEBUG:", ...; empty: any level) followed by
// `fragment`; npos when there is none. Pass a found position + 1 to look
// among the lines after it.
size_t FindLogLine(const std::wstring& log, const std::wstring& level, const std::wstring& fragment, size_t from = 0);
inline bool HasLogLine(const std::wstring& log, const std::wstring& level, const std::wstring& fragment) {
  return FindLogLine(log, level, fragment) != std::wstring::npos;
}

class WizardRun {
 public:
  // Starts Setup.exe of the bundle with `arguments` (none: a user's double-click).
  explicit WizardRun(const WizardBundle& bundle, const std::wstring& arguments = L"");
  ~WizardRun();
  WizardRun(const WizardRun&) = delete;
  WizardRun& operator=(const WizardRun&) = delete;

  [[nodiscard]] bool Started() const { return process_.IsValid(); }
  [[nodiscard]] testsupport::RunningProcess& Process() { return process_; }
  [[nodiscard]] const testsupport::WindowDriver& Driver() const { return driver_; }

  // Waits for the page (or spawned dialog) with this WiX Id.
  [[nodiscard]] bool WaitForPage(const std::wstring& id, testsupport::DialogWindow& page) const;
  [[nodiscard]] bool WaitForDialog(const std::wstring& id, testsupport::DialogWindow& dialog) const;
  // A control of the dialog by WiX Id (or visible text); an empty info when missing.
  [[nodiscard]] static testsupport::ControlInfo Control(HWND dialog, const std::wstring& idOrText);
  // Clicks the control once it shows enabled; false when it never does.
  [[nodiscard]] bool Click(HWND dialog, const std::wstring& idOrText) const;
  // Waits until `condition` holds while the process runs.
  template <typename Condition>
  [[nodiscard]] bool Eventually(Condition condition) const {
    const ULONGLONG deadline = ::GetTickCount64() + kStepTimeoutMs;
    while (!condition()) {
      if (::GetTickCount64() >= deadline || !process_.IsRunning()) return condition();
      ::Sleep(25);
    }
    return true;
  }

  // What the process shows right now and the end of its log, for failure messages.
  [[nodiscard]] std::string Describe() const;

  static constexpr DWORD kFirstPageTimeoutMs = 60000;
  static constexpr DWORD kStepTimeoutMs = 20000;

 private:
  const WizardBundle& bundle_;
  testsupport::RunningProcess process_;
  testsupport::WindowDriver driver_;
};

}  // namespace e2etest
