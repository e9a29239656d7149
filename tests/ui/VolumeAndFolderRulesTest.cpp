// The rules behind the folder and disk-space controls: which drives a
// control lists, what the volume list counts per drive (the same way the
// installation's disk check does), the free-space test seam, the browse
// dialog's path-length limit and the messages of refused folders.

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "platform/DriveSpace.h"
#include "platform/StringUtil.h"
#include "ui/controls/DriveFilter.h"
#include "ui/controls/PathEdit_BT.h"
#include "ui/controls/VolumeCostRows.h"
#include "ui/dialogs/BrowseDialog.h"
#include "wix/WixControl.h"

namespace {

// C fixed, D CD-ROM, E removable, F network, G fixed; the rest absent.
UINT FakeDriveType(const std::wstring& root) {
  switch (root[0]) {
    case L'C':
    case L'G':
      return DRIVE_FIXED;
    case L'D':
      return DRIVE_CDROM;
    case L'E':
      return DRIVE_REMOVABLE;
    case L'F':
      return DRIVE_REMOTE;
    default:
      return DRIVE_NO_ROOT_DIR;
  }
}

struct DriveCase {
  const char* name;
  int attributes;
  const wchar_t* installDir;
  std::vector<std::wstring> expected;
};
void PrintTo(const DriveCase& c, std::ostream* os) { *os << c.name; }

class ShownDriveList : public ::testing::TestWithParam<DriveCase> {};

TEST_P(ShownDriveList, FollowsTheVolumeAttributesAndKeepsTheInstallDrive) {
  CWixControl control(L"VolumeList", kWixVolumeCostList);
  control.SetAttributes(wixbits::kVisible | GetParam().attributes);
  EXPECT_EQ(ui::ShownDrives(&control, GetParam().installDir, FakeDriveType), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShownDriveList,
    ::testing::Values(
        DriveCase{"FixedOnly", wixbits::kFixedVolume, L"", {L"C:\\", L"G:\\"}},
        DriveCase{"FixedAndRemote", wixbits::kFixedVolume | wixbits::kRemoteVolume, L"", {L"C:\\", L"F:\\", L"G:\\"}},
        DriveCase{"RemoteOnlyWithInstallDirOnC", wixbits::kRemoteVolume, L"C:\\Program Files\\App\\",
                  {L"C:\\", L"F:\\"}},
        DriveCase{"NetworkDriveOnlyForItsInstallDir", wixbits::kFixedVolume, L"f:\\Shared\\",
                  {L"C:\\", L"F:\\", L"G:\\"}},
        DriveCase{"RemovableAndCdRom", wixbits::kRemovableVolume | wixbits::kCDROMVolume, L"", {L"D:\\", L"E:\\"}},
        DriveCase{"NoAttributesMeansFixed", 0, L"", {L"C:\\", L"G:\\"}},
        DriveCase{"AbsentInstallDriveIsNotListed", wixbits::kFixedVolume, L"Q:\\App\\", {L"C:\\", L"G:\\"}}),
    [](const ::testing::TestParamInfo<DriveCase>& info) { return std::string(info.param.name); });

constexpr long long kMB = 1048576;

struct VolumeCase {
  const char* name;
  long long productMegabytes;
  std::map<std::wstring, long long> featureCosts;
  long long freeOnC;
  long long requiredOnC;
  int insufficient;
};
void PrintTo(const VolumeCase& c, std::ostream* os) { *os << c.name; }

class VolumeRowCount : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeRowCount, CountsProductsInMegabytesAndFeaturesOnTheInstallDrive) {
  const VolumeCase& param = GetParam();
  auto space = [&param](const std::wstring& root, ULONGLONG& total, ULONGLONG& free) {
    if (root[0] == L'G') return false;  // a drive whose space cannot be read is left out
    total = 100 * kMB;
    free = static_cast<ULONGLONG>(root[0] == L'C' ? param.freeOnC : 50 * kMB);
    return true;
  };
  const ui::VolumeRows rows = ui::ComputeVolumeRows({L"C:\\", L"F:\\", L"G:\\"}, L"C:\\App\\", param.productMegabytes,
                                                    param.featureCosts, space, FakeDriveType);
  ASSERT_EQ(rows.rows.size(), 2u);
  EXPECT_EQ(rows.rows[0].root, L"C:\\");
  EXPECT_EQ(rows.rows[0].size, 100 * kMB);
  EXPECT_EQ(rows.rows[0].available, param.freeOnC);
  EXPECT_EQ(rows.rows[0].required, param.requiredOnC);
  EXPECT_EQ(rows.rows[0].Difference(), param.freeOnC - param.requiredOnC);
  EXPECT_FALSE(rows.rows[0].remote);
  // Only the drive of INSTALLDIR carries the requirement.
  EXPECT_EQ(rows.rows[1].required, 0);
  EXPECT_TRUE(rows.rows[1].remote);
  EXPECT_EQ(rows.insufficient, param.insufficient);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VolumeRowCount,
    ::testing::Values(VolumeCase{"PlentyOfSpace", 3, {{L"C", 4096}, {L"D", 9999}}, 50 * kMB, 3 * kMB + 4096, -1},
                      VolumeCase{"FreeEqualsRequiredIsEnough", 2, {{L"c", 512}}, 2 * kMB + 512, 2 * kMB + 512, -1},
                      VolumeCase{"OneByteShort", 2, {{L"C", 512}}, 2 * kMB + 511, 2 * kMB + 512, 0},
                      VolumeCase{"NothingFree", 1, {}, 0, kMB, 0}),
    [](const ::testing::TestParamInfo<VolumeCase>& info) { return std::string(info.param.name); });

struct SeamCase {
  const char* name;
  const wchar_t* value;  // null: the variable is not set
  wchar_t drive;
  bool found;
  ULONGLONG bytes;
};
void PrintTo(const SeamCase& c, std::ostream* os) { *os << c.name; }

class FreeSpaceSeam : public ::testing::TestWithParam<SeamCase> {
 protected:
  void TearDown() override { ::SetEnvironmentVariableW(L"SETUP_TEST_SEAM_FREE_BYTES", nullptr); }
};

TEST_P(FreeSpaceSeam, ReadsOnlyWellFormedEntriesForTheDrive) {
  ::SetEnvironmentVariableW(L"SETUP_TEST_SEAM_FREE_BYTES", GetParam().value);
  ULONGLONG bytes = 7;
  EXPECT_EQ(platform::TestSeamFreeBytes(GetParam().drive, bytes), GetParam().found);
  EXPECT_EQ(bytes, GetParam().found ? GetParam().bytes : 7u);
}

INSTANTIATE_TEST_SUITE_P(Cases, FreeSpaceSeam,
                         ::testing::Values(SeamCase{"NotSet", nullptr, L'C', false, 0},
                                           SeamCase{"OneDrive", L"C=1048576", L'C', true, 1048576},
                                           SeamCase{"LowerCaseAsked", L"C=5", L'c', true, 5},
                                           SeamCase{"SecondEntry", L"D=1;C=22", L'C', true, 22},
                                           SeamCase{"OtherDriveOnly", L"D=1", L'C', false, 0},
                                           SeamCase{"NotANumber", L"C=12x", L'C', false, 0}),
                         [](const ::testing::TestParamInfo<SeamCase>& info) { return std::string(info.param.name); });

TEST(FreeSpaceSeamOnARealDrive, ReplacesOnlyTheFreeSpace) {
  ULONGLONG total = 0;
  ULONGLONG free = 0;
  ASSERT_TRUE(platform::QueryDriveSpace(L"C:\\", total, free));
  EXPECT_GT(total, 0u);
  ::SetEnvironmentVariableW(L"SETUP_TEST_SEAM_FREE_BYTES", L"C=1234");
  ULONGLONG seamTotal = 0;
  ASSERT_TRUE(platform::QueryDriveSpace(L"C:\\", seamTotal, free));
  ::SetEnvironmentVariableW(L"SETUP_TEST_SEAM_FREE_BYTES", nullptr);
  EXPECT_EQ(free, 1234u);
  EXPECT_EQ(seamTotal, total);
  EXPECT_FALSE(platform::QueryDriveSpace(L"Q:\\", total, free));
}

struct LimitCase {
  const char* name;
  int configured;
  int effective;
};
void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class PathLimit : public ::testing::TestWithParam<LimitCase> {};

// 0 configures no limit of the bundle's own; Windows' folder limit still holds.
TEST_P(PathLimit, ZeroMeansNoLimitOfTheBundlesOwn) {
  EXPECT_EQ(ui::CBrowseDialog::EffectivePathLimit(GetParam().configured), GetParam().effective);
}

INSTANTIATE_TEST_SUITE_P(Cases, PathLimit,
                         ::testing::Values(LimitCase{"Zero", 0, 248}, LimitCase{"Negative", -5, 248},
                                           LimitCase{"Configured", 30, 30}, LimitCase{"AboveWindows", 400, 248}),
                         [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

TEST(RefusedFolderMessages, BuiltInSentencesStandInForMissingTexts) {
  const std::wstring length = ui::CBrowseDialog::PathLengthMessage(nullptr, 30);
  EXPECT_NE(length.find(L"30"), std::wstring::npos);
  EXPECT_EQ(length.find(L"KV_ErrorPathLength"), std::wstring::npos);
  EXPECT_EQ(length.find(L"[PathLength]"), std::wstring::npos);
  EXPECT_EQ(ui::CPathEdit_BT::MessageText(nullptr, L"Error1324", L"C:\\a*b"),
            L"The folder path 'C:\\a*b' contains an invalid character.");
  EXPECT_EQ(ui::CPathEdit_BT::MessageText(nullptr, L"Error1327", L"a:\\x"), L"Invalid Drive: a:\\x");
  EXPECT_EQ(ui::CPathEdit_BT::MessageText(nullptr, L"Error1314", L"\\\\server\\share"),
            L"The specified path '\\\\server\\share' is unavailable.");
}

}  // namespace
