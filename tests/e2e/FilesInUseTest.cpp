// Files in use, by clicks with the real Setup.exe: a running program
// (hold_file) holds a file of a bundle's package while the wizard installs
// it. The package asks as Windows Installer does (its custom action sends the
// files-in-use message, which Wine's own installer never sends), the wizard
// shows the WiX FilesInUse dialog listing the program; Retry once the program
// has ended installs the package; Exit cancels that product (Windows
// Installer hears Cancel and the package ends as a user exit, which the run
// counts as that product's failure) and the run goes on to its end page.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"

namespace {

constexpr DWORD kFirstPageTimeoutMs = 60000;
constexpr DWORD kStepTimeoutMs = 60000;
constexpr wchar_t kFilesInUseCode[] = L"{6B1D0C3A-2000-4000-8000-0000000000F1}";

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

struct AnswerCase {
  const char* name;
  const wchar_t* button;
  const wchar_t* lastPage;
  bool installed;
};

const testsupport::WixUiSet* MinimalSet() {
  for (const testsupport::WixUiSet& set : testsupport::WixUiSets()) {
    if (std::string(set.name) == "Minimal") return &set;
  }
  return nullptr;
}

// A second group with the package whose file the program holds.
// The package's file the program holds: one per bundle, so no run meets the
// copy an earlier one left behind.
std::wstring HeldFilePath(const testsupport::WixSetBundle& bundle) { return bundle.Folder() + L"held.txt"; }

bool AddFilesInUseProduct(const testsupport::WixSetBundle& bundle) {
  if (!::CopyFileW((testsupport::PackageFolder() + L"FilesInUse.msi").c_str(),
                   (bundle.Folder() + L"SetupData\\Packages\\FilesInUse.msi").c_str(), FALSE)) {
    return false;
  }
  std::string config = testsupport::ReadFileBytes(bundle.SetupConfigPath());
  const std::string end = "</ProductGroup></ProductList>";
  const size_t at = config.find(end);
  if (at == std::string::npos) return false;
  const std::string code = Utf8(kFilesInUseCode);
  config.replace(at, end.size(),
                 "</ProductGroup><ProductGroup DisplayName=\"Tools\" Sequence=\"2\" ShowInUI=\"true\">"
                 "<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"Setup Test Files In Use\" Id=\"" + code + "\" "
                 "Location=\"SetupData\\Packages\\FilesInUse.msi\" UninstallCommand=\"" + code + "\" "
                 "InstallCommand=\"HELDFILE=&quot;" + Utf8(HeldFilePath(bundle)) + "&quot;\" "
                 "SpaceRequired=\"1\"/></ProductGroup></ProductList>");
  return testsupport::WriteFileBytes(bundle.SetupConfigPath(), config);
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

std::string LogEnd(const std::wstring& path) {
  std::wstring log;
  for (const std::wstring& line : platform::Split(testsupport::ReadUtf16File(path), L"\n")) {
    if (line.find(L"Could not find the") == std::wstring::npos &&
        line.find(L"MainDialogConfig map") == std::wstring::npos && line.find(L"Property(S)") == std::wstring::npos) {
      log += line + L"\n";
    }
  }
  if (log.size() > 5000) log = log.substr(log.size() - 5000);
  return "log ending:\n" + Utf8(log);
}

std::string Shown(const testsupport::WindowDriver& driver) {
  std::string text = driver.ProcessRunning() ? "Setup.exe shows:\n" : "Setup.exe has ended\n";
  for (const testsupport::WindowInfo& window : driver.TopLevelWindows()) {
    text += "  " + Utf8(window.className) + " \"" + Utf8(window.title) + "\" [" +
            Utf8(testsupport::DialogIdOf(window.window)) + "] " + Utf8(window.StaticText()) + "\n";
  }
  const testsupport::DialogWindow page = driver.CurrentPage();
  return text + "page: " + Utf8(page.id) + "\n";
}

class FilesInUse : public ::testing::TestWithParam<AnswerCase> {
 protected:
  void TearDown() override {
    testsupport::RemoveWixSetProductIfInstalled(kFilesInUseCode);
    if (const testsupport::WixUiSet* set = MinimalSet()) testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  }
};

TEST_P(FilesInUse, TheDialogListsTheHolderAndItsAnswerReachesTheInstallation) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const testsupport::WixUiSet* set = MinimalSet();
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::RemoveWixSetProductIfInstalled(kFilesInUseCode);
  testsupport::WixSetBundle bundle(*set, std::wstring(L"filesinuse_") + platform::Utf8ToWide(GetParam().name));
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  ASSERT_TRUE(AddFilesInUseProduct(bundle));

  const std::wstring held = HeldFilePath(bundle);
  testsupport::RunningProcess holder = testsupport::StartProcess(
      testsupport::Quote(testsupport::BinFolder() + L"hold_file.exe") + L" " + testsupport::Quote(held));
  ASSERT_TRUE(holder.IsValid());
  // The holder has the file once it exists and cannot be opened for writing.
  bool isHeld = false;
  for (int i = 0; i < 800 && !isHeld; ++i) {
    platform::UniqueFileHandle probe(::CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    isHeld = !probe && ::GetLastError() == ERROR_SHARING_VIOLATION;
    if (!isHeld) ::Sleep(25);
  }
  ASSERT_TRUE(isHeld) << Utf8(held) << (holder.IsRunning() ? " (holder runs)" : " (holder ended)") << " attributes "
                      << ::GetFileAttributesW(held.c_str());
  ASSERT_FALSE(testsupport::IsWixSetProductInstalled(kFilesInUseCode));

  testsupport::RunningProcess process = testsupport::StartProcess(testsupport::Quote(bundle.SetupExe()), bundle.Folder());
  ASSERT_TRUE(process.IsValid());
  struct EndAtExit {
    testsupport::RunningProcess& process;
    ~EndAtExit() {
      if (process.IsRunning()) (void)process.Wait(0);
    }
  } endSetup{process}, endHolder{holder};
  testsupport::WindowDriver driver(process.Id(), process.Handle());
  testsupport::DialogWindow page;
  ASSERT_TRUE(driver.WaitForPage(L"WelcomeEulaDlg", kFirstPageTimeoutMs, page)) << LogEnd(bundle.LogPath());
  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"LicenseAcceptedCheckBox"));
  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"Install"));

  testsupport::DialogWindow question;
  ASSERT_TRUE(driver.WaitForDialog(L"FilesInUse", kStepTimeoutMs, question))
      << Shown(driver) << LogEnd(bundle.LogPath());
  testsupport::ControlInfo list;
  ASSERT_TRUE(testsupport::FindControl(question.window, L"List", list));
  EXPECT_EQ(testsupport::ListItems(list.window), std::vector<std::wstring>{L"Holder of held.txt  ( hold_file.exe )"});
  (void)testsupport::SaveWindowImage(question.window, testsupport::BinFolder() + L"screenshots\\files-in-use.bmp");

  if (std::wstring(GetParam().button) == L"Retry") {
    (void)holder.Wait(0);  // the program ends
  }
  ASSERT_TRUE(ClickWhenReady(driver, question.window, GetParam().button));
  ASSERT_TRUE(driver.WaitForPage(GetParam().lastPage, kStepTimeoutMs, page))
      << Shown(driver) << LogEnd(bundle.LogPath());
  const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
  if (GetParam().installed) {
    EXPECT_TRUE(testsupport::IsWixSetProductInstalled(kFilesInUseCode)) << LogEnd(bundle.LogPath());
  } else {
    // Windows Installer heard Cancel: the package ended as a user exit. (Wine
    // keeps such a product registered, so its registration is not the sign.)
    EXPECT_NE(log.find(L"Error Code \t : 1602"), std::wstring::npos) << LogEnd(bundle.LogPath());
  }
  ASSERT_TRUE(ClickWhenReady(driver, page.window, L"Finish"));
  const testsupport::ProcessResult result = process.Wait(kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut);
  if (GetParam().installed) {
    EXPECT_EQ(result.exitCode, 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, FilesInUse,
                         ::testing::Values(AnswerCase{"RetryAfterTheProgramEnded", L"Retry", L"ExitDialog", true},
                                           AnswerCase{"Exit", L"Exit", L"ExitDialog", false}),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
