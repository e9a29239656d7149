// The folder typed into the WixUI_InstallDir set's path edit and confirmed
// with Enter (the page's default button, Next, runs without the edit ever
// losing the focus) is the folder the product installs into.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "FeatureWizardWalk.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"
#include "support/WixSetBundle.h"

namespace {

using featurewalk::Utf8;
using featurewalk::WizardWalk;

const std::wstring kTypedFolder = L"C:\\Program Files\\Typed By Enter\\";

const testsupport::WixUiSet* InstallDirSet() {
  for (const testsupport::WixUiSet& set : testsupport::WixUiSets()) {
    if (std::string(set.name) == "InstallDir") return &set;
  }
  return nullptr;
}

TEST(PathEditEnter, TheTypedFolderIsTakenWhenEnterPressesNext) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const testsupport::WixUiSet* set = InstallDirSet();
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::RemoveFolder(kTypedFolder);
  testsupport::WixSetBundle bundle(*set, L"pathedit_enter");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  WizardWalk walk(bundle.SetupExe(), bundle.Folder(), bundle.LogPath());
  ASSERT_TRUE(walk.Page(L"WelcomeDlg", {L"Next"}, featurewalk::kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"})) << walk.Trouble();
  testsupport::DialogWindow page;
  ASSERT_TRUE(walk.Dialog(L"InstallDirDlg", page)) << walk.Trouble();
  HWND edit = WizardWalk::Control(page.window, L"Folder");
  ASSERT_NE(edit, nullptr);
  EXPECT_NE(testsupport::ReadWindowText(edit).find(L"SetupTestWixUIInstallDir"), std::wstring::npos);
  // The focus goes to the edit and stays there: only Enter ends the typing.
  DWORD thread = ::GetWindowThreadProcessId(edit, nullptr);
  ASSERT_TRUE(::AttachThreadInput(::GetCurrentThreadId(), thread, TRUE));
  ::SetFocus(edit);
  (void)::AttachThreadInput(::GetCurrentThreadId(), thread, FALSE);
  ASSERT_TRUE(testsupport::TypeText(edit, kTypedFolder));
  ASSERT_TRUE(::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0));
  ASSERT_TRUE(walk.Page(L"VerifyReadyDlg", {L"Install"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"ExitDialog", {L"Finish"})) << walk.Trouble();
  const testsupport::ProcessResult result = walk.Process().Wait(featurewalk::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  EXPECT_EQ(result.exitCode, 0u) << walk.Describe();
  EXPECT_NE(::GetFileAttributesW((kTypedFolder + L"readme.txt").c_str()), INVALID_FILE_ATTRIBUTES) << walk.Describe();
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::RemoveFolder(kTypedFolder);
}

}  // namespace
