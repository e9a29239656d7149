#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ui/controls/PathValidation.h"
#include "ui/controls/SizeText.h"

namespace {

struct SizeCase {
  const char* name;
  long long bytes;
  const wchar_t* whole;
  const wchar_t* decimal;
};

class SizeTextTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeTextTest, FormatsWithTheUnitChosenBySize) {
  EXPECT_EQ(ui::FormatSize(GetParam().bytes), GetParam().whole);
  EXPECT_EQ(ui::FormatSizeDecimal(GetParam().bytes), GetParam().decimal);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizeTextTest,
    ::testing::Values(SizeCase{"ExactlyOneMegabyteStaysKilobytes", 1048576, L"1024KB", L"1024.00KB"},
                      SizeCase{"AboveOneMegabyte", 1048577, L"1MB", L"1.00MB"},
                      SizeCase{"AboveOneGigabyte", (1LL << 30) + 1, L"1GB", L"1.00GB"},
                      SizeCase{"OneAndAHalfMegabytes", 1572864, L"1MB", L"1.50MB"},
                      SizeCase{"Zero", 0, L"0KB", L"0.00KB"},
                      SizeCase{"NegativeKeepsItsSign", -1572864, L"-1MB", L"-1.50MB"}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

struct PathCase {
  const char* name;
  const wchar_t* path;
  bool relaxed;
  bool valid;
  const wchar_t* message;
};

class ValidatePathTest : public ::testing::TestWithParam<PathCase> {};

// Drive C fixed, D a CD-ROM, every other letter unknown.
UINT FakeDriveType(const std::wstring& root) {
  static const std::map<std::wstring, UINT> kDrives = {{L"C:\\", DRIVE_FIXED}, {L"D:\\", DRIVE_CDROM}};
  auto found = kDrives.find(root);
  return found == kDrives.end() ? DRIVE_NO_ROOT_DIR : found->second;
}

TEST_P(ValidatePathTest, ChecksThePath) {
  const ui::PathCheck check = ui::ValidatePath(GetParam().path, GetParam().relaxed, FakeDriveType);
  EXPECT_EQ(check.valid, GetParam().valid);
  EXPECT_EQ(check.messageId, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ValidatePathTest,
    ::testing::Values(PathCase{"DriveLetterIsItsRoot", L"C:", false, true, L""},
                      PathCase{"DriveAIsRefused", L"a:\\x", false, false, L"Error1327"},
                      PathCase{"AsteriskIsRefused", L"C:\\a*b", false, false, L"Error1324"},
                      PathCase{"BlankIsAccepted", L"C:\\with blank", false, true, L""},
                      PathCase{"NetworkPathIsRefused", L"\\\\server\\share", false, false, L"Error1314"},
                      PathCase{"NetworkPathRelaxed", L"\\\\server\\share", true, true, L""},
                      PathCase{"CdRomIsRefused", L"D:\\app", false, false, L"Error1327"},
                      PathCase{"CdRomRelaxed", L"D:\\app", true, true, L""},
                      PathCase{"UnknownDriveIsRefused", L"Q:\\app", false, false, L"Error1327"},
                      PathCase{"NoRootIsRefused", L"C:app", false, false, L"Error1314"},
                      PathCase{"EmptyIsValid", L"", false, true, L""}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

TEST(ValidatePathSystem, AsksTheRootFolderOfARealDrive) {
  EXPECT_TRUE(ui::ValidatePath(L"C:", false).valid);
  EXPECT_EQ(ui::ValidatePath(L"C:", false).path, L"C:\\");
}

TEST(FolderName, RefusesTheNineCharacters) {
  EXPECT_TRUE(ui::IsValidFolderName(L"New Folder"));
  for (const wchar_t* bad : {L"a|b", L"a\\b", L"a/b", L"a:b", L"a*b", L"a?b", L"a\"b", L"a<b", L"a>b", L"", L".."}) {
    EXPECT_FALSE(ui::IsValidFolderName(bad)) << std::string(bad, bad + wcslen(bad));
  }
}

}  // namespace
