// The ways out of a wizard made of a standard WiX UI dialog set of the shared
// library (../shared/wixui), with the real Setup.exe: Cancel on the first
// page spawns the set's CancelDlg; its Yes ends on the set's own user-exit
// page ("UserExit"), whose Finish ends the run with nothing installed and
// exit code 0; Escape on CancelDlg returns to the page.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"
#include "support/WixSetRun.h"

using testsupport::DialogWindow;
using testsupport::WixSetRun;
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

// Cancel on the first page: the set's CancelDlg, spawned above the page.
bool OpenCancelDialog(WixSetRun& run, const DialogWindow& page, DialogWindow& cancel) {
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

  WixSetRun run(bundle);
  ASSERT_TRUE(run.Started());
  DialogWindow first;
  ASSERT_TRUE(run.Driver().WaitForPage(set.firstDialog, kFirstPageTimeoutMs, first)) << run.Describe();
  DialogWindow cancel;
  ASSERT_TRUE(OpenCancelDialog(run, first, cancel)) << run.Describe();
  EXPECT_EQ(WixSetRun::Text(cancel.window, L"Text"), PageText(L"CancelDlgText", productName));
  ASSERT_TRUE(run.Click(cancel.window, L"Yes"));

  DialogWindow userExit;
  ASSERT_TRUE(run.Driver().WaitForPage(L"UserExit", kStepTimeoutMs, userExit)) << run.Describe();
  EXPECT_FALSE(userExit.spawned);
  EXPECT_TRUE(testsupport::WaitUntilGone(cancel.window, kStepTimeoutMs));
  EXPECT_TRUE(testsupport::WaitUntilGone(first.window, kStepTimeoutMs));
  EXPECT_TRUE(run.Driver().SpawnedDialogs().empty());
  EXPECT_EQ(WixSetRun::Text(userExit.window, L"Title"), PageText(L"UserExitTitle", productName));
  EXPECT_EQ(WixSetRun::Text(userExit.window, L"Description"),
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

  WixSetRun run(bundle);
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
