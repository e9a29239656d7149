// The billboard of a run, seen from outside while a user installs by clicks:
// the real Setup.exe on a bundle whose wizard is the WiX Minimal set, with a
// second product group whose EXE product takes a few seconds and a third one
// that is not shown in the user interface. The list names the shown groups
// with their state (read from the list's lines), the bar moves on, and once
// the exit page shows every group has its final state and the bar its end.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/StringUtil.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"

namespace {

constexpr DWORD kFirstPageTimeoutMs = 60000;
constexpr DWORD kStepTimeoutMs = 60000;
// The list's line states (the billboard's six icons).
constexpr LRESULT kRunning = 1;
constexpr LRESULT kDone = 2;

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

const testsupport::WixUiSet* MinimalSet() {
  for (const testsupport::WixUiSet& set : testsupport::WixUiSets()) {
    if (std::string(set.name) == "Minimal") return &set;
  }
  return nullptr;
}

// Pages of the Minimal set sit at the frame's top left; the billboard takes
// the empty part of its progress page, below the page's own progress bar.
std::string BillboardMainDialogConfig() {
  return "<?xml version=\"1.0\"?><ConfigForMainDialog><MainDialog>"
         "<Dialog Left=\"0\" Top=\"0\" Right=\"540\" Bottom=\"420\"/>"
         "<BillboardTitle Left=\"20\" Top=\"138\" Right=\"400\" Bottom=\"152\"/>"
         "<BillBoard Left=\"20\" Top=\"154\" Right=\"400\" Bottom=\"220\"/>"
         "<LeftProgressBar Left=\"20\" Top=\"224\" Right=\"400\" Bottom=\"232\"/>"
         "</MainDialog>"
         "<PreInstallDialog><Dialog Left=\"0\" Top=\"0\" Right=\"330\" Bottom=\"210\"/></PreInstallDialog>"
         "</ConfigForMainDialog>";
}

// The bundle's SetupConfig.xml with two more groups after the main one.
bool AddGroups(const testsupport::WixSetBundle& bundle, const std::wstring& marker) {
  std::string config = testsupport::ReadFileBytes(bundle.SetupConfigPath());
  const std::string end = "</ProductGroup></ProductList>";
  const size_t at = config.find(end);
  if (at == std::string::npos) return false;
  const std::string exe = Utf8(testsupport::BinFolder() + L"exe_product.exe");
  const std::string groups =
      "</ProductGroup><ProductGroup DisplayName=\"Companion Tools\" Sequence=\"2\" ShowInUI=\"true\">"
      "<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"Companion\" Location=\"" + exe + "\" "
      "InstallCommand=\"/marker:" + Utf8(marker) + " /name:companion /sleep:5000 /exit:0\"/></ProductGroup>"
      "<ProductGroup DisplayName=\"Hidden Helpers\" Sequence=\"3\" ShowInUI=\"false\">"
      "<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"Helper\" Location=\"" + exe + "\" "
      "InstallCommand=\"/marker:" + Utf8(marker) + " /name:helper /exit:0\"/></ProductGroup></ProductList>";
  config.replace(at, end.size(), groups);
  // The billboard's titles come from the bundle's strings; the WiX library has none of them.
  const std::string english = "WixUI_en-us.wxl\"/>";
  const size_t language = config.find(english);
  if (language == std::string::npos) return false;
  config.insert(language + english.size(), "<LocalizationFiles FileName=\"SetupData\\Wix\\Billboard.en-us.wxl\"/>");
  const std::string strings =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<WixLocalization Culture=\"en-us\" xmlns=\"http://schemas.microsoft.com/wix/2006/localization\">"
      "<String Id=\"InstallatingComponents\">Installing the components</String>"
      "<String Id=\"InstalledComponents\">The components are installed</String>"
      "<String Id=\"ProgressDlgTitleTextInstall\">Installing</String></WixLocalization>\n";
  ::CreateDirectoryW((bundle.Folder() + L"SetupData\\Wix").c_str(), nullptr);
  if (!testsupport::WriteFileBytes(bundle.Folder() + L"SetupData\\Wix\\Billboard.en-us.wxl", strings)) return false;
  // The look of the wizard tests' own bundle, so the billboard is seen as a user sees it.
  const std::string style =
      testsupport::ReadFileBytes(testsupport::SourceFolder() + L"tests\\packages\\wizardmain\\StyleConfig.xml");
  return !style.empty() &&
         testsupport::WriteFileBytes(bundle.Folder() + L"SetupData\\Configuration\\StyleConfig.xml", style) &&
         testsupport::WriteFileBytes(bundle.SetupConfigPath(), config) &&
         testsupport::WriteFileBytes(bundle.Folder() + L"SetupData\\Configuration\\ConfigForMainDialog.xml",
                                     BillboardMainDialogConfig());
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

struct Billboard {
  std::vector<std::wstring> lines;
  std::vector<LRESULT> states;
  LRESULT barPosition = -1;
  LRESULT barEnd = -1;
  std::wstring title;
};

// What the billboard of the frame shows now; empty lines when it has none.
Billboard ReadBillboard(HWND frame) {
  Billboard board;
  testsupport::ControlInfo list;
  if (frame == nullptr || !testsupport::FindControl(frame, L"ExecutionBillboard", list)) return board;
  board.lines = testsupport::ListItems(list.window);
  for (size_t i = 0; i < board.lines.size(); ++i) board.states.push_back(Send(list.window, LB_GETITEMDATA, i));
  testsupport::ControlInfo bar;
  if (testsupport::FindControl(frame, L"BillboardProgressbar", bar)) {
    board.barPosition = Send(bar.window, PBM_GETPOS);
    board.barEnd = Send(bar.window, PBM_GETRANGE, FALSE);
  }
  testsupport::ControlInfo title;
  if (testsupport::FindControl(frame, L"BillboardTitle", title)) board.title = testsupport::ReadWindowText(title.window);
  return board;
}

std::string Describe(const Billboard& board) {
  std::string text = "title \"" + Utf8(board.title) + "\", bar " + std::to_string(board.barPosition) + " of " +
                     std::to_string(board.barEnd) + ", lines:";
  for (size_t i = 0; i < board.lines.size(); ++i) {
    text += " [" + Utf8(board.lines[i]) + " = " + std::to_string(board.states[i]) + "]";
  }
  return text;
}

std::wstring ScreenshotPath(const wchar_t* name) {
  const std::wstring folder = testsupport::BinFolder() + L"screenshots\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder + name;
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

TEST(BillboardTest, ShowsEveryShownGroupWithItsStateWhileInstallingAndTheFinalStatesWithAFullBarAfter) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const testsupport::WixUiSet* set = MinimalSet();
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::WixSetBundle bundle(*set, L"billboard");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  const std::wstring marker = bundle.Folder() + L"products.txt";
  ASSERT_TRUE(AddGroups(bundle, marker));

  testsupport::RunningProcess process = testsupport::StartProcess(testsupport::Quote(bundle.SetupExe()), bundle.Folder());
  ASSERT_TRUE(process.IsValid());
  testsupport::WindowDriver driver(process.Id(), process.Handle());
  testsupport::DialogWindow page;
  ASSERT_TRUE(driver.WaitForPage(L"WelcomeEulaDlg", kFirstPageTimeoutMs, page));
  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"LicenseAcceptedCheckBox"));
  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"Install"));
  ASSERT_TRUE(driver.WaitForPage(L"ProgressDlg", kStepTimeoutMs, page));
  const HWND frame = driver.MainFrame();
  ASSERT_NE(frame, nullptr);

  // While the companion group's product runs: the main group is done, the
  // companion group runs, the hidden group is not listed, the bar has moved.
  Billboard during;
  const ULONGLONG deadline = ::GetTickCount64() + kStepTimeoutMs;
  for (;;) {
    during = ReadBillboard(frame);
    if (during.states.size() == 2 && during.states[1] == kRunning) break;
    ASSERT_TRUE(::GetTickCount64() < deadline && driver.ProcessRunning()) << Describe(during);
    ::Sleep(50);
  }
  (void)testsupport::SaveWindowImage(frame, ScreenshotPath(L"billboard-progress.bmp"));
  // Each line's icon: the middle of the done group's is green, of the running group's blue.
  testsupport::ControlInfo list;
  ASSERT_TRUE(testsupport::FindControl(frame, L"ExecutionBillboard", list));
  const LRESULT lineHeight = Send(list.window, LB_GETITEMHEIGHT);
  ASSERT_GT(lineHeight, 0);
  // Icons sit 2 pixels in, centred on their line; a point low in the disc, clear of the tick and the arrow.
  const int probe = static_cast<int>(lineHeight / 2) + 5;
  EXPECT_EQ(testsupport::WindowPixel(list.window, 10, probe), RGB(40, 160, 60));
  EXPECT_EQ(testsupport::WindowPixel(list.window, 10, static_cast<int>(lineHeight) + probe), RGB(30, 110, 210));
  EXPECT_EQ(during.lines[1], L"Companion Tools");
  EXPECT_EQ(during.lines[0].find(L'%'), std::wstring::npos) << Describe(during);
  EXPECT_EQ(during.states[0], kDone) << Describe(during);
  EXPECT_EQ(during.barEnd, 100);
  EXPECT_GT(during.barPosition, 0) << Describe(during);
  EXPECT_LT(during.barPosition, 100) << Describe(during);
  EXPECT_EQ(during.title, L"Installing the components");

  ASSERT_TRUE(driver.WaitForPage(L"ExitDialog", kStepTimeoutMs, page));
  const Billboard after = ReadBillboard(frame);
  ASSERT_EQ(after.states.size(), 2u) << Describe(after);
  EXPECT_EQ(after.states[0], kDone) << Describe(after);
  EXPECT_EQ(after.states[1], kDone) << Describe(after);
  EXPECT_EQ(after.barPosition, 100) << Describe(after);
  EXPECT_EQ(after.title, L"The components are installed");
  (void)testsupport::SaveWindowImage(frame, ScreenshotPath(L"billboard-exit.bmp"));
  // The exit page has the frame's area to itself.
  ASSERT_TRUE(testsupport::FindControl(frame, L"ExecutionBillboard", list));
  EXPECT_FALSE(list.visible);

  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"Finish"));
  const testsupport::ProcessResult result = process.Wait(kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_TRUE(testsupport::IsWixSetProductInstalled(set->productCode));
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
}

}  // namespace
