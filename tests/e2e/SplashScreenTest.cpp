// The splash screen of a first installation, shown by the real Setup.exe
// under Xvfb: it comes before the wizard's first page, stays at least its
// minimum time, ignores Escape and Enter, is shaped to the non-magenta pixels
// of the brand's image, and shows without an image (with a warning) when the
// file is missing. Bundles without a splash image show none, so the other
// wizard tests do not wait for it.

#include <gtest/gtest.h>

#include <string>

#include "WizardBundle.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"

using e2etest::HasLogLine;
using e2etest::WizardBundle;
using e2etest::WizardExtras;
using e2etest::WizardRun;
using testsupport::DialogWindow;

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 160;
constexpr int kMagentaColumns = 40;  // the left edge is see-through
constexpr COLORREF kBlue = RGB(30, 60, 120);

template <typename T>
void Append(std::string& bytes, const T& value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

// A 24-bit BMP: magenta in the left columns, blue elsewhere.
std::string SplashBitmap() {
  const int rowBytes = (kWidth * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * kHeight);
  info.biSize = sizeof(info);
  info.biWidth = kWidth;
  info.biHeight = kHeight;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::string bytes;
  Append(bytes, file);
  Append(bytes, info);
  for (int y = 0; y < kHeight; ++y) {
    std::string row(static_cast<size_t>(rowBytes), '\0');
    for (int x = 0; x < kWidth; ++x) {
      const COLORREF c = x < kMagentaColumns ? RGB(255, 0, 255) : kBlue;
      row[static_cast<size_t>(x) * 3] = static_cast<char>(GetBValue(c));
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>(GetGValue(c));
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>(GetRValue(c));
    }
    bytes += row;
  }
  return bytes;
}

// The splash: a top-level dialog of the process titled after the product that is no WiX dialog and holds no page.
bool WaitForSplash(const WizardRun& run, HWND& splash) {
  testsupport::WindowInfo found;
  const std::wstring title = std::wstring(WizardBundle::kProductName) + L" Setup";
  const bool seen = run.Driver().WaitForWindow(
      [&title](const testsupport::WindowInfo& window) {
        return window.className == L"#32770" && window.title == title && testsupport::DialogIdOf(window.window).empty() &&
               window.controls.empty();
      },
      WizardRun::kFirstPageTimeoutMs, found);
  splash = found.window;
  return seen;
}

bool Send(HWND window, UINT message, WPARAM wParam) {
  DWORD_PTR unused = 0;
  return ::SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG, WizardRun::kStepTimeoutMs, &unused) != 0;
}

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

std::wstring ScreenshotPath(const wchar_t* name) {
  const std::wstring folder = testsupport::BinFolder() + L"screenshots\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder + name;
}

TEST(SplashScreenTest, ShapedSplashPrecedesTheFirstPageForAtLeastItsMinimumTime) {
  WizardExtras extras;
  extras.splashBitmap = SplashBitmap();
  WizardBundle bundle(L"splash", e2etest::WizardSources{}, extras);
  ASSERT_TRUE(bundle.Complete());
  WizardRun run(bundle);
  HWND splash = nullptr;
  ASSERT_TRUE(WaitForSplash(run, splash)) << run.Describe();
  const ULONGLONG seen = ::GetTickCount64();
  EXPECT_FALSE(run.Driver().CurrentPage().IsValid()) << "the splash comes before the first page";

  RECT rect;
  ASSERT_TRUE(::GetWindowRect(splash, &rect));
  EXPECT_EQ(rect.right - rect.left, kWidth);
  EXPECT_EQ(rect.bottom - rect.top, kHeight);
  platform::UniqueHRgn region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(splash, region.Get()), ERROR);
  EXPECT_FALSE(::PtInRegion(region.Get(), kMagentaColumns / 2, kHeight / 2)) << "magenta is cut away";
  EXPECT_FALSE(::PtInRegion(region.Get(), kMagentaColumns - 1, 0));
  EXPECT_TRUE(::PtInRegion(region.Get(), kMagentaColumns, kHeight / 2));
  EXPECT_TRUE(::PtInRegion(region.Get(), kWidth - 1, kHeight - 1));
  // (The greyed Close item cannot be read from another process: GetSystemMenu gives null.)
  EXPECT_EQ(testsupport::WindowPixel(splash, kWidth - 5, 5), kBlue);
  (void)testsupport::SaveWindowImage(splash, ScreenshotPath(L"splash.bmp"));

  // Escape and Enter, as keys and as the commands a dialog makes of them.
  EXPECT_TRUE(Send(splash, WM_KEYDOWN, VK_ESCAPE));
  EXPECT_TRUE(Send(splash, WM_KEYDOWN, VK_RETURN));
  EXPECT_TRUE(Send(splash, WM_COMMAND, IDCANCEL));
  EXPECT_TRUE(Send(splash, WM_COMMAND, IDOK));

  ASSERT_TRUE(testsupport::WaitUntilGone(splash, WizardRun::kFirstPageTimeoutMs));
  const ULONGLONG gone = ::GetTickCount64();
  // The work here takes well under a second: the splash is held by its
  // minimum of 5 s (seen a little after it appeared, hence the margin).
  EXPECT_GE(gone - seen, 4000u);
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  EXPECT_FALSE(::IsWindow(splash) && ::IsWindowVisible(splash));
  LeaveFromWelcome(run, welcome);
}

TEST(SplashScreenTest, MissingSplashImageShowsThePlainSplashWithAWarning) {
  WizardExtras extras;
  extras.splashFileMissing = true;
  WizardBundle bundle(L"splash-missing", e2etest::WizardSources{}, extras);
  ASSERT_TRUE(bundle.Complete());
  WizardRun run(bundle);
  HWND splash = nullptr;
  ASSERT_TRUE(WaitForSplash(run, splash)) << run.Describe();
  // White text on the plain ground: the top-left corner shows the ground.
  EXPECT_NE(testsupport::WindowPixel(splash, 3, 3), RGB(255, 255, 255));
  (void)testsupport::SaveWindowImage(splash, ScreenshotPath(L"splash-plain.bmp"));
  ASSERT_TRUE(testsupport::WaitUntilGone(splash, WizardRun::kFirstPageTimeoutMs));
  DialogWindow welcome;
  ASSERT_TRUE(run.WaitForPage(L"WelcomeDlg", welcome)) << run.Describe();
  LeaveFromWelcome(run, welcome);
  const std::wstring log = bundle.LogText();
  EXPECT_TRUE(HasLogLine(log, L"WARNING:", L"Splash.bmp could not be loaded; the splash screen shows without it."))
      << log;
}

}  // namespace
