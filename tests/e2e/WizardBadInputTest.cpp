// Bad WiX input on a page of the real Setup.exe: the page still shows, its
// good controls work, what is wrong is logged, and Next still moves on.
// The bundle is tests/packages/wizardmain whose WelcomeDlg is replaced by the
// one of BadInputUI.wxs (missing images, an unknown text style, plain text in
// a ScrollableText, events without handler, control types without a class).

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "SilentBundle.h"
#include "WizardBundle.h"
#include "platform/StringUtil.h"
#include "support/WindowDriver.h"

using e2etest::WizardBundle;
using e2etest::WizardRun;
using e2etest::WizardSources;
using testsupport::ControlInfo;
using testsupport::DialogWindow;

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

// A log line that reports (ERROR, WARNING or INFORMATION, not DEBUG) and names `fragment`.
bool Reported(const std::wstring& log, const std::wstring& fragment) {
  for (const wchar_t* level : {L"ERROR:", L"WARNING:", L"INFORMATION:"}) {
    if (e2etest::HasLogLine(log, level, fragment)) return true;
  }
  return false;
}

class WizardBadInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bundle_.Complete()) << "the bad input bundle could not be laid out"; }

  // The first page, known as BadInputUI.wxs's by its PlainLabel.
  bool WaitForBadPage(WizardRun& run, DialogWindow& page) {
    return run.WaitForPage(L"WelcomeDlg", page) && WizardRun::Control(page.window, L"PlainLabel").window != nullptr;
  }

  WizardBundle bundle_{L"badinput", WizardSources{{L"WelcomeDlg"}, {L"BadInputUI.wxs"}}};
};

struct ShownControl {
  const wchar_t* control;
  const wchar_t* className;
};

TEST_F(WizardBadInput, ThePageShowsEveryControlItHasAClassForWhateverItsInput) {
  const ShownControl shown[] = {
      {L"MissingBitmap", L"Static"},  {L"UndeclaredBitmap", L"Static"}, {L"MissingIcon", L"Static"},
      {L"UnknownStyleText", L"Static"}, {L"PlainLabel", L"Static"},    {L"PlainNotes", L"RichEdit20W"},
      {L"Title", L"Static"},          {L"Next", L"Button"},            {L"Cancel", L"Button"},
  };
  WizardRun run(bundle_);
  ASSERT_TRUE(run.Started());
  DialogWindow page;
  ASSERT_TRUE(WaitForBadPage(run, page)) << run.Describe();
  EXPECT_FALSE(page.spawned);
  EXPECT_TRUE(::IsWindowVisible(page.window));
  const std::vector<ControlInfo> controls = testsupport::DialogControls(page.window);
  for (const ShownControl& expected : shown) {
    SCOPED_TRACE(Utf8(expected.control));
    ControlInfo control;
    ASSERT_TRUE(testsupport::FindControl(controls, expected.control, control));
    EXPECT_EQ(control.controlId, expected.control);
    EXPECT_EQ(control.className, expected.className);
    EXPECT_TRUE(control.visible);
    EXPECT_GE(control.id, 1025);
  }
  EXPECT_TRUE(WizardRun::Control(page.window, L"Next").enabled);
}

struct LeftOutControl {
  const wchar_t* control;
  const wchar_t* type;
};

TEST_F(WizardBadInput, ControlTypesWithoutAClassAreLeftOutAndLoggedByName) {
  const LeftOutControl leftOut[] = {{L"BadBillboard", L"Billboard"}, {L"BadMaskedEdit", L"MaskedEdit"}};
  WizardRun run(bundle_);
  DialogWindow page;
  ASSERT_TRUE(WaitForBadPage(run, page)) << run.Describe();
  const std::vector<ControlInfo> controls = testsupport::DialogControls(page.window);
  const std::wstring log = bundle_.LogText();
  for (const LeftOutControl& control : leftOut) {
    SCOPED_TRACE(Utf8(control.type));
    for (const ControlInfo& window : controls) EXPECT_NE(window.controlId, control.control);
    EXPECT_TRUE(Reported(log, control.control)) << "no log line names " << Utf8(control.control);
  }
  // The rest of the page is unharmed.
  ASSERT_TRUE(run.Click(page.window, L"Next"));
  DialogWindow options;
  EXPECT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
}

TEST_F(WizardBadInput, MissingImagesAreLoggedByTheirBinaryIds) {
  const wchar_t* const missing[] = {L"Bad_Bmp_Missing", L"Bad_Ico_Missing", L"Bad_Bmp_Undeclared"};
  WizardRun run(bundle_);
  DialogWindow page;
  ASSERT_TRUE(WaitForBadPage(run, page)) << run.Describe();
  const std::wstring log = bundle_.LogText();
  for (const wchar_t* id : missing) {
    EXPECT_TRUE(Reported(log, id)) << "no log line names " << Utf8(id);
  }
}

TEST_F(WizardBadInput, AnUnknownTextStyleShowsTheTextWithoutTheStylesName) {
  WizardRun run(bundle_);
  DialogWindow page;
  ASSERT_TRUE(WaitForBadPage(run, page)) << run.Describe();
  const ControlInfo styled = WizardRun::Control(page.window, L"UnknownStyleText");
  ASSERT_NE(styled.window, nullptr);
  EXPECT_TRUE(styled.visible);
  EXPECT_EQ(styled.text, L"A text in an unknown style");
  // A known style goes the same way.
  EXPECT_EQ(WizardRun::Control(page.window, L"Title").text,
            std::wstring(L"Welcome to the ") + WizardBundle::kProductName + L" Setup Wizard");
}

TEST_F(WizardBadInput, AnUnknownTextStyleIsLoggedByName) {
  WizardRun run(bundle_);
  DialogWindow page;
  ASSERT_TRUE(WaitForBadPage(run, page)) << run.Describe();
  EXPECT_TRUE(Reported(bundle_.LogText(), L"Bad_Font_NotInStyleConfig"))
      << "the text style that is no font scheme of StyleConfig.xml is not logged";
}

TEST_F(WizardBadInput, AScrollableTextThatIsNotRichTextShowsItsPlainText) {
  WizardRun run(bundle_);
  DialogWindow page;
  ASSERT_TRUE(WaitForBadPage(run, page)) << run.Describe();
  const ControlInfo notes = WizardRun::Control(page.window, L"PlainNotes");
  ASSERT_NE(notes.window, nullptr);
  EXPECT_EQ(notes.className, L"RichEdit20W");
  EXPECT_EQ(notes.text, L"These notes are plain text, not rich text.");
}

TEST_F(WizardBadInput, EventsWithoutHandlerAreLoggedAtDebugLevelAndNewDialogStillRuns) {
  const wchar_t* const unhandled[] = {L"NoSuchEvent", L"AnotherMissingEvent"};
  WizardRun run(bundle_);
  DialogWindow page;
  ASSERT_TRUE(WaitForBadPage(run, page)) << run.Describe();
  for (const wchar_t* event : unhandled) {
    EXPECT_FALSE(e2etest::HasLogLine(bundle_.LogText(), L"", event)) << Utf8(event) << " is logged before the click";
  }
  ASSERT_TRUE(run.Click(page.window, L"Next"));
  DialogWindow options;
  ASSERT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
  EXPECT_TRUE(testsupport::WaitUntilGone(page.window, WizardRun::kStepTimeoutMs));
  const std::wstring log = bundle_.LogText();
  for (const wchar_t* event : unhandled) {
    EXPECT_TRUE(e2etest::HasLogLine(log, L"DEBUG:", event)) << "no DEBUG line about " << Utf8(event);
    EXPECT_FALSE(e2etest::HasLogLine(log, L"ERROR:", event)) << Utf8(event) << " is an error";
  }
  // Back and forth still work from the next page.
  ASSERT_TRUE(run.Click(options.window, L"Back"));
  DialogWindow again;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", again)) << run.Describe();
  ASSERT_TRUE(run.Click(again.window, L"Next"));
  EXPECT_TRUE(run.WaitForPage(L"OptionsDlg", options)) << run.Describe();
}

TEST_F(WizardBadInput, TheWizardCanStillBeLeftThroughCancelWithNothingInstalled) {
  WizardRun run(bundle_);
  DialogWindow page;
  ASSERT_TRUE(WaitForBadPage(run, page)) << run.Describe();
  ASSERT_TRUE(run.Click(page.window, L"Cancel"));
  DialogWindow cancel;
  ASSERT_TRUE(run.WaitForDialog(L"CancelDlg", cancel)) << run.Describe();
  EXPECT_TRUE(cancel.spawned);
  ASSERT_TRUE(run.Click(cancel.window, L"Yes"));
  DialogWindow userExit;
  ASSERT_TRUE(run.WaitForPage(L"UserExitDlg", userExit)) << run.Describe();
  ASSERT_TRUE(run.Click(userExit.window, L"Finish"));
  const testsupport::ProcessResult result = run.Process().Wait(WizardRun::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << run.Describe();
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_TRUE(e2etest::InstalledProductName(WizardBundle::kProductCode).empty());
}

}  // namespace
