// The disk-space pages of the WixUI_FeatureTree set on the feature-tree
// bundle, in the real Setup.exe: the volume list of DiskCostDlg with its five
// columns and the drives the control asks for, and, with the free space of
// the installation drive made too small through the test seam, Install
// showing OutOfDiskDlg with that drive's row marked and nothing installed.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "FeatureTreeBundle.h"
#include "FeatureWizardWalk.h"
#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/WixSetBundle.h"
#include "ui/controls/SizeText.h"

namespace {

using featurewalk::Utf8;
using featurewalk::WizardWalk;

// Helper asks for 1 MB (Runtime too, but it is already there and does not
// run); the main package counts by its features' cost, which Wine's
// installer gives as 0 for these tiny files.
constexpr long long kRequiredBytes = 1048576LL;
const std::vector<std::wstring> kTitles = {L"Volume", L"Disk Size", L"Available", L"Required", L"Difference"};

// The drives the set's lists ask for (Fixed and Remote), as this process sees them.
std::vector<std::wstring> FixedAndRemoteDrives() {
  std::vector<std::wstring> roots;
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    const std::wstring root = std::wstring(1, letter) + L":\\";
    const UINT type = ::GetDriveTypeW(root.c_str());
    ULARGE_INTEGER free = {}, total = {}, totalFree = {};
    if ((type == DRIVE_FIXED || type == DRIVE_REMOTE) && ::GetDiskFreeSpaceExW(root.c_str(), &free, &total, &totalFree)) {
      roots.push_back(root);
    }
  }
  return roots;
}

std::string DescribeRows(const std::vector<std::vector<std::wstring>>& rows) {
  std::string text;
  for (const auto& row : rows) {
    for (const std::wstring& cell : row) text += Utf8(cell) + " | ";
    text += "\n";
  }
  return text;
}

class VolumeCost : public ::testing::Test {
 protected:
  void SetUp() override { featurewalk::RemoveFeatureTreeProduct(); }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"SETUP_TEST_SEAM_FREE_BYTES", nullptr);
    featurewalk::RemoveFeatureTreeProduct();
  }
};

TEST_F(VolumeCost, DiskUsageListsTheDrivesWithTheirSpaceAndTheInstallationsNeed) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  featurewalk::FeatureTreeBundle bundle(L"diskcost");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  WizardWalk walk(bundle.SetupExe(), bundle.Folder(), bundle.LogPath());
  ASSERT_TRUE(walk.Page(L"WelcomeDlg", {L"Next"}, featurewalk::kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"CustomizeDlg", {L"DiskCost"})) << walk.Trouble();
  testsupport::DialogWindow diskCost;
  ASSERT_TRUE(walk.Dialog(L"DiskCostDlg", diskCost)) << walk.Trouble();
  HWND list = WizardWalk::Control(diskCost.window, L"VolumeList");
  ASSERT_NE(list, nullptr) << walk.Describe();
  walk.Screenshot(L"diskcost");

  EXPECT_EQ(testsupport::ReadListViewColumns(list), kTitles);
  const std::vector<std::vector<std::wstring>> rows = testsupport::ReadListViewRows(list, 5);
  const std::vector<std::wstring> drives = FixedAndRemoteDrives();
  ASSERT_EQ(rows.size(), drives.size()) << DescribeRows(rows);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][0], drives[i]) << DescribeRows(rows);
    ULARGE_INTEGER free = {}, total = {}, totalFree = {};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(drives[i].c_str(), &free, &total, &totalFree));
    EXPECT_EQ(rows[i][1], ui::FormatSize(static_cast<long long>(total.QuadPart))) << DescribeRows(rows);
    // The products' megabytes (and the features' few bytes) on the drive of INSTALLDIR only.
    EXPECT_EQ(rows[i][3], drives[i] == L"C:\\" ? ui::FormatSize(kRequiredBytes) : L"0KB") << DescribeRows(rows);
    EXPECT_NE(rows[i][4].substr(0, 1), L"-") << DescribeRows(rows);
  }
  ASSERT_TRUE(walk.Click(diskCost.window, L"OK"));
  EXPECT_TRUE(testsupport::WaitUntilGone(diskCost.window, featurewalk::kStepTimeoutMs));
}

TEST_F(VolumeCost, TooLittleSpaceShowsOutOfDiskWithTheDriveMarkedAndInstallsNothing) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  featurewalk::FeatureTreeBundle bundle(L"outofdisk");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  // One kilobyte free on C: where the run needs two megabytes.
  ::SetEnvironmentVariableW(L"SETUP_TEST_SEAM_FREE_BYTES", L"C=1024");
  WizardWalk walk(bundle.SetupExe(), bundle.Folder(), bundle.LogPath());
  ::SetEnvironmentVariableW(L"SETUP_TEST_SEAM_FREE_BYTES", nullptr);
  ASSERT_TRUE(walk.Page(L"WelcomeDlg", {L"Next"}, featurewalk::kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"CustomizeDlg", {L"Next"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"VerifyReadyDlg", {L"Install"})) << walk.Trouble();
  testsupport::DialogWindow outOfDisk;
  ASSERT_TRUE(walk.Dialog(L"OutOfDiskDlg", outOfDisk)) << walk.Trouble();
  HWND list = WizardWalk::Control(outOfDisk.window, L"VolumeList");
  ASSERT_NE(list, nullptr) << walk.Describe();
  walk.Screenshot(L"outofdisk");

  const std::vector<std::vector<std::wstring>> rows = testsupport::ReadListViewRows(list, 5);
  int row = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i][0] == L"C:\\") row = static_cast<int>(i);
  }
  ASSERT_GE(row, 0) << DescribeRows(rows);
  const std::vector<std::wstring>& cells = rows[static_cast<size_t>(row)];
  EXPECT_EQ(cells[2], ui::FormatSize(1024));
  EXPECT_EQ(cells[3], ui::FormatSize(kRequiredBytes));
  EXPECT_EQ(cells[4], ui::FormatSize(1024 - kRequiredBytes));
  EXPECT_EQ(cells[4].substr(0, 1), L"-");
  // Scrolled into view and drawn in the mark colour.
  const int top = testsupport::ListViewTopIndex(list);
  const int perPage = static_cast<int>(::SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_TRUE(row >= top && row < top + perPage) << row << " " << top << " " << perPage;
  RECT rect = {};
  ASSERT_TRUE(testsupport::ListViewRowRect(list, row, rect));
  const int width = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  POINT at = {rect.left + width - 4, rect.top + 2};
  ::ClientToScreen(list, &at);
  RECT window = {};
  ::GetWindowRect(list, &window);
  EXPECT_EQ(testsupport::WindowPixel(list, at.x - window.left, at.y - window.top), RGB(255, 193, 207));

  ASSERT_TRUE(walk.Click(outOfDisk.window, L"OK"));
  ASSERT_TRUE(testsupport::WaitUntilGone(outOfDisk.window, featurewalk::kStepTimeoutMs));
  ASSERT_TRUE(walk.Page(L"VerifyReadyDlg", {L"Cancel"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"CancelDlg", {L"Yes"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"UserExit", {L"Finish"})) << walk.Trouble();
  EXPECT_FALSE(walk.Process().Wait(featurewalk::kStepTimeoutMs).timedOut);
  EXPECT_FALSE(featurewalk::IsFeatureTreeProductInstalled());
  EXPECT_EQ(bundle.MarkerText(), L"") << "a product ran";
  const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
  EXPECT_NE(log.find(L"Space is not available for the installation"), std::wstring::npos) << walk.Describe();
}

}  // namespace
