// The wizard_driver tool, as the demo script uses it, against the fake wizard
// running as a process of its own: every window message crosses a process
// boundary as it does with Setup.exe.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/StringUtil.h"
#include "support/FakeWizard.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"

using testsupport::FakeWizard;
using testsupport::ProcessResult;
using testsupport::Quote;
using testsupport::RunningProcess;

namespace {

constexpr DWORD kToolTimeoutMs = 60000;

// True when one line of `text` holds every part, in order.
bool HasLine(const std::string& text, std::initializer_list<const char*> parts) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    size_t at = 0;
    bool all = true;
    for (const char* part : parts) {
      at = line.find(part, at);
      if (at == std::string::npos) {
        all = false;
        break;
      }
      at += std::string(part).size();
    }
    if (all) return true;
    start = end + 1;
  }
  return false;
}

class WizardDriverTool : public ::testing::Test {
 protected:
  void SetUp() override {
    wizard_ = testsupport::StartProcess(Quote(testsupport::BinFolder() + L"fake_wizard.exe"));
    ASSERT_TRUE(wizard_.IsValid());
    ASSERT_EQ(Drive(L"wait-page FirstDlg 20000").exitCode, 0u);
  }
  // A failed test leaves no wizard behind.
  void TearDown() override {
    if (wizard_.IsRunning()) (void)wizard_.Wait(0);
  }

  ProcessResult Drive(const std::wstring& arguments) {
    ProcessResult result = testsupport::RunAndCapture(
        Quote(testsupport::BinFolder() + L"wizard_driver.exe") + L" --pid " + std::to_wstring(wizard_.Id()) + L" " +
            arguments,
        kToolTimeoutMs);
    EXPECT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut) << platform::WideToUtf8(arguments);
    return result;
  }

  std::string Output(const std::wstring& arguments) {
    ProcessResult result = Drive(arguments);
    EXPECT_EQ(result.exitCode, 0u) << platform::WideToUtf8(arguments) << ": " << result.output;
    return result.output;
  }

  RunningProcess wizard_;
};

TEST_F(WizardDriverTool, PrintsTitlePageAndControlsAcrossTheProcessBoundary) {
  EXPECT_EQ(Output(L"title"), platform::WideToUtf8(FakeWizard::kTitle) + "\n");
  EXPECT_EQ(Output(L"page"), "FirstDlg\n");
  EXPECT_EQ(Output(L"active"), "FirstDlg\n");
  EXPECT_EQ(Output(L"items SizeCombo"), "Small\nMedium\nLarge\n");
  EXPECT_EQ(Output(L"items ShapeList"), "Circle\nSquare\n");
  const std::string dump = Output(L"dump");
  EXPECT_TRUE(HasLine(dump, {"page FirstDlg"})) << dump;
  EXPECT_TRUE(HasLine(dump, {"1025", "Static", "Title \"Welcome to the fake wizard\""})) << dump;
  EXPECT_TRUE(HasLine(dump, {"RichEdit20W", " NameEdit"})) << dump;
  EXPECT_TRUE(HasLine(dump, {"Button", " Install \"&Install\" disabled"})) << dump;
  EXPECT_TRUE(HasLine(dump, {"Button", " Next \"&Next\""})) << dump;
  EXPECT_FALSE(HasLine(dump, {" Next ", "disabled"})) << dump;
}

TEST_F(WizardDriverTool, TypesClicksAndFollowsThePagesToTheEnd) {
  EXPECT_EQ(Drive(L"type NameEdit \"Ada Lovelace\"").exitCode, 0u);
  EXPECT_EQ(Drive(L"click \"I accept the terms\"").exitCode, 0u);
  // The click waits for the button its condition enables.
  EXPECT_EQ(Drive(L"click Install 10000").exitCode, 0u);
  EXPECT_EQ(Drive(L"click Next").exitCode, 0u);
  EXPECT_EQ(Drive(L"wait-page SecondDlg 10000").exitCode, 0u);
  EXPECT_EQ(Output(L"text NameEcho"), "Name: Ada Lovelace\n");

  EXPECT_EQ(Drive(L"click Cancel").exitCode, 0u);
  EXPECT_EQ(Drive(L"wait-page CancelDlg 10000").exitCode, 0u);
  EXPECT_EQ(Output(L"dialogs"), "spawned CancelDlg\npage SecondDlg\n");
  EXPECT_EQ(Drive(L"escape").exitCode, 0u);
  EXPECT_EQ(Drive(L"wait-gone CancelDlg 10000").exitCode, 0u);
  EXPECT_EQ(Output(L"active"), "SecondDlg\n");

  EXPECT_EQ(Drive(L"click Cancel").exitCode, 0u);
  EXPECT_EQ(Drive(L"wait-page CancelDlg 10000").exitCode, 0u);
  EXPECT_EQ(Drive(L"click Yes").exitCode, 0u);
  EXPECT_EQ(Drive(L"wait-page UserExitDlg 10000").exitCode, 0u);
  EXPECT_EQ(Drive(L"click Finish").exitCode, 0u);
  const ProcessResult ended = wizard_.Wait(20000);
  EXPECT_FALSE(ended.timedOut);
  EXPECT_EQ(ended.exitCode, static_cast<DWORD>(FakeWizard::kFinishExitCode));
}

TEST_F(WizardDriverTool, WaitExitPrintsTheExitCode) {
  EXPECT_EQ(Drive(L"click Cancel").exitCode, 0u);
  EXPECT_EQ(Drive(L"wait-page CancelDlg 10000").exitCode, 0u);
  EXPECT_EQ(Drive(L"click Yes").exitCode, 0u);
  EXPECT_EQ(Drive(L"wait-page UserExitDlg 10000").exitCode, 0u);
  // Still running: wait-exit gives up at its time-out.
  EXPECT_EQ(Drive(L"wait-exit 200").exitCode, 1u);
  // The test holds the process handle, so the id stays valid after the end.
  EXPECT_EQ(Drive(L"click Finish").exitCode, 0u);
  const ProcessResult waited = Drive(L"wait-exit 20000");
  EXPECT_EQ(waited.exitCode, 0u);
  EXPECT_EQ(waited.output, "exit code: " + std::to_string(FakeWizard::kFinishExitCode) + "\n");
  EXPECT_EQ(wizard_.Wait(20000).exitCode, static_cast<DWORD>(FakeWizard::kFinishExitCode));
}

TEST_F(WizardDriverTool, FailsWithAReasonWhenTheControlOrPageIsNotThere) {
  ProcessResult missing = Drive(L"click NoSuchButton 300");
  EXPECT_EQ(missing.exitCode, 1u);
  EXPECT_NE(missing.output.find("no control NoSuchButton"), std::string::npos) << missing.output;
  ProcessResult disabled = Drive(L"click Install 300");
  EXPECT_EQ(disabled.exitCode, 1u);
  EXPECT_NE(disabled.output.find("control Install is not enabled"), std::string::npos) << disabled.output;
  ProcessResult noPage = Drive(L"wait-page NeverDlg 300");
  EXPECT_EQ(noPage.exitCode, 1u);
  EXPECT_NE(noPage.output.find("no dialog NeverDlg (showing: FirstDlg)"), std::string::npos) << noPage.output;
  EXPECT_EQ(Drive(L"escape").exitCode, 1u);
  EXPECT_EQ(Drive(L"bogus").exitCode, 2u);
}

TEST_F(WizardDriverTool, SavesAScreenshotAndReadsPixels) {
  const std::wstring folder = testsupport::MakeScratchFolder(L"drivertool");
  EXPECT_EQ(Drive(L"screenshot " + Quote(folder + L"frame.bmp")).exitCode, 0u);
  EXPECT_EQ(Drive(L"screenshot " + Quote(folder + L"page.bmp") + L" FirstDlg").exitCode, 0u);
  const std::string frame = testsupport::ReadFileBytes(folder + L"frame.bmp");
  const std::string page = testsupport::ReadFileBytes(folder + L"page.bmp");
  EXPECT_EQ(frame.substr(0, 2), "BM");
  EXPECT_EQ(page.substr(0, 2), "BM");
  EXPECT_GT(frame.size(), page.size());
  const std::string pixel = Output(L"pixel 0 0");
  EXPECT_EQ(pixel.size(), 7u) << pixel;
  testsupport::RemoveFolder(folder);
}

}  // namespace
