// Pictures of the wizard for the documentation: each page of the standard
// WixUI_InstallDir set, photographed in the main frame as a user sees it.
// `./dev screenshots` runs this test with SETUP_SCREENSHOT_DIR set and turns
// the pictures into the PNG files of docs/images/; without it they land in
// the build folder (build\win64\screenshots\).

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/TestPaths.h"
#include "support/WixSetBundle.h"
#include "support/WixSetRun.h"

using testsupport::WixSetRun;
using testsupport::WixUiSet;

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

std::wstring ScreenshotFolder() {
  wchar_t buffer[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"SETUP_SCREENSHOT_DIR", buffer, 1024);
  std::wstring folder;
  if (length > 0 && length < 1024) {
    folder.assign(buffer, length);
    if (folder[0] == L'/') {
      (void)platform::ReplaceAll(folder, L"/", L"\\");
      folder = L"Z:" + folder;
    }
  } else {
    folder = testsupport::BinFolder() + L"..\\screenshots";
  }
  if (folder.back() != L'\\') folder += L'\\';
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// The frame is photographed once the page has painted.
bool Photograph(HWND frame, const std::wstring& path) {
  DWORD_PTR ignored = 0;
  (void)::SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  (void)::SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  ::Sleep(300);
  return testsupport::SaveWindowImage(frame, path);
}

// The demo bundle's colours and fonts, and a frame the size of a set's page
// (370 x 270 dialog units) with no banner or side picture of its own: the
// sets' pages bring theirs.
std::string ReadText(const std::wstring& path) {
  const std::string bytes = testsupport::ReadFileBytes(path);
  return bytes.empty() ? testsupport::MinimalStyleConfig() : bytes;
}
std::string PageSizedFrame() {
  return "<?xml version=\"1.0\"?><ConfigForMainDialog><MainDialog>"
         "<Dialog Left=\"0\" Top=\"0\" Right=\"376\" Bottom=\"282\"/></MainDialog>"
         "<PreInstallDialog><Dialog Left=\"0\" Top=\"0\" Right=\"330\" Bottom=\"210\"/></PreInstallDialog>"
         "</ConfigForMainDialog>";
}

bool IsFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > 1000;
}

TEST(WixSetScreenshots, EachPageOfTheInstallDirSetIsPhotographedInTheFrame) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet* set = nullptr;
  for (const WixUiSet& candidate : testsupport::WixUiSets()) {
    if (std::string(candidate.name) == "InstallDir") set = &candidate;
  }
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::WixSetBundle bundle(
      *set, L"screenshots_InstallDir",
      ReadText(testsupport::SourceFolder() + L"examples\\demo\\SetupData\\Configuration\\StyleConfig.xml"),
      PageSizedFrame());
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  const std::wstring folder = ScreenshotFolder();

  // Each page, what it is photographed after (to show a state), and what goes on.
  struct Shot {
    const wchar_t* page;
    std::vector<std::wstring> before;
    std::vector<std::wstring> after;
  };
  const std::vector<Shot> shots = {{L"WelcomeDlg", {}, {L"Next"}},
                                   {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox"}, {L"Next"}},
                                   {L"InstallDirDlg", {}, {L"Next"}},
                                   {L"VerifyReadyDlg", {}, {L"Install"}},
                                   {L"ExitDialog", {}, {L"Finish"}}};
  WixSetRun run(bundle);
  int number = 1;
  for (const Shot& shot : shots) {
    ASSERT_TRUE(run.Follow({{shot.page, shot.before}})) << run.Trouble();
    const HWND frame = run.Driver().MainFrame();
    ASSERT_NE(frame, nullptr) << run.Describe();
    const std::wstring path = platform::Format(L"%sinstalldir-%d-%s.bmp", folder.c_str(), number++, shot.page);
    ASSERT_TRUE(Photograph(frame, path)) << Utf8(path);
    EXPECT_TRUE(IsFile(path)) << Utf8(path);
    for (const std::wstring& click : shot.after) ASSERT_TRUE(run.Click(run.LastPage().window, click)) << run.Describe();
  }
  const testsupport::ProcessResult result = run.Process().Wait(WixSetRun::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << run.Describe();
  EXPECT_EQ(result.exitCode, 0u);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
}

}  // namespace
