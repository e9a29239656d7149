// The installation's questions in the wizard, by clicks with the real
// Setup.exe: while another installation holds Windows Installer's mutex, the
// busy wait asks Retry or Cancel. With the WiX ErrorDlg the question shows
// only the R and C buttons, side by side; without ErrorDlg in the sources a
// standard message box asks the same. Retry after the mutex is free goes on
// with the installation to the exit page.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"

namespace {

constexpr DWORD kFirstPageTimeoutMs = 60000;
constexpr DWORD kStepTimeoutMs = 60000;

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

struct QuestionCase {
  const char* name;
  bool withErrorDialog;
};

const testsupport::WixUiSet* MinimalSet() {
  for (const testsupport::WixUiSet& set : testsupport::WixUiSets()) {
    if (std::string(set.name) == "Minimal") return &set;
  }
  return nullptr;
}

// The main product waits for the mutex (one second) before asking, and without ErrorDlg.wxs when the case says so.
bool AdjustConfig(const testsupport::WixSetBundle& bundle, bool withErrorDialog) {
  std::string config = testsupport::ReadFileBytes(bundle.SetupConfigPath());
  const size_t general = config.find("</General>");
  if (general == std::string::npos) return false;
  config.insert(general, "<MSIMutexTimeout Value=\"1\"/>");
  const std::string main = "MainProduct=\"true\"";
  const size_t product = config.find(main);
  if (product == std::string::npos) return false;
  config.insert(product + main.size(), " CheckMSIMutex=\"true\"");
  if (!withErrorDialog) {
    const size_t file = config.find("ErrorDlg.wxs\"/>");
    const size_t start = file == std::string::npos ? std::string::npos : config.rfind("<WixFile", file);
    if (start == std::string::npos) return false;
    config.erase(start, file + std::string("ErrorDlg.wxs\"/>").size() - start);
  }
  // The look of the wizard tests' own bundle, so the question is seen as a user sees it.
  const std::string style =
      testsupport::ReadFileBytes(testsupport::SourceFolder() + L"tests\\packages\\wizardmain\\StyleConfig.xml");
  return !style.empty() &&
         testsupport::WriteFileBytes(bundle.Folder() + L"SetupData\\Configuration\\StyleConfig.xml", style) &&
         testsupport::WriteFileBytes(bundle.SetupConfigPath(), config);
}

bool ClickWhenReady(const testsupport::WindowDriver& driver, HWND dialog, const std::wstring& id) {
  const ULONGLONG deadline = ::GetTickCount64() + kStepTimeoutMs;
  for (;;) {
    testsupport::ControlInfo control;
    if (testsupport::FindControl(dialog, id, control) && control.visible && control.enabled) {
      return testsupport::Click(control.window);
    }
    if (::GetTickCount64() >= deadline || !driver.ProcessRunning()) return false;
    ::Sleep(25);
  }
}

RECT ScreenRect(HWND window) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  return rect;
}

std::string LogEnd(const testsupport::WixSetBundle& bundle) {
  std::wstring log;
  // The minimal look file names no style for most controls; those lines say nothing here.
  for (const std::wstring& line : platform::Split(testsupport::ReadUtf16File(bundle.LogPath()), L"\n")) {
    if (line.find(L"Could not find the") == std::wstring::npos &&
        line.find(L"MainDialogConfig map") == std::wstring::npos) {
      log += line + L"\n";
    }
  }
  if (log.size() > 5000) log = log.substr(log.size() - 5000);
  return "log ending:\n" + Utf8(log);
}

class ErrorQuestion : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(ErrorQuestion, BusyWaitAsksRetryOrCancelAndRetryGoesOnOnceTheMutexIsFree) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const testsupport::WixUiSet* set = MinimalSet();
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::WixSetBundle bundle(*set, std::wstring(L"question_") + platform::Utf8ToWide(GetParam().name));
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  ASSERT_TRUE(AdjustConfig(bundle, GetParam().withErrorDialog));

  // Another installation in progress, as Windows Installer marks it.
  platform::UniqueHandle busy(::CreateMutexW(nullptr, TRUE, L"Global\\_MSIExecute"));
  ASSERT_TRUE(busy);

  testsupport::RunningProcess process = testsupport::StartProcess(testsupport::Quote(bundle.SetupExe()), bundle.Folder());
  ASSERT_TRUE(process.IsValid());
  // A failed step leaves no Setup.exe waiting on a question.
  struct EndAtExit {
    testsupport::RunningProcess& process;
    ~EndAtExit() {
      if (process.IsRunning()) (void)process.Wait(0);
    }
  } endAtExit{process};
  testsupport::WindowDriver driver(process.Id(), process.Handle());
  testsupport::DialogWindow page;
  ASSERT_TRUE(driver.WaitForPage(L"WelcomeEulaDlg", kFirstPageTimeoutMs, page)) << LogEnd(bundle);
  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"LicenseAcceptedCheckBox"));
  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"Install"));

  if (GetParam().withErrorDialog) {
    testsupport::DialogWindow question;
    ASSERT_TRUE(driver.WaitForDialog(L"ErrorDlg", kStepTimeoutMs, question)) << LogEnd(bundle);
    for (const wchar_t* id : {L"A", L"I", L"N", L"O", L"Y"}) {
      testsupport::ControlInfo hidden;
      if (testsupport::FindControl(question.window, id, hidden)) {
        EXPECT_FALSE(hidden.visible) << Utf8(id);
      }
    }
    testsupport::ControlInfo retry;
    testsupport::ControlInfo cancel;
    ASSERT_TRUE(testsupport::FindControl(question.window, L"R", retry));
    ASSERT_TRUE(testsupport::FindControl(question.window, L"C", cancel));
    EXPECT_TRUE(retry.visible && retry.enabled);
    EXPECT_TRUE(cancel.visible && cancel.enabled);
    // Side by side in one row, Retry first, both inside the dialog.
    const RECT r = ScreenRect(retry.window);
    const RECT c = ScreenRect(cancel.window);
    const RECT d = ScreenRect(question.window);
    EXPECT_EQ(r.top, c.top);
    EXPECT_LE(r.right, c.left);
    EXPECT_GE(r.left, d.left);
    EXPECT_LE(c.right, d.right);
    testsupport::ControlInfo text;
    ASSERT_TRUE(testsupport::FindControl(question.window, L"ErrorText", text));
    EXPECT_FALSE(text.text.empty());
    ::ReleaseMutex(busy.Get());
    busy.Reset();
    (void)testsupport::SaveWindowImage(question.window, testsupport::BinFolder() + L"screenshots\\error-question.bmp");
    ASSERT_TRUE(testsupport::Click(retry.window));
  } else {
    testsupport::WindowInfo box;
    // The standard box: a top-level dialog with Windows' own button ids, not the frame.
    const HWND frame = driver.MainFrame();
    ASSERT_TRUE(driver.WaitForWindow(
        [frame](const testsupport::WindowInfo& window) {
          if (window.window == frame || window.className != L"#32770") return false;
          for (const testsupport::ControlInfo& control : window.controls) {
            if (control.id == IDCANCEL && testsupport::ClassNameOf(control.window) == L"Button") return true;
          }
          return false;
        },
        kStepTimeoutMs, box))
        << LogEnd(bundle);
    EXPECT_FALSE(box.StaticText().empty());
    bool hasRetry = false;
    bool hasCancel = false;
    int buttons = 0;
    for (const testsupport::ControlInfo& control : box.controls) {
      if (testsupport::ClassNameOf(control.window) != L"Button" || !control.visible) continue;
      ++buttons;
      hasRetry = hasRetry || control.id == IDRETRY;
      hasCancel = hasCancel || control.id == IDCANCEL;
    }
    std::string shown = "\"" + Utf8(box.title) + "\": " + Utf8(box.StaticText()) + " buttons:";
    for (const testsupport::ControlInfo& control : box.controls) {
      shown += " [" + Utf8(control.className) + " " + std::to_string(control.id) + " " + Utf8(control.text) +
               (control.visible ? "" : " hidden") + "]";
    }
    EXPECT_TRUE(hasRetry) << shown;
    EXPECT_TRUE(hasCancel) << shown;
    EXPECT_EQ(buttons, 2) << shown;
    ::ReleaseMutex(busy.Get());
    busy.Reset();
    ASSERT_TRUE(testsupport::WindowDriver::PressButton(box, IDRETRY));
  }

  ASSERT_TRUE(driver.WaitForPage(L"ExitDialog", kStepTimeoutMs, page)) << LogEnd(bundle);
  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"Finish"));
  const testsupport::ProcessResult result = process.Wait(kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_TRUE(testsupport::IsWixSetProductInstalled(set->productCode));
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
}

INSTANTIATE_TEST_SUITE_P(Sources, ErrorQuestion,
                         ::testing::Values(QuestionCase{"WithErrorDlg", true}, QuestionCase{"WithoutErrorDlg", false}),
                         [](const ::testing::TestParamInfo<QuestionCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
