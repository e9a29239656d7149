// The ways out of a wizard made of a standard WiX UI dialog set of the shared
// library (../shared/wixui), with the real Setup.exe: Cancel on the first
// page spawns the set's CancelDlg; its Yes ends on the set's own user-exit
// page ("UserExit"), whose Finish ends the run with nothing installed and
// exit code 0; Escape on CancelDlg returns to the page.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"

using testsupport::DialogWindow;
using testsupport::WixUiSet;

namespace {

constexpr DWORD kFirstPageTimeoutMs = 60000;
constexpr DWORD kStepTimeoutMs = 20000;

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

// A string of WixUI_en-us.wxl as a page shows it: without its text style,
// [ProductName] formatted.
std::wstring PageText(const std::wstring& stringId, const std::wstring& productName) {
  std::wstring text = testsupport::WithoutTextStyle(testsupport::WixUiLibraryString(L"WixUI_en-us.wxl", stringId));
  (void)platform::ReplaceAll(text, L"[ProductName]", productName);
  return text;
}

// One run of a set bundle's Setup.exe; a run a test leaves behind is killed.
class SetRun {
 public:
  explicit SetRun(const testsupport::WixSetBundle& bundle)
      : bundle_(bundle),
        process_(testsupport::StartProcess(testsupport::Quote(bundle.SetupExe()), bundle.Folder())),
        driver_(process_.Id(), process_.Handle()) {}
  ~SetRun() {
    if (process_.IsRunning()) (void)process_.Wait(0);
  }
  SetRun(const SetRun&) = delete;
  SetRun& operator=(const SetRun&) = delete;

  [[nodiscard]] bool Started() const { return process_.IsValid(); }
  [[nodiscard]] testsupport::RunningProcess& Process() { return process_; }
  [[nodiscard]] const testsupport::WindowDriver& Driver() const { return driver_; }

  // Clicks the control of the dialog (WiX Id) once it shows enabled.
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
  [[nodiscard]] static std::wstring Text(HWND dialog, const std::wstring& id) {
    testsupport::ControlInfo control;
    return testsupport::FindControl(dialog, id, control) ? control.text : L"<no control " + id + L">";
  }

  // What the process shows and the end of its log, for failure messages.
  [[nodiscard]] std::string Describe() const {
    std::string text = process_.IsRunning() ? "Setup.exe runs; it shows:\n" : "Setup.exe has ended; it showed:\n";
    for (const testsupport::WindowInfo& window : driver_.TopLevelWindows()) {
      text += "  " + Utf8(window.className) + " \"" + Utf8(window.title) + "\" [" +
              Utf8(testsupport::DialogIdOf(window.window)) + "] " + Utf8(window.StaticText()) + "\n";
    }
    std::wstring log = testsupport::ReadUtf16File(bundle_.LogPath());
    if (log.size() > 3000) log = L"..." + log.substr(log.size() - 3000);
    return text + "log ending:\n" + Utf8(log);
  }

 private:
  const testsupport::WixSetBundle& bundle_;
  testsupport::RunningProcess process_;
  testsupport::WindowDriver driver_;
};

// Cancel on the first page: the set's CancelDlg, spawned above the page.
bool OpenCancelDialog(SetRun& run, const DialogWindow& page, DialogWindow& cancel) {
  return run.Click(page.window, L"Cancel") && run.Driver().WaitForDialog(L"CancelDlg", kStepTimeoutMs, cancel) &&
         cancel.spawned;
}

class WixSetExitPages : public ::testing::TestWithParam<WixUiSet> {
 protected:
  void SetUp() override { testsupport::RemoveWixSetProductIfInstalled(GetParam().productCode); }
  void TearDown() override { testsupport::RemoveWixSetProductIfInstalled(GetParam().productCode); }
};

TEST_P(WixSetExitPages, CancelYesShowsTheSetsUserExitPageAndFinishEndsTheRunWithNothingInstalled) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet& set = GetParam();
  testsupport::WixSetBundle bundle(set, L"exit_" + platform::Utf8ToWide(set.name));
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  const std::wstring productName = testsupport::WixSetProductName(set);

  SetRun run(bundle);
  ASSERT_TRUE(run.Started());
  DialogWindow first;
  ASSERT_TRUE(run.Driver().WaitForPage(set.firstDialog, kFirstPageTimeoutMs, first)) << run.Describe();
  DialogWindow cancel;
  ASSERT_TRUE(OpenCancelDialog(run, first, cancel)) << run.Describe();
  EXPECT_EQ(SetRun::Text(cancel.window, L"Text"), PageText(L"CancelDlgText", productName));
  ASSERT_TRUE(run.Click(cancel.window, L"Yes"));

  DialogWindow userExit;
  ASSERT_TRUE(run.Driver().WaitForPage(L"UserExit", kStepTimeoutMs, userExit)) << run.Describe();
  EXPECT_FALSE(userExit.spawned);
  EXPECT_TRUE(testsupport::WaitUntilGone(cancel.window, kStepTimeoutMs));
  EXPECT_TRUE(testsupport::WaitUntilGone(first.window, kStepTimeoutMs));
  EXPECT_TRUE(run.Driver().SpawnedDialogs().empty());
  EXPECT_EQ(SetRun::Text(userExit.window, L"Title"), PageText(L"UserExitTitle", productName));
  EXPECT_EQ(SetRun::Text(userExit.window, L"Description"),
            PageText(L"UserExitDescription1", productName) + L" " + PageText(L"UserExitDescription2", productName));

  ASSERT_TRUE(run.Click(userExit.window, L"Finish")) << run.Describe();
  const std::string shown = run.Describe();
  const testsupport::ProcessResult result = run.Process().Wait(kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << "Finish did not end Setup.exe (killed)\n" << shown;
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set.productCode)) << "the cancelled wizard installed the product";
  const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
  EXPECT_NE(log.find(L"The user has canceled the Setup!"), std::wstring::npos) << Utf8(log);
}

INSTANTIATE_TEST_SUITE_P(Sets, WixSetExitPages, ::testing::ValuesIn(testsupport::WixUiSets()),
                         [](const ::testing::TestParamInfo<WixUiSet>& info) {
                           return testsupport::WixUiSetName(info.param);
                         });

// The InstallDir set: Escape (IDCANCEL) on CancelDlg is its No.
class WixSetCancelEscape : public ::testing::Test {
 protected:
  static const WixUiSet& InstallDirSet() {
    for (const WixUiSet& set : testsupport::WixUiSets()) {
      if (std::string(set.name) == "InstallDir") return set;
    }
    return testsupport::WixUiSets().front();
  }
  void SetUp() override { testsupport::RemoveWixSetProductIfInstalled(InstallDirSet().productCode); }
  void TearDown() override { testsupport::RemoveWixSetProductIfInstalled(InstallDirSet().productCode); }
};

TEST_F(WixSetCancelEscape, EscapeOnCancelDlgReturnsToThePage) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet& set = InstallDirSet();
  ASSERT_EQ(std::string(set.name), "InstallDir");
  testsupport::WixSetBundle bundle(set, L"escape_InstallDir");
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  SetRun run(bundle);
  ASSERT_TRUE(run.Started());
  DialogWindow welcome;
  ASSERT_TRUE(run.Driver().WaitForPage(L"WelcomeDlg", kFirstPageTimeoutMs, welcome)) << run.Describe();
  DialogWindow cancel;
  ASSERT_TRUE(OpenCancelDialog(run, welcome, cancel)) << run.Describe();
  EXPECT_EQ(run.Driver().ActiveDialog().window, cancel.window);

  ASSERT_TRUE(testsupport::PressEscape(cancel.window));
  EXPECT_TRUE(testsupport::WaitUntilGone(cancel.window, kStepTimeoutMs)) << run.Describe();
  // Still the same page, no exit page: the wizard goes on.
  EXPECT_TRUE(run.Process().IsRunning());
  EXPECT_TRUE(run.Driver().SpawnedDialogs().empty());
  EXPECT_EQ(run.Driver().CurrentPage().window, welcome.window);
  EXPECT_EQ(run.Driver().CurrentPage().id, L"WelcomeDlg");

  // And the page still answers: Cancel again, Yes, UserExit, Finish.
  DialogWindow again;
  ASSERT_TRUE(OpenCancelDialog(run, welcome, again)) << run.Describe();
  ASSERT_TRUE(run.Click(again.window, L"Yes"));
  DialogWindow userExit;
  ASSERT_TRUE(run.Driver().WaitForPage(L"UserExit", kStepTimeoutMs, userExit)) << run.Describe();
  ASSERT_TRUE(run.Click(userExit.window, L"Finish"));
  const testsupport::ProcessResult result = run.Process().Wait(kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << run.Describe();
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set.productCode));
}

}  // namespace
