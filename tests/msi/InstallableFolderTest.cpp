// The folder check the setup makes for the WiX sets when a package lacks the
// WiX UI extension's WixUIValidatePath.

#include <gtest/gtest.h>

#include <string>

#include "msi/MSIManager.h"

namespace {

struct FolderCase {
  const char* name;
  const wchar_t* folder;
  bool installable;
};
void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

class InstallableFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(InstallableFolder, OnlyAnAbsoluteFolderOnALocalFixedDrive) {
  EXPECT_EQ(CMSIManager::IsInstallableFolder(GetParam().folder), GetParam().installable);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, InstallableFolder,
    ::testing::Values(FolderCase{"ProgramFiles", L"C:\\Program Files\\Acme\\", true},
                      FolderCase{"DriveRoot", L"C:\\", true}, FolderCase{"WithBlanks", L"C:\\with blank\\x", true},
                      FolderCase{"Empty", L"", false}, FolderCase{"DriveOnly", L"C:", false},
                      FolderCase{"Relative", L"Acme\\Files", false}, FolderCase{"Wildcard", L"C:\\a*b", false},
                      FolderCase{"Pipe", L"C:\\a|b", false}, FolderCase{"SecondColon", L"C:\\a:b", false},
                      FolderCase{"Share", L"\\\\server\\share\\Acme", false},
                      FolderCase{"Device", L"\\\\.\\PhysicalDrive0", false},
                      // Wine's prefix has no drive B:, as most machines have none.
                      FolderCase{"UnknownDrive", L"B:\\Acme", false}),
    [](const ::testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.name); });

}  // namespace
