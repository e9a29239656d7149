// The wizard at a higher DPI: the same page of a standard set shown at 96 and
// at 144 DPI (LogPixels of HKCU\Control Panel\Desktop, which Wine takes as
// the screen's DPI) has every control rectangle 1.5 times as large, within a
// pixel of rounding, so text has room as it grows with its font.

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <map>
#include <string>

#include "platform/StringUtil.h"
#include "support/TestPaths.h"
#include "support/WixSetBundle.h"
#include "support/WixSetRun.h"

using testsupport::WixSetRun;
using testsupport::WixUiSet;

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// Sets LogPixels for the processes started meanwhile; puts back what was there.
class LogPixels {
 public:
  explicit LogPixels(DWORD dpi) {
    DWORD size = sizeof(previous_);
    had_ = ::RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &previous_,
                          &size) == ERROR_SUCCESS;
    set_ = ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi)) ==
           ERROR_SUCCESS;
  }
  ~LogPixels() {
    if (had_) {
      (void)::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &previous_, sizeof(previous_));
    } else {
      (void)::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
    }
  }
  LogPixels(const LogPixels&) = delete;
  LogPixels& operator=(const LogPixels&) = delete;
  [[nodiscard]] bool IsSet() const { return set_; }

 private:
  DWORD previous_ = 96;
  bool had_ = false;
  bool set_ = false;
};

// The rectangles of the page's controls with a WiX Id, relative to the page.
// The frame is photographed as well (SETUP_SCREENSHOT_DIR, else the build
// folder's screenshots\): `./dev screenshots` keeps both pictures.
std::wstring ScreenshotPath(DWORD dpi) {
  wchar_t buffer[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"SETUP_SCREENSHOT_DIR", buffer, 1024);
  std::wstring folder = testsupport::BinFolder() + L"..\\screenshots";
  if (length > 0 && length < 1024) {
    folder.assign(buffer, length);
    (void)platform::ReplaceAll(folder, L"/", L"\\");
    if (folder[0] == L'\\') folder = L"Z:" + folder;
  }
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return platform::Format(L"%s\\installdir-dpi%lu.bmp", folder.c_str(), dpi);
}

std::map<std::wstring, RECT> PageRectangles(const testsupport::WixSetBundle& bundle, const WixUiSet& set, DWORD dpi,
                                            std::string& trouble) {
  std::map<std::wstring, RECT> rectangles;
  WixSetRun run(bundle);
  if (!run.Follow({{set.firstDialog, {}}})) {
    trouble = run.Trouble();
    return rectangles;
  }
  const HWND page = run.LastPage().window;
  RECT origin = {};
  ::GetWindowRect(page, &origin);
  for (const testsupport::ControlInfo& control : testsupport::DialogControls(page)) {
    if (control.controlId.empty() || ::GetParent(control.window) != page) continue;
    RECT rect = {};
    ::GetWindowRect(control.window, &rect);
    ::OffsetRect(&rect, -origin.left, -origin.top);
    rectangles[control.controlId] = rect;
  }
  ::Sleep(300);  // the page paints before it is photographed
  if (!testsupport::SaveWindowImage(run.Driver().MainFrame(), ScreenshotPath(dpi))) trouble = "no picture";
  return rectangles;
}

bool ScaledByOneAndAHalf(LONG at96, LONG at144) { return std::abs(at96 * 3 - at144 * 2) <= 3; }  // ±1 px at 144

TEST(WixSetHighDpi, ThePageAt144DpiHasItsControlsOneAndAHalfTimesAsLarge) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet* set = nullptr;
  for (const WixUiSet& candidate : testsupport::WixUiSets()) {
    if (std::string(candidate.name) == "InstallDir") set = &candidate;
  }
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::WixSetBundle bundle(*set, L"dpi_InstallDir");
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  std::string trouble;
  std::map<std::wstring, RECT> at96, at144;
  {
    LogPixels dpi(96);
    ASSERT_TRUE(dpi.IsSet());
    at96 = PageRectangles(bundle, *set, 96, trouble);
    ASSERT_FALSE(at96.empty()) << trouble;
  }
  {
    LogPixels dpi(144);
    ASSERT_TRUE(dpi.IsSet());
    at144 = PageRectangles(bundle, *set, 144, trouble);
    ASSERT_FALSE(at144.empty()) << trouble;
  }
  ASSERT_EQ(at96.size(), at144.size());
  for (const auto& [id, small] : at96) {
    const RECT& large = at144[id];
    EXPECT_TRUE(ScaledByOneAndAHalf(small.left, large.left) && ScaledByOneAndAHalf(small.top, large.top) &&
                ScaledByOneAndAHalf(small.right, large.right) && ScaledByOneAndAHalf(small.bottom, large.bottom))
        << Utf8(id) << ": " << small.left << "," << small.top << "," << small.right << "," << small.bottom
        << " at 96 DPI, " << large.left << "," << large.top << "," << large.right << "," << large.bottom
        << " at 144 DPI";
  }
}

}  // namespace
