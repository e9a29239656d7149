// The silent run's indicator and finish windows, shown by the real Setup.exe
// under Xvfb when SilentConfig.xml asks for them: the progress text after
// each product, the success and failure windows with readable text, and no
// window at all when the indicator is off.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SilentBundle.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "registry/RegistryUtil.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"

using e2etest::BundleProduct;
using e2etest::SilentBundle;
using e2etest::SilentBundleOptions;

namespace {

const char kInstallDir[] = "<Property Id=\"INSTALLDIR\" Value=\"C:\\E2E Silent\\Studio\\\"/>";
const char kIndicatorOn[] = "<ShowErrorDialog Value=\"true\"/><ShowIndicator Value=\"true\"/>";
constexpr DWORD kRunTimeoutMs = 120000;

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::unique_ptr<SilentBundle> MakeBundle(const std::wstring& name, const std::vector<BundleProduct>& products,
                                         const char* general) {
  SilentBundleOptions options;
  options.silentGeneral = general;
  return std::make_unique<SilentBundle>(name, products, kInstallDir, options);
}

// The window of the process whose static texts contain `part`.
bool WaitForWindowWith(const testsupport::WindowDriver& driver, const std::wstring& part, testsupport::WindowInfo& found) {
  return driver.WaitForWindow([&part](const testsupport::WindowInfo& window) { return Contains(window.StaticText(), part); },
                              kRunTimeoutMs, found);
}

// Whether the control's screen area holds both its ground colour and a clearly different (text) colour.
bool ShowsReadableText(HWND control) {
  RECT rect;
  if (!::GetWindowRect(control, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  platform::WindowDc screen(nullptr);
  platform::UniqueHdc memory(::CreateCompatibleDC(screen.Get()));
  platform::UniqueHBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
  HGDIOBJ old = ::SelectObject(memory.Get(), bitmap.Get());
  ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory.Get(), old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (::GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) == 0) {
    return false;
  }
  auto brightness = [](DWORD p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF); };
  const DWORD ground = pixels.front();
  for (DWORD p : pixels) {
    const int difference = static_cast<int>(brightness(p)) - static_cast<int>(brightness(ground));
    if (difference > 300 || difference < -300) return true;
  }
  return false;
}

// The first static text of a finish window shows in a colour clearly apart from its ground.
::testing::AssertionResult MessageIsReadable(const testsupport::WindowInfo& window) {
  for (const testsupport::ControlInfo& control : window.controls) {
    if (_wcsicmp(control.className.c_str(), L"Static") != 0 || control.text.empty()) continue;
    if (ShowsReadableText(control.window)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "text and ground alike in \"" << platform::WideToUtf8(control.text) << "\"";
  }
  return ::testing::AssertionFailure() << "no text";
}

std::wstring ScreenshotPath(const wchar_t* name) {
  const std::wstring folder = testsupport::BinFolder() + L"screenshots\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder + name;
}

TEST(SilentIndicatorTest, IndicatorCountsTheProductsAndTheSuccessWindowClosesOnItsButton) {
  auto bundle = MakeBundle(L"silent-indicator", SilentBundle::DemoProducts(), kIndicatorOn);
  testsupport::RunningProcess process = testsupport::StartProcess(
      testsupport::Quote(bundle->Bundle().SetupExe()) + L" /si", bundle->Bundle().Folder());
  ASSERT_TRUE(process.IsValid());
  testsupport::WindowDriver driver(process.Id(), process.Handle());
  testsupport::WindowInfo finish;
  ASSERT_TRUE(WaitForWindowWith(driver, L"installed successfully", finish)) << bundle->SetupLogText();
  // The indicator stays behind the finish window with the whole count.
  testsupport::WindowInfo indicator;
  EXPECT_TRUE(WaitForWindowWith(driver, L"installing 100% completed", indicator));
  (void)testsupport::SaveWindowImage(finish.window, ScreenshotPath(L"silent-success.bmp"));
  (void)testsupport::SaveWindowImage(indicator.window, ScreenshotPath(L"silent-indicator.bmp"));
  EXPECT_TRUE(MessageIsReadable(finish));
  ASSERT_TRUE(testsupport::WindowDriver::PressButton(finish, L"OK"));
  const testsupport::ProcessResult result = process.Wait(kRunTimeoutMs);
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0u);

  const std::wstring log = bundle->SetupLogText();
  size_t at = 0;
  for (const wchar_t* percent : {L" installing 1% completed", L" installing 34% completed",
                                 L" installing 67% completed", L" installing 100% completed"}) {
    at = log.find(percent, at);
    ASSERT_NE(at, std::wstring::npos) << "missing in order: " << platform::WideToUtf8(percent) << "\n"
                                      << platform::WideToUtf8(log);
  }
  EXPECT_EQ(e2etest::InstalledProductName(SilentBundle::kSmallACode), L"Setup Test SmallA");
}

TEST(SilentIndicatorTest, FailedRunShowsTheFailureWindowWithTheLogPath) {
  BundleProduct failing{"<Product Sequence=\"3\" Type=\"MSI\" ProductName=\"SmallC\" "
                        "Id=\"{6B1D0C3A-2000-4000-8000-0000000000A3}\" Location=\"SetupData\\Packages\\SmallC.msi\" "
                        "InstallCommand=\"FAIL=&quot;1&quot;\" Rollback=\"true\" "
                        "UninstallCommand=\"{6B1D0C3A-2000-4000-8000-0000000000A3}\"/>",
                        SilentBundle::kSmallCCode};
  auto bundle = MakeBundle(L"silent-indicator-fail", {SilentBundle::Studio(), SilentBundle::Samples(), failing},
                           "<ShowErrorDialog Value=\"false\"/><ShowIndicator Value=\"true\"/>");
  testsupport::RunningProcess process = testsupport::StartProcess(
      testsupport::Quote(bundle->Bundle().SetupExe()) + L" /si", bundle->Bundle().Folder());
  ASSERT_TRUE(process.IsValid());
  testsupport::WindowDriver driver(process.Id(), process.Handle());
  testsupport::WindowInfo finish;
  ASSERT_TRUE(WaitForWindowWith(driver, L"installation failed", finish)) << bundle->SetupLogText();
  (void)testsupport::SaveWindowImage(finish.window, ScreenshotPath(L"silent-failure.bmp"));
  EXPECT_TRUE(MessageIsReadable(finish));
  EXPECT_TRUE(Contains(finish.StaticText(), L"Setup.log")) << platform::WideToUtf8(finish.StaticText());
  ASSERT_TRUE(testsupport::WindowDriver::PressButton(finish, L"OK"));
  const testsupport::ProcessResult result = process.Wait(kRunTimeoutMs);
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 2u);
}

TEST(SilentIndicatorTest, WithoutTheIndicatorNothingIsShown) {
  auto bundle = MakeBundle(L"silent-noindicator", {SilentBundle::Studio(), SilentBundle::SmallA()}, "");
  const e2etest::SilentRun run = bundle->Run(L"/si");
  ASSERT_FALSE(run.result.timedOut);
  EXPECT_EQ(run.result.exitCode, 0u);
  EXPECT_TRUE(run.messageBoxes.empty());
  EXPECT_FALSE(Contains(bundle->SetupLogText(), L"Silent indicator:")) << "no progress was shown";
}

TEST(SilentIndicatorTest, InstallOnAnInstalledBundleShowsTheFailureWindow) {
  auto bundle = MakeBundle(L"silent-indicator-twice", {SilentBundle::Studio(), SilentBundle::SmallA()}, "");
  const e2etest::SilentRun first = bundle->Run(L"/si");
  ASSERT_FALSE(first.result.timedOut);
  ASSERT_EQ(first.result.exitCode, 0u) << bundle->SetupLogText();
  // The same bundle, now asking for its windows.
  ASSERT_TRUE(testsupport::WriteFileBytes(
      bundle->Bundle().ConfigurationFolder() + L"SilentConfig.xml",
      std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SilentConfig><GeneralSettings>") + kIndicatorOn +
          "</GeneralSettings><WixSource><WixFile Path=\"SetupData\\Wix\\StudioUI.wxs\"/>"
          "<WixFile Path=\"SetupData\\Wix\\StudioFeatures.wxs\"/></WixSource><GeneralProperties>" +
          kInstallDir + "</GeneralProperties></SilentConfig>\n"));
  testsupport::RunningProcess process = testsupport::StartProcess(
      testsupport::Quote(bundle->Bundle().SetupExe()) + L" /si", bundle->Bundle().Folder());
  ASSERT_TRUE(process.IsValid());
  testsupport::WindowDriver driver(process.Id(), process.Handle());
  testsupport::WindowInfo finish;
  if (!WaitForWindowWith(driver, L"installation failed", finish)) {
    // A window nobody answers would keep the setup (and its single-instance
    // mutex) alive into the tests after this one.
    (void)process.Wait(0);
    FAIL() << "no failure window naming the installation\n" << bundle->SetupLogText();
  }
  ASSERT_TRUE(testsupport::WindowDriver::PressButton(finish, L"OK"));
  ASSERT_FALSE(process.Wait(kRunTimeoutMs).timedOut);
  EXPECT_TRUE(Contains(bundle->SetupLogText(), L"The system configuration and the command line execution option does "
                                               L"not match. Installation cannot progress"));
}

struct RestartChoice {
  const char* name;
  const wchar_t* button;
  bool restartsNow;
};

class SilentIntermediateRestartTest : public ::testing::TestWithParam<RestartChoice> {
 protected:
  void SetUp() override {
    scratch_ = testsupport::MakeScratchFolder(L"SilentIndicatorRestart" + platform::Utf8ToWide(GetParam().name));
    restarts_ = scratch_ + L"restarts.txt";
    ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", restarts_.c_str());
    Clear();
  }
  void TearDown() override {
    Clear();
    ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", nullptr);
    testsupport::RemoveFolder(scratch_);
  }
  static void Clear() {
    (void)registry::DeleteValue(registry::kRunOnceKey, registry::kRebootMarkerValue);
    (void)registry::DeleteValue(registry::kRunOnceKey, std::wstring(L"RestartFor") + SilentBundle::kBundleKey);
  }
  // The restarts asked for; a stand-in shutdown.exe started as the choice was made may still be writing.
  [[nodiscard]] std::wstring Restarts(bool expected) const {
    std::wstring text = platform::Utf8ToWide(testsupport::ReadFileBytes(restarts_));
    for (int i = 0; i < 200 && expected && text.empty(); ++i) {
      ::Sleep(25);
      text = platform::Utf8ToWide(testsupport::ReadFileBytes(restarts_));
    }
    return text;
  }
  std::wstring scratch_;
  std::wstring restarts_;
};

TEST_P(SilentIntermediateRestartTest, ChoiceInTheRestartWindowIsCarriedOut) {
  const RestartChoice& choice = GetParam();
  const std::string exe = platform::WideToUtf8(testsupport::BinFolder() + L"exe_product.exe");
  BundleProduct forcing{"<Product Sequence=\"2\" Type=\"EXE\" ProductName=\"Runtime\" Location=\"" + exe +
                            "\" InstallCommand=\"/exit:3010\" Reboot=\"FORCE\"/>",
                        L""};
  SilentBundleOptions options;
  options.extraGeneral = "<Reboot Value=\"true\"/>";
  options.silentGeneral = "<ShowErrorDialog Value=\"false\"/><ShowIndicator Value=\"true\"/>";
  SilentBundle bundle(L"silent-indicator-restart-" + platform::Utf8ToWide(choice.name), {SilentBundle::Studio(), forcing},
                      kInstallDir, options);
  testsupport::RunningProcess process =
      testsupport::StartProcess(testsupport::Quote(bundle.Bundle().SetupExe()) + L" /si", bundle.Bundle().Folder());
  ASSERT_TRUE(process.IsValid());
  testsupport::WindowDriver driver(process.Id(), process.Handle());
  testsupport::WindowInfo window;
  ASSERT_TRUE(WaitForWindowWith(driver, L"continues after a restart", window)) << bundle.SetupLogText();
  (void)testsupport::SaveWindowImage(window.window, ScreenshotPath(L"silent-intermediate-restart.bmp"));
  EXPECT_TRUE(MessageIsReadable(window));
  ASSERT_TRUE(testsupport::WindowDriver::PressButton(window, choice.button));
  const testsupport::ProcessResult result = process.Wait(kRunTimeoutMs);
  ASSERT_FALSE(result.timedOut);
  const std::wstring restarts = Restarts(choice.restartsNow);
  const std::wstring log = bundle.SetupLogText();
  if (choice.restartsNow) {
    EXPECT_TRUE(Contains(restarts, L"-r")) << platform::WideToUtf8(restarts);
    EXPECT_TRUE(Contains(log, L"Intermediate reboot: Restarting system...")) << platform::WideToUtf8(log);
  } else {
    EXPECT_TRUE(restarts.empty()) << platform::WideToUtf8(restarts);
    EXPECT_EQ(result.exitCode, 0u);
    // The marker is a value with empty data: its presence is what counts.
    platform::UniqueHKey runOnce;
    ASSERT_EQ(registry::OpenKey(registry::kRunOnceKey, KEY_READ, registry::View::Default, runOnce), ERROR_SUCCESS);
    EXPECT_EQ(::RegQueryValueExW(runOnce.Get(), (std::wstring(L"RestartFor") + SilentBundle::kBundleKey).c_str(),
                                 nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS)
        << platform::WideToUtf8(log);
  }
}

INSTANTIATE_TEST_SUITE_P(Choices, SilentIntermediateRestartTest,
                         ::testing::Values(RestartChoice{"Now", L"Restart now", true},
                                           RestartChoice{"Later", L"Restart later", false}),
                         [](const ::testing::TestParamInfo<RestartChoice>& info) { return std::string(info.param.name); });

}  // namespace
