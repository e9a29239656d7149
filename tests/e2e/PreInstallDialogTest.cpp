// The dialogs before the wizard's frame, shown by the real Setup.exe under
// Xvfb and answered through the window driver: the language choice that
// re-texts the wizard, the brand choice that renames the product, the
// running-programs warning, the notice of a restart still due, the command
// line options that hide them, and the ways out. The dialogs are
// tests/packages/wizardmain/PreInstallUI.wxs.

#include <gtest/gtest.h>

#include <string>

#include "SilentBundle.h"
#include "WizardBundle.h"
#include "platform/StringUtil.h"
#include "registry/RegistryUtil.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"

using e2etest::HasLogLine;
using e2etest::WizardBundle;
using e2etest::WizardExtras;
using e2etest::WizardRun;
using testsupport::DialogWindow;

namespace {

std::string Entry(int sequence, const char* id) {
  return "<Dialog Sequence=\"" + std::to_string(sequence) + "\" Id=\"" + id +
         "\" WixPath=\"SetupData\\Wix\\PreInstallUI.wxs\"/>";
}

std::string Dialogs(const std::string& entries) { return "<PreInstallDialogs>" + entries + "</PreInstallDialogs>"; }

const char kProBrand[] =
    "<Brand Name=\"Wizard Test Pro\" Value=\"Pro\"><ImageFiles>"
    "<Image Name=\"Banner\" FilePath=\"SetupData\\Images\\Banner.bmp\"/></ImageFiles></Brand>";

// Language and brand questions, both before the wizard.
WizardExtras LanguageAndBrand() {
  WizardExtras extras;
  extras.german = true;
  extras.extraBrands = kProBrand;
  extras.extraSections = Dialogs(Entry(1, "Language_Dlg") + Entry(2, "PreInstallDlg"));
  return extras;
}

// The run ends through the wizard's own way out from its first page.
void LeaveFromWelcome(WizardRun& run, const DialogWindow& welcome) {
  DialogWindow cancel;
  DialogWindow userExit;
  ASSERT_TRUE(run.Click(welcome.window, L"Cancel"));
  ASSERT_TRUE(run.WaitForDialog(L"CancelDlg", cancel)) << run.Describe();
  ASSERT_TRUE(run.Click(cancel.window, L"Yes"));
  ASSERT_TRUE(run.WaitForPage(L"UserExitDlg", userExit)) << run.Describe();
  ASSERT_TRUE(run.Click(userExit.window, L"Finish"));
  EXPECT_FALSE(run.Process().Wait(WizardRun::kStepTimeoutMs).timedOut);
}

// A click whose handling opens no modal loop, sent so that it is done when the call returns.
bool ClickAndWait(HWND dialog, const std::wstring& control) {
  HWND button = WizardRun::Control(dialog, control).window;
  DWORD_PTR unused = 0;
  return button != nullptr &&
         ::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, WizardRun::kStepTimeoutMs, &unused) != 0;
}

class PreInstallDialogTest : public ::testing::Test {
 protected:
  void Make(const std::wstring& name, const WizardExtras& extras) {
    bundle_ = std::make_unique<WizardBundle>(name, e2etest::WizardSources{}, extras);
    ASSERT_TRUE(bundle_->Complete()) << "the pre-install test bundle could not be laid out";
  }
  std::unique_ptr<WizardBundle> bundle_;
};

TEST_F(PreInstallDialogTest, ChosenLanguageReTextsTheWizardAndBrandRenamesTheProduct) {
  Make(L"preinstall-language", LanguageAndBrand());
  WizardRun run(*bundle_);
  DialogWindow language;
  ASSERT_TRUE(run.WaitForDialog(L"Language_Dlg", language)) << run.Describe();
  EXPECT_EQ(run.Driver().MainFrame(), nullptr) << "the questions come before the frame";
  HWND combo = WizardRun::Control(language.window, L"LanguageCombo").window;
  EXPECT_EQ(testsupport::ListItems(combo), (std::vector<std::wstring>{L"English", L"Deutsch"}));
  ASSERT_TRUE(testsupport::SelectItem(combo, L"Deutsch"));
  ASSERT_TRUE(run.Click(language.window, L"OK"));

  // The brand dialog, read after the change, is German already.
  DialogWindow brand;
  ASSERT_TRUE(run.WaitForDialog(L"PreInstallDlg", brand)) << run.Describe();
  EXPECT_EQ(WizardRun::Control(brand.window, L"Text").text, L"Wählen Sie die Ausgabe:");
  ASSERT_TRUE(run.Click(brand.window, L"Professional"));
  ASSERT_TRUE(run.Click(brand.window, L"OK"));

  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  EXPECT_EQ(testsupport::ReadWindowText(run.Driver().MainFrame()), L"Wizard Test Pro Setup");
  EXPECT_EQ(WizardRun::Control(welcome.window, L"Next").text, L"&Weiter");
  EXPECT_EQ(WizardRun::Control(welcome.window, L"Title").text,
            L"Willkommen beim Setup-Assistenten von Wizard Test Pro");
  LeaveFromWelcome(run, welcome);

  const std::wstring log = bundle_->LogText();
  EXPECT_TRUE(HasLogLine(log, L"DEBUG:", L"The user has changed the default language")) << log;
  EXPECT_TRUE(HasLogLine(log, L"INFORMATION:", L"The language is reset by the user to 1031.")) << log;
  EXPECT_TRUE(HasLogLine(log, L"INFORMATION:", L"Re-Parsing the Localization File.")) << log;
  EXPECT_TRUE(HasLogLine(log, L"INFORMATION:", L"Brand is set to Pro ")) << log;
}

struct HiddenCase {
  const char* name;
  const wchar_t* arguments;
  const wchar_t* logLine;       // logged instead of the dialog
  const wchar_t* nextLabel;     // the first page's Next button
  const wchar_t* frameTitle;
};

class PreInstallHiddenTest : public PreInstallDialogTest, public ::testing::WithParamInterface<HiddenCase> {};

TEST_P(PreInstallHiddenTest, CommandLineHidesTheDialogs) {
  const HiddenCase& c = GetParam();
  Make(L"preinstall-" + platform::Utf8ToWide(c.name), LanguageAndBrand());
  WizardRun run(*bundle_, c.arguments);
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  EXPECT_EQ(WizardRun::Control(welcome.window, L"Next").text, c.nextLabel);
  EXPECT_EQ(testsupport::ReadWindowText(run.Driver().MainFrame()), c.frameTitle);
  LeaveFromWelcome(run, welcome);
  const std::wstring log = bundle_->LogText();
  EXPECT_TRUE(HasLogLine(log, L"INFORMATION:", c.logLine)) << log;
  EXPECT_FALSE(HasLogLine(log, L"", L"The user has changed the default language")) << log;
}

// With /L 1031 the brand dialog still asks (answered by the run below only when it shows).
INSTANTIATE_TEST_SUITE_P(
    Options, PreInstallHiddenTest,
    ::testing::Values(HiddenCase{"AllByP", L"/P", L"Pre-Install Dialogs are Hidden as /P is passed in the command Line.",
                                 L"&Next", L"Wizard Test Product Setup"},
                      HiddenCase{"LanguageAndBrand", L"/L 1031 /B Pro",
                                 L"Brand Dialog is hidden as Brand is set via command Line.", L"&Weiter",
                                 L"Wizard Test Product Setup"}),
    [](const ::testing::TestParamInfo<HiddenCase>& info) { return std::string(info.param.name); });

TEST_F(PreInstallDialogTest, LanguageGivenOnTheCommandLineSkipsOnlyTheLanguageDialog) {
  Make(L"preinstall-bylanguage", LanguageAndBrand());
  WizardRun run(*bundle_, L"/L 1031");
  DialogWindow brand;
  ASSERT_TRUE(run.WaitForDialog(L"PreInstallDlg", brand)) << run.Describe();
  EXPECT_EQ(WizardRun::Control(brand.window, L"Text").text, L"Wählen Sie die Ausgabe:");
  ASSERT_TRUE(run.Click(brand.window, L"Standard"));
  ASSERT_TRUE(run.Click(brand.window, L"OK"));
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  EXPECT_EQ(testsupport::ReadWindowText(run.Driver().MainFrame()), L"Wizard Test Setup");
  LeaveFromWelcome(run, welcome);
  const std::wstring log = bundle_->LogText();
  EXPECT_TRUE(HasLogLine(log, L"INFORMATION:", L"Language Dialog is hidden as Language is set via command Line."))
      << log;
}

TEST_F(PreInstallDialogTest, ExitInAPreInstallDialogEndsTheRunBeforeTheWizard) {
  Make(L"preinstall-exit", LanguageAndBrand());
  WizardRun run(*bundle_);
  DialogWindow language;
  ASSERT_TRUE(run.WaitForDialog(L"Language_Dlg", language)) << run.Describe();
  ASSERT_TRUE(run.Click(language.window, L"Cancel"));
  const testsupport::ProcessResult result = run.Process().Wait(WizardRun::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << run.Describe();
  EXPECT_EQ(result.exitCode, 0u);
  const std::wstring log = bundle_->LogText();
  EXPECT_TRUE(HasLogLine(log, L"DEBUG:", L"User has exited from the preinstall dialog")) << log;
  EXPECT_FALSE(HasLogLine(log, L"", L"Parsing of the Wix Files initiated...")) << log;
  EXPECT_TRUE(e2etest::InstalledProductName(WizardBundle::kProductCode).empty());
}

TEST_F(PreInstallDialogTest, MissingWixSourceOfAnEntryEndsTheRunWithoutACrash) {
  WizardExtras extras;
  extras.german = true;
  extras.extraSections =
      Dialogs("<Dialog Sequence=\"1\" Id=\"Language_Dlg\" WixPath=\"SetupData\\Wix\\NoSuchFile.wxs\"/>");
  Make(L"preinstall-nosource", extras);
  WizardRun run(*bundle_);
  const testsupport::ProcessResult result = run.Process().Wait(WizardRun::kFirstPageTimeoutMs);
  ASSERT_FALSE(result.timedOut) << run.Describe();
  EXPECT_EQ(result.exitCode, 0u);
  const std::wstring log = bundle_->LogText();
  EXPECT_TRUE(HasLogLine(log, L"ERROR:", L"The WiX source SetupData\\Wix\\NoSuchFile.wxs of the pre-install dialog "
                                         L"Language_Dlg could not be read."))
      << log;
  EXPECT_TRUE(HasLogLine(log, L"DEBUG:", L"User has exited from the preinstall dialog")) << log;
}

TEST_F(PreInstallDialogTest, OneLanguageNeedsNoLanguageDialog) {
  WizardExtras extras;
  extras.extraSections = Dialogs(Entry(1, "Language_Dlg"));
  Make(L"preinstall-onelanguage", extras);
  WizardRun run(*bundle_);
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  LeaveFromWelcome(run, welcome);
  EXPECT_FALSE(HasLogLine(bundle_->LogText(), L"", L"Language_Dlg"));
}

TEST_F(PreInstallDialogTest, RunningProgramIsListedUntilItEnds) {
  WizardExtras extras;
  extras.extraSections = "<PreCondition><Process List=\"NotRunning.exe;PreInstallBlocker.exe\"/></PreCondition>" +
                         Dialogs(Entry(1, "CheckProcessDlg"));
  Make(L"preinstall-process", extras);
  const std::wstring blockerPath = bundle_->Bundle().Folder() + L"PreInstallBlocker.exe";
  ASSERT_TRUE(::CopyFileW((testsupport::BinFolder() + L"exe_product.exe").c_str(), blockerPath.c_str(), FALSE));
  testsupport::RunningProcess blocker = testsupport::StartProcess(testsupport::Quote(blockerPath) + L" /sleep:600000");
  ASSERT_TRUE(blocker.IsValid());

  WizardRun run(*bundle_);
  DialogWindow check;
  ASSERT_TRUE(run.WaitForDialog(L"CheckProcessDlg", check)) << run.Describe();
  EXPECT_EQ(WizardRun::Control(check.window, L"RUNNING_PROCESSES").text, L"PreInstallBlocker.exe\r\n");
  ASSERT_TRUE(ClickAndWait(check.window, L"Retry"));
  EXPECT_TRUE(::IsWindowVisible(check.window)) << "the program still runs: the warning stays";
  EXPECT_EQ(run.Driver().MainFrame(), nullptr);

  (void)blocker.Wait(0);  // ends the program
  ASSERT_TRUE(ClickAndWait(check.window, L"Retry"));
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  LeaveFromWelcome(run, welcome);
  const std::wstring log = bundle_->LogText();
  // The warning puts the names on lines of their own.
  const size_t warning = log.find(L"The following processes");
  ASSERT_NE(warning, std::wstring::npos) << log;
  EXPECT_NE(log.find(L"PreInstallBlocker.exe", warning), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"are still running, which may not enable you to proceed", warning), std::wstring::npos) << log;
}

TEST_F(PreInstallDialogTest, RestartStillDueShowsTheNotice) {
  WizardExtras extras;
  extras.extraSections = Dialogs(Entry(1, "Restart_Dlg"));
  Make(L"preinstall-restart", extras);
  const std::wstring value = std::wstring(L"RestartFor") + WizardBundle::kBundleKey;
  {
    platform::UniqueHKey runOnce;
    ASSERT_EQ(registry::CreateKey(registry::kRunOnceKey, KEY_SET_VALUE, registry::View::Default, runOnce), ERROR_SUCCESS);
    ASSERT_EQ(registry::WriteStringValue(runOnce.Get(), value, L"shutdown -r"), ERROR_SUCCESS);
  }
  WizardRun run(*bundle_);
  DialogWindow notice;
  const bool shown = run.WaitForDialog(L"Restart_Dlg", notice);
  if (shown) {
    EXPECT_TRUE(run.Click(notice.window, L"Cancel"));
    EXPECT_FALSE(run.Process().Wait(WizardRun::kStepTimeoutMs).timedOut);
  }
  (void)registry::DeleteValue(registry::kRunOnceKey, value);
  ASSERT_TRUE(shown) << run.Describe();
  const std::wstring log = bundle_->LogText();
  EXPECT_TRUE(HasLogLine(log, L"INFORMATION:", L"Setup is triggered without restarting the system.")) << log;
  EXPECT_TRUE(HasLogLine(log, L"INFORMATION:", L"You must restart your system before running this setup.")) << log;
  EXPECT_TRUE(HasLogLine(log, L"DEBUG:", L"User has exited from the preinstall dialog")) << log;
}

}  // namespace
