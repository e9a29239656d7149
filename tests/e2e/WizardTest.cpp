// The wizard of the real Setup.exe under Xvfb, driven as a user would through
// the window driver: the frame and its pages, navigation, controls writing
// their properties, control conditions, spawned dialogs, the ways out, the
// identifiers of the controls and the colours of the look files. The bundle
// and its pages are tests/packages/wizardmain; no road here installs anything.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "SilentBundle.h"
#include "WizardBundle.h"
#include "platform/StringUtil.h"
#include "registry/RegistryUtil.h"
#include "support/WindowDriver.h"

using e2etest::WizardBundle;
using e2etest::WizardColours;
using e2etest::WizardRun;
using testsupport::ControlInfo;
using testsupport::DialogWindow;

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bundle_.Complete()) << "the wizard test bundle could not be laid out"; }

  // Welcome -> Next -> Options.
  bool GoToOptions(WizardRun& run, DialogWindow& options) {
    DialogWindow welcome;
    if (!run.WaitForPage(L"WelcomeDlg", welcome) || !run.Click(welcome.window, L"Next")) return false;
    return run.WaitForPage(L"OptionsDlg", options);
  }

  // Options with the terms accepted, a name typed and a colour chosen -> Summary.
  bool GoToSummary(WizardRun& run, const std::wstring& name, const std::wstring& colour, DialogWindow& summary) {
    DialogWindow options;
    if (!GoToOptions(run, options)) return false;
    if (!testsupport::TypeText(WizardRun::Control(options.window, L"NameEdit").window, name)) return false;
    if (!run.Click(options.window, colour) || !run.Click(options.window, L"AcceptCheckBox")) return false;
    return run.Click(options.window, L"Next") && run.WaitForPage(L"SummaryDlg", summary);
  }

  // Cancel -> CancelDlg -> Yes -> UserExitDlg -> Finish, and the end of the process.
  bool LeaveThroughCancel(WizardRun& run, HWND page, testsupport::ProcessResult& result) {
    DialogWindow cancel;
    DialogWindow userExit;
    if (!run.Click(page, L"Cancel") || !run.WaitForDialog(L"CancelDlg", cancel)) return false;
    if (!run.Click(cancel.window, L"Yes") || !run.WaitForPage(L"UserExitDlg", userExit)) return false;
    if (!run.Click(userExit.window, L"Finish")) return false;
    result = run.Process().Wait(WizardRun::kStepTimeoutMs);
    return !result.timedOut;
  }

  WizardBundle bundle_{L"wizard"};
};

TEST_F(WizardTest, ShowsTheFirstPageInsideTheFrameTitledAfterTheProduct) {
  WizardRun run(bundle_);
  ASSERT_TRUE(run.Started());
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  HWND frame = run.Driver().MainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(testsupport::ReadWindowText(frame), std::wstring(WizardBundle::kProductName) + L" Setup");
  EXPECT_EQ(testsupport::ClassNameOf(frame), L"#32770");
  EXPECT_TRUE(testsupport::DialogIdOf(frame).empty());
  // No window manager decorations: the frame draws its own title bar.
  EXPECT_EQ(::GetWindowLongPtrW(frame, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(::GetAncestor(welcome.window, GA_PARENT), frame);
  EXPECT_FALSE(welcome.spawned);
  EXPECT_TRUE(run.Driver().SpawnedDialogs().empty());
  EXPECT_FALSE(WizardRun::Control(welcome.window, L"Back").enabled);
  EXPECT_TRUE(WizardRun::Control(welcome.window, L"Next").enabled);
  EXPECT_EQ(WizardRun::Control(welcome.window, L"Title").text,
            std::wstring(L"Welcome to the ") + WizardBundle::kProductName + L" Setup Wizard");

  testsupport::ProcessResult result;
  ASSERT_TRUE(LeaveThroughCancel(run, welcome.window, result)) << run.Describe();
  EXPECT_EQ(result.exitCode, 0u);
}

TEST_F(WizardTest, NextAndBackMoveBetweenPages) {
  WizardRun run(bundle_);
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  ASSERT_TRUE(run.Click(welcome.window, L"Next"));
  DialogWindow options;
  ASSERT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
  EXPECT_TRUE(testsupport::WaitUntilGone(welcome.window, WizardRun::kStepTimeoutMs));
  ASSERT_TRUE(run.Click(options.window, L"Back"));
  DialogWindow welcomeAgain;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcomeAgain)) << run.Describe();
  EXPECT_NE(welcomeAgain.window, welcome.window);
  EXPECT_TRUE(testsupport::WaitUntilGone(options.window, WizardRun::kStepTimeoutMs));
  ASSERT_TRUE(run.Click(welcomeAgain.window, L"&Next"));  // by its text this time
  DialogWindow optionsAgain;
  ASSERT_TRUE(run.WaitForPage(L"OptionsDlg", optionsAgain)) << run.Describe();
  EXPECT_EQ(run.Driver().CurrentPage().id, L"OptionsDlg");
}

struct ControlKind {
  const wchar_t* dialog;
  const wchar_t* control;  // WiX Id, or the visible text of a radio button
  const wchar_t* className;
};

TEST_F(WizardTest, EveryControlKindBecomesItsWindowAndAListViewIsLeftOut) {
  const ControlKind kinds[] = {
      {L"WelcomeDlg", L"Bitmap", L"Static"},        {L"WelcomeDlg", L"Title", L"Static"},
      {L"WelcomeDlg", L"BottomLine", L"Static"},    {L"WelcomeDlg", L"Next", L"Button"},
      {L"OptionsDlg", L"Box", L"Button"},           {L"OptionsDlg", L"AcceptCheckBox", L"Button"},
      {L"OptionsDlg", L"InfoIcon", L"Static"},      {L"OptionsDlg", L"NameEdit", L"RichEdit20W"},
      {L"OptionsDlg", L"SecretEdit", L"RichEdit20W"}, {L"OptionsDlg", L"ColorGroup", L"Static"},
      {L"OptionsDlg", L"Blue", L"Button"},          {L"OptionsDlg", L"SizeCombo", L"ComboBox"},
      {L"OptionsDlg", L"ShapeList", L"ListBox"},    {L"SummaryDlg", L"Notes", L"RichEdit20W"},
      {L"SummaryDlg", L"Progress", L"msctls_progress32"}, {L"SummaryDlg", L"DescriptionLogFile", L"Static"},
      {L"SummaryDlg", L"NameEcho", L"Static"},      {L"SummaryDlg", L"Broken", L"Button"},
  };
  WizardRun run(bundle_);
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  std::vector<ControlInfo> welcomeControls = testsupport::DialogControls(welcome.window);
  DialogWindow summary;
  ASSERT_TRUE(GoToSummary(run, L"Kinds", L"Blue", summary)) << run.Describe();
  std::vector<ControlInfo> summaryControls = testsupport::DialogControls(summary.window);
  ASSERT_TRUE(run.Click(summary.window, L"Back"));
  DialogWindow options;
  ASSERT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
  std::vector<ControlInfo> optionsControls = testsupport::DialogControls(options.window);

  for (const ControlKind& kind : kinds) {
    SCOPED_TRACE(Utf8(std::wstring(kind.dialog) + L"/" + kind.control));
    const std::wstring dialog = kind.dialog;
    const std::vector<ControlInfo>& controls =
        dialog == L"WelcomeDlg" ? welcomeControls : dialog == L"OptionsDlg" ? optionsControls : summaryControls;
    ControlInfo control;
    ASSERT_TRUE(testsupport::FindControl(controls, kind.control, control));
    EXPECT_EQ(control.className, kind.className);
    EXPECT_TRUE(control.visible);
    EXPECT_GE(control.id, 1025);
  }
  // Push buttons draw themselves; radio buttons live inside their group.
  ControlInfo next;
  ASSERT_TRUE(testsupport::FindControl(welcomeControls, L"Next", next));
  EXPECT_EQ(next.style & BS_TYPEMASK, BS_OWNERDRAW);
  ControlInfo blue;
  ControlInfo group;
  ASSERT_TRUE(testsupport::FindControl(optionsControls, L"Blue", blue));
  ASSERT_TRUE(testsupport::FindControl(optionsControls, L"ColorGroup", group));
  EXPECT_EQ(blue.parent, group.window);
  EXPECT_NE(WizardRun::Control(options.window, L"SecretEdit").style & ES_PASSWORD, 0);
  EXPECT_EQ(WizardRun::Control(options.window, L"NameEdit").style & ES_PASSWORD, 0);
  EXPECT_EQ(testsupport::ListItems(WizardRun::Control(options.window, L"SizeCombo").window),
            (std::vector<std::wstring>{L"Small", L"Medium", L"Large"}));
  EXPECT_EQ(testsupport::ListItems(WizardRun::Control(options.window, L"ShapeList").window),
            (std::vector<std::wstring>{L"Circle", L"Square", L"Triangle"}));
  // The ListView has no class: the page shows without it.
  ControlInfo unknown;
  EXPECT_FALSE(testsupport::FindControl(summaryControls, L"Unknown", unknown));
}

TEST_F(WizardTest, ACheckBoxDrivesTheConditionThatEnablesNext) {
  WizardRun run(bundle_);
  DialogWindow options;
  ASSERT_TRUE(GoToOptions(run, options)) << run.Describe();
  EXPECT_FALSE(WizardRun::Control(options.window, L"Next").enabled);
  EXPECT_EQ(WizardRun::Control(options.window, L"AcceptCheckBox").checked, BST_UNCHECKED);

  ASSERT_TRUE(run.Click(options.window, L"AcceptCheckBox"));
  EXPECT_TRUE(run.Eventually([&] { return WizardRun::Control(options.window, L"Next").enabled; })) << run.Describe();
  EXPECT_EQ(WizardRun::Control(options.window, L"AcceptCheckBox").checked, BST_CHECKED);

  ASSERT_TRUE(run.Click(options.window, L"AcceptCheckBox"));
  EXPECT_TRUE(run.Eventually([&] { return !WizardRun::Control(options.window, L"Next").enabled; })) << run.Describe();
  EXPECT_EQ(WizardRun::Control(options.window, L"AcceptCheckBox").checked, BST_UNCHECKED);
  EXPECT_EQ(run.Driver().CurrentPage().window, options.window);
}

TEST_F(WizardTest, AnEditAndRadioButtonsWriteThePropertiesAFollowingPageShows) {
  WizardRun run(bundle_);
  DialogWindow summary;
  ASSERT_TRUE(GoToSummary(run, L"Ada Lovelace", L"Blue", summary)) << run.Describe();
  EXPECT_EQ(WizardRun::Control(summary.window, L"NameEcho").text, L"Name: Ada Lovelace");
  EXPECT_EQ(WizardRun::Control(summary.window, L"ColorEcho").text, L"Colour: Blue");
  // Untouched properties keep the package's values.
  EXPECT_EQ(WizardRun::Control(summary.window, L"ChoiceEcho").text, L"Size: Medium, shape: Circle");

  // Back on the page, the controls show what was chosen.
  ASSERT_TRUE(run.Click(summary.window, L"Back"));
  DialogWindow options;
  ASSERT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
  EXPECT_EQ(WizardRun::Control(options.window, L"NameEdit").text, L"Ada Lovelace");
  EXPECT_EQ(WizardRun::Control(options.window, L"Blue").checked, BST_CHECKED);
  EXPECT_EQ(WizardRun::Control(options.window, L"Red").checked, BST_UNCHECKED);
  EXPECT_EQ(WizardRun::Control(options.window, L"AcceptCheckBox").checked, BST_CHECKED);
}

TEST_F(WizardTest, ARadioButtonStartsCheckedByThePackagesValue) {
  WizardRun run(bundle_);
  DialogWindow options;
  ASSERT_TRUE(GoToOptions(run, options)) << run.Describe();
  EXPECT_EQ(WizardRun::Control(options.window, L"Red").checked, BST_CHECKED);
  EXPECT_EQ(WizardRun::Control(options.window, L"Green").checked, BST_UNCHECKED);
  EXPECT_EQ(WizardRun::Control(options.window, L"NameEdit").text, L"Nobody");
}

TEST_F(WizardTest, NewDialogToAMissingNameLogsItAndThePageStays) {
  WizardRun run(bundle_);
  DialogWindow summary;
  ASSERT_TRUE(GoToSummary(run, L"Missing", L"Green", summary)) << run.Describe();
  ASSERT_TRUE(run.Click(summary.window, L"Broken"));
  const std::wstring line = L"The dialog NoSuchDlg could not be found in the dialog list";
  EXPECT_TRUE(run.Eventually([&] { return bundle_.LogText().find(line) != std::wstring::npos; })) << run.Describe();
  EXPECT_TRUE(run.Process().IsRunning());
  EXPECT_EQ(run.Driver().CurrentPage().window, summary.window);
  EXPECT_TRUE(::IsWindowVisible(summary.window));
  // The wizard stays usable.
  ASSERT_TRUE(run.Click(summary.window, L"Back"));
  DialogWindow options;
  EXPECT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
}

TEST_F(WizardTest, EscapeOnASpawnedDialogEndsItAndThePageStays) {
  WizardRun run(bundle_);
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  ASSERT_TRUE(run.Click(welcome.window, L"Cancel"));
  DialogWindow cancel;
  ASSERT_TRUE(run.WaitForDialog(L"CancelDlg", cancel)) << run.Describe();
  EXPECT_TRUE(cancel.spawned);
  EXPECT_EQ(testsupport::ClassNameOf(cancel.window), L"#32770");
  EXPECT_EQ(run.Driver().ActiveDialog().window, cancel.window);

  ASSERT_TRUE(testsupport::PressEscape(cancel.window));
  EXPECT_TRUE(testsupport::WaitUntilGone(cancel.window, WizardRun::kStepTimeoutMs)) << run.Describe();
  // 2, not Exit (15): no user-exit page, the same page goes on.
  EXPECT_TRUE(run.Process().IsRunning());
  EXPECT_TRUE(run.Driver().SpawnedDialogs().empty());
  EXPECT_EQ(run.Driver().CurrentPage().window, welcome.window);
  ASSERT_TRUE(run.Click(welcome.window, L"Next"));
  DialogWindow options;
  EXPECT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
}

TEST_F(WizardTest, CancelThenNoStaysOnThePage) {
  WizardRun run(bundle_);
  DialogWindow options;
  ASSERT_TRUE(GoToOptions(run, options)) << run.Describe();
  ASSERT_TRUE(run.Click(options.window, L"Cancel"));
  DialogWindow cancel;
  ASSERT_TRUE(run.WaitForDialog(L"CancelDlg", cancel)) << run.Describe();
  EXPECT_NE(WizardRun::Control(cancel.window, L"Text").text.find(WizardBundle::kProductName), std::wstring::npos);
  ASSERT_TRUE(run.Click(cancel.window, L"No"));
  EXPECT_TRUE(testsupport::WaitUntilGone(cancel.window, WizardRun::kStepTimeoutMs)) << run.Describe();
  EXPECT_TRUE(run.Process().IsRunning());
  EXPECT_EQ(run.Driver().CurrentPage().window, options.window);
  EXPECT_EQ(run.Driver().CurrentPage().id, L"OptionsDlg");
}

TEST_F(WizardTest, CancelYesEndsOnTheUserExitPageAndFinishEndsTheRunWithNothingInstalled) {
  WizardRun run(bundle_);
  DialogWindow options;
  ASSERT_TRUE(GoToOptions(run, options)) << run.Describe();
  ASSERT_TRUE(run.Click(options.window, L"Cancel"));
  DialogWindow cancel;
  ASSERT_TRUE(run.WaitForDialog(L"CancelDlg", cancel)) << run.Describe();
  ASSERT_TRUE(run.Click(cancel.window, L"Yes"));
  DialogWindow userExit;
  ASSERT_TRUE(run.WaitForPage(L"UserExitDlg", userExit)) << run.Describe();
  EXPECT_FALSE(userExit.spawned);
  // The page that ended goes once the click that ended it is over.
  EXPECT_TRUE(testsupport::WaitUntilGone(options.window, WizardRun::kStepTimeoutMs));
  EXPECT_TRUE(run.Driver().SpawnedDialogs().empty());
  ASSERT_TRUE(run.Click(userExit.window, L"Finish"));
  const testsupport::ProcessResult result = run.Process().Wait(WizardRun::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << run.Describe();
  EXPECT_EQ(result.exitCode, 0u);

  EXPECT_TRUE(e2etest::InstalledProductName(WizardBundle::kProductCode).empty());
  platform::UniqueHKey entry;
  EXPECT_NE(registry::OpenKey(std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
                                  WizardBundle::kBundleKey,
                              KEY_READ, registry::View::Default, entry),
            ERROR_SUCCESS);
  // The road's lines, in order; no products ran.
  const std::wstring log = bundle_.LogText();
  size_t at = 0;
  for (const wchar_t* line : {L"INFORMATION:\tMode of Execution : UI Mode.", L"The user has canceled the Setup!",
                              L"Main dialog exit", L"===== logging stopped: "}) {
    const size_t found = log.find(line, at);
    EXPECT_NE(found, std::wstring::npos) << Utf8(line) << " after position " << at << " in\n" << Utf8(log);
    if (found != std::wstring::npos) at = found;
  }
  EXPECT_EQ(log.find(L"Setup ended with"), std::wstring::npos);
  EXPECT_EQ(log.find(L"Error in lauching the Initializer"), std::wstring::npos);
}

TEST_F(WizardTest, ControlIdsStartAt1025AndNeverRepeatAcrossPages) {
  WizardRun run(bundle_);
  std::set<int> seen;
  int previousMax = 0;
  // Every page or dialog shown gets identifiers after all earlier ones.
  auto record = [&](const DialogWindow& dialog) {
    std::vector<int> ids;
    for (const ControlInfo& control : testsupport::DialogControls(dialog.window)) {
      if (!control.controlId.empty()) ids.push_back(control.id);
    }
    EXPECT_FALSE(ids.empty()) << Utf8(dialog.id);
    for (int id : ids) {
      EXPECT_TRUE(seen.insert(id).second) << Utf8(dialog.id) << " repeats " << id;
      EXPECT_GT(id, previousMax) << Utf8(dialog.id);
    }
    for (int id : ids) previousMax = std::max(previousMax, id);
  };
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  record(welcome);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(*seen.begin(), 1025);
  ASSERT_TRUE(run.Click(welcome.window, L"Next"));
  DialogWindow options;
  ASSERT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
  record(options);
  ASSERT_TRUE(run.Click(options.window, L"Cancel"));
  DialogWindow cancel;
  ASSERT_TRUE(run.WaitForDialog(L"CancelDlg", cancel)) << run.Describe();
  record(cancel);
  ASSERT_TRUE(run.Click(cancel.window, L"No"));
  ASSERT_TRUE(testsupport::WaitUntilGone(cancel.window, WizardRun::kStepTimeoutMs));
  ASSERT_TRUE(run.Click(options.window, L"Back"));
  DialogWindow welcomeAgain;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcomeAgain)) << run.Describe();
  record(welcomeAgain);
}

// One pixel inside a control's rectangle, `inset` pixels from its left edge, half-way down.
COLORREF PixelInside(HWND window, int inset) {
  RECT rect = {};
  if (!::GetWindowRect(window, &rect)) return CLR_INVALID;
  return testsupport::ScreenPixel(rect.left + inset, (rect.top + rect.bottom) / 2);
}

std::string Hex(COLORREF colour) {
  return platform::WideToUtf8(platform::Format(L"%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour)));
}

TEST_F(WizardTest, TheFrameShowsTheStyleColours) {
  WizardRun run(bundle_);
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  HWND frame = run.Driver().MainFrame();
  ASSERT_NE(frame, nullptr);
  RECT frameRect = {};
  RECT pageRect = {};
  ASSERT_TRUE(::GetWindowRect(frame, &frameRect));
  ASSERT_TRUE(::GetWindowRect(welcome.window, &pageRect));

  // The title bar, right of its text and left of its close button, above the text line.
  const int titleX = (frameRect.right - frameRect.left) * 7 / 10;
  EXPECT_TRUE(run.Eventually([&] { return testsupport::WindowPixel(frame, titleX, 5) == WizardColours::kTitleBar; }))
      << Hex(testsupport::WindowPixel(frame, titleX, 5));
  // The page's background, below the side image and left of the buttons (no control there).
  const int pageX = (pageRect.right - pageRect.left) * 24 / 100;
  const int pageY = (pageRect.bottom - pageRect.top) * 94 / 100;
  EXPECT_EQ(testsupport::WindowPixel(welcome.window, pageX, pageY), WizardColours::kBackground)
      << Hex(testsupport::WindowPixel(welcome.window, pageX, pageY));
  // Buttons: the edge, the standard fill, the default button's fill.
  HWND cancel = WizardRun::Control(welcome.window, L"Cancel").window;
  HWND next = WizardRun::Control(welcome.window, L"Next").window;
  ASSERT_NE(cancel, nullptr);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(PixelInside(cancel, 0), WizardColours::kButtonEdge) << Hex(PixelInside(cancel, 0));
  EXPECT_EQ(PixelInside(cancel, 2), WizardColours::kButton) << Hex(PixelInside(cancel, 2));
  EXPECT_EQ(PixelInside(next, 2), WizardColours::kDefaultButton) << Hex(PixelInside(next, 2));
}

}  // namespace
