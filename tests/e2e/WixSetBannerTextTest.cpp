// The standard WiX pages author their banner's Title and Description before
// the BannerBitmap they lie on: the texts must still be seen over the bitmap,
// as Windows Installer shows them (read from the screen's pixels).

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/StringUtil.h"
#include "support/WindowDriver.h"
#include "support/WixSetBundle.h"
#include "support/WixSetRun.h"

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

struct Ink {
  int dark = 0;   // pixels of text (the sets' texts are black)
  int light = 0;  // pixels of the banner's white ground
};

// Counts the dark and light pixels of a control as the screen shows it.
Ink InkOf(HWND control) {
  Ink ink;
  RECT rect = {};
  if (!::GetWindowRect(control, &rect)) return ink;
  for (int y = rect.top; y < rect.bottom; y += 2) {
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF pixel = testsupport::ScreenPixel(x, y);
      if (pixel == CLR_INVALID) continue;
      const int sum = GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel);
      if (sum < 240) ++ink.dark;
      if (sum > 700) ++ink.light;
    }
  }
  return ink;
}

TEST(WixSetBannerText, TheTitleAndDescriptionShowOverTheBannerBitmap) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const testsupport::WixUiSet* set = nullptr;
  for (const testsupport::WixUiSet& candidate : testsupport::WixUiSets()) {
    if (std::string(candidate.name) == "InstallDir") set = &candidate;
  }
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::WixSetBundle bundle(*set, L"banner_text");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  testsupport::WixSetRun run(bundle);
  // InstallDirDlg is one of the pages whose texts come before the bitmap.
  ASSERT_TRUE(run.Follow({{L"WelcomeDlg", {L"Next"}},
                          {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}},
                          {L"InstallDirDlg", {}}}))
      << run.Trouble();
  const HWND page = run.LastPage().window;
  // The whole frame painted again, as when another window passed over it.
  const HWND frame = run.Driver().MainFrame();
  ASSERT_NE(frame, nullptr);
  DWORD_PTR ignored = 0;
  (void)::SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  (void)::SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  ::Sleep(300);
  for (const wchar_t* id : {L"Title", L"Description"}) {
    testsupport::ControlInfo text;
    ASSERT_TRUE(testsupport::FindControl(page, id, text)) << Utf8(id);
    ASSERT_FALSE(text.text.empty()) << Utf8(id);
    const Ink ink = InkOf(text.window);
    EXPECT_GT(ink.light, 0) << Utf8(id) << ": no banner under the text";
    EXPECT_GT(ink.dark, 20) << Utf8(id) << " \"" << Utf8(text.text) << "\" is not seen over the banner";
  }
}

}  // namespace
