// A bundle whose WiX sources lack the first dialog the main package's user
// interface sequence shows (WelcomeDlg): the real Setup.exe must end on its
// own with the error logged and a non-zero exit code, never leave an empty
// frame waiting, and install nothing. When the sources have a failure page
// (FatalErrorDlg), that page shows instead and its Finish ends the run.
// The bundle is tests/packages/wizardmain with dialogs left out.

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "SilentBundle.h"
#include "WizardBundle.h"
#include "platform/StringUtil.h"
#include "registry/RegistryUtil.h"
#include "support/WindowDriver.h"

using e2etest::WizardBundle;
using e2etest::WizardRun;
using e2etest::WizardSources;
using testsupport::DialogWindow;

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

struct MissingFirstPageCase {
  const char* name;
  std::vector<std::wstring> omittedDialogs;
  const wchar_t* failurePage;  // the page shown instead of the first one; null: none
};

void PrintTo(const MissingFirstPageCase& c, std::ostream* os) { *os << c.name; }

const MissingFirstPageCase kCases[] = {
    {"NoFailurePage", {L"WelcomeDlg", L"FatalErrorDlg"}, nullptr},
    {"WithFailurePage", {L"WelcomeDlg"}, L"FatalErrorDlg"},
};

// A message box of the process (a dialog that is no wizard dialog and has a
// standard button); nobody else would answer it.
bool IsMessageBox(const testsupport::WindowInfo& window, int& button) {
  if (window.className != L"#32770" || !testsupport::DialogIdOf(window.window).empty()) return false;
  // A message box says something; the frame without a page (its close button
  // is IDCANCEL too) holds only pictures.
  if (window.StaticText().empty()) return false;
  for (const testsupport::ControlInfo& control : window.controls) {
    if (!control.dialogId.empty()) return false;  // holds a page: the frame
  }
  for (const testsupport::ControlInfo& control : window.controls) {
    if (_wcsicmp(control.className.c_str(), L"Button") == 0 && control.id >= IDOK && control.id <= IDCONTINUE) {
      button = control.id;
      return true;
    }
  }
  return false;
}

class WizardMissingFirstPage : public ::testing::TestWithParam<MissingFirstPageCase> {};

TEST_P(WizardMissingFirstPage, EndsWithTheErrorAndANonZeroCodeAndInstallsNothing) {
  const MissingFirstPageCase& c = GetParam();
  WizardBundle bundle(L"firstpage_" + platform::Utf8ToWide(c.name), WizardSources{c.omittedDialogs, {}});
  ASSERT_TRUE(bundle.Complete()) << "the bundle could not be laid out";
  WizardRun run(bundle);
  ASSERT_TRUE(run.Started());

  // Watch the run, without acting on it, until it ends or shows the failure
  // page; a message box is answered (and counted) so the run cannot hang on it.
  std::set<std::wstring> dialogsSeen;
  std::vector<std::wstring> messageBoxes;
  DialogWindow failurePage;
  const ULONGLONG deadline = ::GetTickCount64() + WizardRun::kFirstPageTimeoutMs;
  while (run.Process().IsRunning() && ::GetTickCount64() < deadline) {
    const DialogWindow page = run.Driver().CurrentPage();
    if (page.IsValid()) dialogsSeen.insert(page.id);
    for (const DialogWindow& spawned : run.Driver().SpawnedDialogs()) dialogsSeen.insert(spawned.id);
    if (c.failurePage != nullptr && page.IsValid() && page.id == c.failurePage) {
      failurePage = page;
      break;
    }
    for (const testsupport::WindowInfo& window : run.Driver().TopLevelWindows()) {
      int button = 0;
      if (!IsMessageBox(window, button)) continue;
      messageBoxes.push_back(window.title + L": " + window.StaticText());
      (void)testsupport::WindowDriver::PressButton(window, button);
      (void)testsupport::WaitUntilGone(window.window, WizardRun::kStepTimeoutMs);
    }
    ::Sleep(25);
  }

  if (c.failurePage != nullptr) {
    ASSERT_TRUE(failurePage.IsValid()) << "no " << Utf8(c.failurePage) << " page\n" << run.Describe();
    EXPECT_FALSE(failurePage.spawned);
    EXPECT_EQ(::GetAncestor(failurePage.window, GA_PARENT), run.Driver().MainFrame());
    EXPECT_EQ(WizardRun::Control(failurePage.window, L"Title").text,
              std::wstring(WizardBundle::kProductName) + L" Setup Wizard ended prematurely");
    ASSERT_TRUE(run.Click(failurePage.window, L"Finish")) << run.Describe();
  }
  const std::string shown = run.Describe();
  const testsupport::ProcessResult result = run.Process().Wait(WizardRun::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << "Setup.exe did not end on its own (killed)\n" << shown;

  std::set<std::wstring> expectedDialogs;
  if (c.failurePage != nullptr) expectedDialogs.insert(c.failurePage);
  EXPECT_EQ(dialogsSeen, expectedDialogs);
  std::wstring boxTexts;
  for (const std::wstring& box : messageBoxes) boxTexts += box + L"\n";
  EXPECT_TRUE(messageBoxes.empty()) << Utf8(boxTexts);
  EXPECT_NE(result.exitCode, 0u);
  if (c.failurePage == nullptr) {
    EXPECT_EQ(result.exitCode, 3u);
  }

  const std::wstring log = bundle.LogText();
  const size_t notFound =
      e2etest::FindLogLine(log, L"ERROR:", L"The dialog WelcomeDlg could not be found in the dialog list");
  EXPECT_NE(notFound, std::wstring::npos) << Utf8(log);
  // Then the wizard says it could not show its first page.
  EXPECT_NE(e2etest::FindLogLine(log, L"ERROR:", L"The wizard has no page to show", notFound + 1), std::wstring::npos)
      << Utf8(log);
  EXPECT_FALSE(e2etest::HasLogLine(log, L"", L"Error in lauching the Initializer")) << Utf8(log);

  EXPECT_TRUE(e2etest::InstalledProductName(WizardBundle::kProductCode).empty());
  platform::UniqueHKey entry;
  EXPECT_NE(registry::OpenKey(std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
                                  WizardBundle::kBundleKey,
                              KEY_READ, registry::View::Default, entry),
            ERROR_SUCCESS);
}

INSTANTIATE_TEST_SUITE_P(Sources, WizardMissingFirstPage, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<MissingFirstPageCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
