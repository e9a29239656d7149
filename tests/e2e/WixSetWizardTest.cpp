// The first page of each standard WiX UI dialog set, shown by the real
// Setup.exe started without options on a bundle whose main package uses the
// set: inside the wizard's frame, with the set's English texts.
//
// How the wizard's windows are found: the frame is a top-level "#32770"
// titled "<ProductName> Setup"; each page is a child "#32770" of it whose
// window property "SetupDialogId" holds a global atom naming the WiX dialog;
// controls carry "SetupControlId" atoms with the WiX control id; texts are
// "Static" windows.

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"

namespace {

using testsupport::WixUiSet;

constexpr DWORD kPageTimeoutMs = 60000;
constexpr DWORD kPollMs = 100;

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256] = {};
  const int length = ::GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

// The name of the global atom a window property holds; empty without one.
BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

struct WizardPage {
  HWND frame = nullptr;
  HWND page = nullptr;
  std::wstring frameTitle;
  std::wstring dialogId;
  std::map<std::wstring, std::wstring> statics;  // WiX control id -> window text
};

// The visible wizard page of the process with the WiX dialog id, if any.
bool FindPage(DWORD processId, const std::wstring& dialogId, WizardPage& found) {
  for (const testsupport::WindowInfo& top : testsupport::WindowDriver(processId).TopLevelWindows()) {
    if (top.className != L"#32770") continue;
    for (HWND child : Children(top.window)) {
      if (::GetParent(child) != top.window || ClassOf(child) != L"#32770") continue;
      if (testsupport::AtomProperty(child, L"SetupDialogId") != dialogId || !::IsWindowVisible(child)) continue;
      found.frame = top.window;
      found.page = child;
      found.frameTitle = top.title;
      found.dialogId = dialogId;
      for (HWND control : Children(child)) {
        if (_wcsicmp(ClassOf(control).c_str(), L"Static") != 0) continue;
        const std::wstring id = testsupport::AtomProperty(control, L"SetupControlId");
        if (!id.empty()) found.statics[id] = testsupport::ReadWindowText(control);
      }
      return true;
    }
  }
  return false;
}

// What a run showed instead of the page: the texts of its top-level windows.
std::wstring DescribeWindows(DWORD processId) {
  std::wstring text;
  for (const testsupport::WindowInfo& top : testsupport::WindowDriver(processId).TopLevelWindows()) {
    text += L"[" + top.className + L" \"" + top.title + L"\"] " + top.StaticText() + L"\n";
  }
  return text.empty() ? L"(no visible window)" : text;
}

// A string of WixUI_en-us.wxl as the page shows it: [ProductName] formatted.
std::wstring PageText(const std::wstring& stringId, const std::wstring& productName) {
  std::wstring text = testsupport::WithoutTextStyle(testsupport::WixUiLibraryString(L"WixUI_en-us.wxl", stringId));
  (void)platform::ReplaceAll(text, L"[ProductName]", productName);
  return text;
}

// Starting the wizard must install nothing; a run that did anyway is undone
// afterwards, so it cannot spoil the next test.
class WixSetWizard : public ::testing::TestWithParam<WixUiSet> {
 protected:
  void SetUp() override { testsupport::RemoveWixSetProductIfInstalled(GetParam().productCode); }
  void TearDown() override { testsupport::RemoveWixSetProductIfInstalled(GetParam().productCode); }
};

TEST_P(WixSetWizard, FirstPageAppearsInTheFrameWithTheSetsEnglishTexts) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet& set = GetParam();
  testsupport::WixSetBundle bundle(set, L"wizard_" + platform::Utf8ToWide(set.name));
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  testsupport::RunningProcess process =
      testsupport::StartProcess(testsupport::Quote(bundle.SetupExe()), bundle.Folder());
  ASSERT_TRUE(process.IsValid());
  WizardPage page;
  bool shown = false;
  std::wstring lastWindows;
  for (DWORD waited = 0; waited < kPageTimeoutMs && process.IsRunning(); waited += kPollMs) {
    if (FindPage(process.Id(), set.firstDialog, page)) {
      shown = true;
      break;
    }
    lastWindows = DescribeWindows(process.Id());
    ::Sleep(kPollMs);
  }
  const bool endedEarly = !shown && !process.IsRunning();

  if (shown) {
    // Leave the wizard as a user would; a page that does not go is ended below.
    ::PostMessageW(page.page, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  const testsupport::ProcessResult result = process.Wait(shown ? 5000 : 1);
  EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set.productCode)) << "starting the wizard installed the product";
  // The end of the log tells how far the run got.
  std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
  if (log.size() > 3000) log = L"..." + log.substr(log.size() - 3000);

  ASSERT_TRUE(shown) << "no visible page " << Utf8(set.firstDialog) << ": "
                     << (endedEarly ? "Setup.exe ended with exit code " + std::to_string(result.exitCode) +
                                          " before showing it"
                                    : "Setup.exe still ran after " + std::to_string(kPageTimeoutMs / 1000) + " s")
                     << "\nwindows last seen: " << Utf8(lastWindows) << "\nlog:\n"
                     << Utf8(log);
  const std::wstring productName = testsupport::WixSetProductName(set);
  EXPECT_EQ(page.frameTitle, productName + L" Setup");
  for (const testsupport::WixSetPageText& text : testsupport::WixSetFirstPageTexts(set)) {
    const auto found = page.statics.find(text.control);
    ASSERT_NE(found, page.statics.end()) << "no Static with SetupControlId " << Utf8(text.control);
    EXPECT_EQ(found->second, PageText(text.stringId, productName)) << Utf8(text.control);
  }
}

INSTANTIATE_TEST_SUITE_P(Sets, WixSetWizard, ::testing::ValuesIn(testsupport::WixUiSets()),
                         [](const ::testing::TestParamInfo<WixUiSet>& info) {
                           return testsupport::WixUiSetName(info.param);
                         });

}  // namespace
