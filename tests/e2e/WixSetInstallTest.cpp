// Installing and removing by clicks only, with the real Setup.exe on a bundle
// whose wizard is a standard WiX UI dialog set of the shared library
// (../shared/wixui): the pages come in the set's order, the installation runs
// from the set's last page to its exit page, and a second start offers the
// set's maintenance pages, whose Remove takes the product away again.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"

using testsupport::DialogWindow;
using testsupport::WixUiSet;

namespace {

constexpr DWORD kFirstPageTimeoutMs = 60000;
constexpr DWORD kStepTimeoutMs = 60000;

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

// One page of a walk and what the user clicks on it (in order).
struct Step {
  const wchar_t* page;
  std::vector<const wchar_t*> clicks;
};

struct InstallCase {
  const char* set;
  std::vector<Step> install;  // ends on the page whose click starts the installation
};
void PrintTo(const InstallCase& c, std::ostream* os) { *os << c.set; }

const WixUiSet* FindSet(const char* name) {
  for (const WixUiSet& set : testsupport::WixUiSets()) {
    if (std::string(set.name) == name) return &set;
  }
  return nullptr;
}

class Walk {
 public:
  explicit Walk(const testsupport::WixSetBundle& bundle)
      : bundle_(bundle),
        process_(testsupport::StartProcess(testsupport::Quote(bundle.SetupExe()), bundle.Folder())),
        driver_(process_.Id(), process_.Handle()) {}
  ~Walk() {
    if (process_.IsRunning()) (void)process_.Wait(0);
  }
  Walk(const Walk&) = delete;
  Walk& operator=(const Walk&) = delete;

  // Waits for each page in turn and clicks its controls; false (with what
  // was shown in `trouble`) at the first page or control that does not come.
  bool Follow(const std::vector<Step>& steps, DWORD firstTimeoutMs) {
    DWORD timeout = firstTimeoutMs;
    for (const Step& step : steps) {
      DialogWindow page;
      if (!driver_.WaitForPage(step.page, timeout, page)) {
        trouble_ = "page " + Utf8(step.page) + " did not come\n" + Describe();
        return false;
      }
      timeout = kStepTimeoutMs;
      seen_.push_back(step.page);
      for (const wchar_t* control : step.clicks) {
        if (!Click(page.window, control)) {
          trouble_ = "could not click " + Utf8(control) + " on " + Utf8(step.page) + "\n" + Describe();
          return false;
        }
      }
    }
    return true;
  }

  [[nodiscard]] bool Click(HWND dialog, const std::wstring& id) const {
    const ULONGLONG deadline = ::GetTickCount64() + kStepTimeoutMs;
    for (;;) {
      testsupport::ControlInfo control;
      if (testsupport::FindControl(dialog, id, control) && control.visible && control.enabled) {
        return testsupport::Click(control.window);
      }
      if (::GetTickCount64() >= deadline || !process_.IsRunning()) return false;
      ::Sleep(25);
    }
  }

  [[nodiscard]] std::string Describe() const {
    std::string text = process_.IsRunning() ? "Setup.exe runs; it shows:\n" : "Setup.exe has ended; it showed:\n";
    for (const testsupport::WindowInfo& window : driver_.TopLevelWindows()) {
      text += "  " + Utf8(window.className) + " \"" + Utf8(window.title) + "\" [" +
              Utf8(testsupport::DialogIdOf(window.window)) + "] " + Utf8(window.StaticText()) + "\n";
    }
    // The look files of the sets' bundles name no style for most controls;
    // those lines would crowd out the ones that tell what happened.
    std::wstring log;
    for (const std::wstring& line : platform::Split(testsupport::ReadUtf16File(bundle_.LogPath()), L"\n")) {
      if (line.find(L"Could not find the") == std::wstring::npos &&
          line.find(L"is not available in the MainDialogConfig map") == std::wstring::npos) {
        log += line + L"\n";
      }
    }
    if (log.size() > 6000) log = L"..." + log.substr(log.size() - 6000);
    return text + "log ending:\n" + Utf8(log);
  }

  [[nodiscard]] testsupport::RunningProcess& Process() { return process_; }
  [[nodiscard]] const std::string& Trouble() const { return trouble_; }

 private:
  const testsupport::WixSetBundle& bundle_;
  testsupport::RunningProcess process_;
  testsupport::WindowDriver driver_;
  std::vector<std::wstring> seen_;
  std::string trouble_;
};

class WixSetInstall : public ::testing::TestWithParam<InstallCase> {
 protected:
  void SetUp() override {
    set_ = FindSet(GetParam().set);
    if (set_ != nullptr) testsupport::RemoveWixSetProductIfInstalled(set_->productCode);
  }
  void TearDown() override {
    if (set_ != nullptr) testsupport::RemoveWixSetProductIfInstalled(set_->productCode);
  }
  const WixUiSet* set_ = nullptr;
};

TEST_P(WixSetInstall, InstallsThroughTheSetsPagesAndRemovesFromItsMaintenancePages) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  ASSERT_NE(set_, nullptr);
  testsupport::WixSetBundle bundle(*set_, L"install_" + platform::Utf8ToWide(set_->name));
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  {
    Walk walk(bundle);
    std::vector<Step> steps = GetParam().install;
    steps.push_back({L"ExitDialog", {L"Finish"}});
    ASSERT_TRUE(walk.Follow(steps, kFirstPageTimeoutMs)) << walk.Trouble();
    const testsupport::ProcessResult result = walk.Process().Wait(kStepTimeoutMs);
    ASSERT_FALSE(result.timedOut) << "Finish did not end Setup.exe\n" << walk.Describe();
    EXPECT_EQ(result.exitCode, 0u) << walk.Describe();
    EXPECT_TRUE(testsupport::IsWixSetProductInstalled(set_->productCode)) << walk.Describe();
    const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
    EXPECT_NE(log.find(L"Setup ended with (0) Errors"), std::wstring::npos) << Utf8(log);
  }

  {
    Walk walk(bundle);
    const std::vector<Step> removal = {{L"MaintenanceWelcomeDlg", {L"Next"}},
                                       {L"MaintenanceTypeDlg", {L"RemoveButton"}},
                                       {L"VerifyReadyDlg", {L"Remove"}},
                                       {L"ExitDialog", {L"Finish"}}};
    ASSERT_TRUE(walk.Follow(removal, kFirstPageTimeoutMs)) << walk.Trouble();
    const testsupport::ProcessResult result = walk.Process().Wait(kStepTimeoutMs);
    ASSERT_FALSE(result.timedOut) << "Finish did not end Setup.exe\n" << walk.Describe();
    EXPECT_EQ(result.exitCode, 0u) << walk.Describe();
    EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set_->productCode)) << walk.Describe();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, WixSetInstall,
    ::testing::Values(InstallCase{"Minimal", {{L"WelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Install"}}}},
                      InstallCase{"InstallDir",
                                  {{L"WelcomeDlg", {L"Next"}},
                                   {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}},
                                   {L"InstallDirDlg", {L"Next"}},
                                   {L"VerifyReadyDlg", {L"Install"}}}},
                      InstallCase{"FeatureTree",
                                  {{L"WelcomeDlg", {L"Next"}},
                                   {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}},
                                   {L"CustomizeDlg", {L"Next"}},
                                   {L"VerifyReadyDlg", {L"Install"}}}},
                      InstallCase{"Mondo",
                                  {{L"WelcomeDlg", {L"Next"}},
                                   {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}},
                                   {L"SetupTypeDlg", {L"TypicalButton"}},
                                   {L"VerifyReadyDlg", {L"Install"}}}}),
    [](const ::testing::TestParamInfo<InstallCase>& info) { return std::string(info.param.set); });

// WixUI_Advanced installs into APPLICATIONFOLDER; a bundle installs into the
// folder INSTALLDIR names, which this package does not have. Install must
// not start a run that cannot exist: the set's failure page says so.
TEST(WixSetAdvancedWithoutInstallDir, InstallEndsOnTheFailurePageWithTheReasonLoggedAndInstallsNothing) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet* set = FindSet("Advanced");
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::WixSetBundle bundle(*set, L"install_Advanced");
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  Walk walk(bundle);
  ASSERT_TRUE(walk.Follow({{L"AdvancedWelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Install"}},
                           {L"FatalError", {L"Finish"}}},
                          kFirstPageTimeoutMs))
      << walk.Trouble();
  const testsupport::ProcessResult result = walk.Process().Wait(kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << "Finish did not end Setup.exe\n" << walk.Describe();
  EXPECT_NE(result.exitCode, 0u);
  EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set->productCode));
  const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
  EXPECT_NE(log.find(L"Install directory is not configured correctly. Exiting the setup"), std::wstring::npos)
      << Utf8(log);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
}

}  // namespace
