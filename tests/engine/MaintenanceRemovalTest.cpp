// Removal of the maintenance copy: the batch text, folders it refuses, and
// the batch really run by the system's cmd.exe on a scratch tree, with the
// restart going to the prefix's shutdown recorder.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "config/ConfigTestSupport.h"
#include "engine/CommonUtility.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "registry/RegistryUtil.h"
#include "support/TestPaths.h"

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring RemovalBatchPath() {
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, temp);
  std::wstring folder = temp;
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder + L"\\_BootstrapperTORV.bat";
}

TEST(MaintenanceRemovalText, ParentLinesRestartLineAndSelfDeletion) {
  const std::wstring shutdown = platform::SystemFilePath(L"shutdown.exe");
  EXPECT_EQ(CCommonUtility::BuildRemovalBatchText(L"C:\\P\\Q\\R\\Setup.exe", L"1252", true, L"C:\\T\\x.bat"),
            L"cd\\\r\n"
            L"chcp 1252\r\n"
            L":Repeat1\r\n"
            L"del /F \"C:\\P\\Q\\R\\Setup.exe\" \r\n"
            L"if exist \"C:\\P\\Q\\R\\Setup.exe\" goto Repeat1\r\n"
            L":Repeat2\r\n"
            L"rmdir /S /Q \"C:\\P\\Q\\R\"\r\n"
            L"if exist \"C:\\P\\Q\\R\" goto Repeat2\r\n"
            L"rmdir \"C:\\P\\Q\"\r\n"
            L"rmdir \"C:\\P\"\r\n"
            L"\"" + shutdown + L"\" -r -f -t 0\r\n"
            L":Repeat3\r\n"
            L"del /F \"C:\\T\\x.bat\"\r\n");
}

TEST(MaintenanceRemovalText, NoCodePageNoRestartAndPercentSigns) {
  EXPECT_EQ(CCommonUtility::BuildRemovalBatchText(L"D:\\A%B\\Setup.exe", L"", false, L"C:\\T%\\x.bat"),
            L"cd\\\r\n"
            L"\r\n"
            L":Repeat1\r\n"
            L"del /F \"D:\\A%%B\\Setup.exe\" \r\n"
            L"if exist \"D:\\A%%B\\Setup.exe\" goto Repeat1\r\n"
            L":Repeat2\r\n"
            L"rmdir /S /Q \"D:\\A%%B\"\r\n"
            L"if exist \"D:\\A%%B\" goto Repeat2\r\n"
            L":Repeat3\r\n"
            L"del /F \"C:\\T%%\\x.bat\"\r\n");
}

struct RefusedPathCase {
  const char* name;
  const wchar_t* path;
};
void PrintTo(const RefusedPathCase& c, std::ostream* os) { *os << c.name; }

class MaintenanceRemovalRefused : public ::testing::TestWithParam<RefusedPathCase> {};

// rmdir /S on any of these would wipe a drive, a share or the current folder.
TEST_P(MaintenanceRemovalRefused, FolderIsNotRemovable) {
  EXPECT_EQ(CCommonUtility::BuildRemovalBatchText(GetParam().path, L"", true, L"C:\\T\\x.bat"), L"");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MaintenanceRemovalRefused,
    ::testing::Values(RefusedPathCase{"DriveRoot", L"C:\\Setup.exe"}, RefusedPathCase{"CurrentFolder", L"Setup.exe"},
                      RefusedPathCase{"RelativeFolder", L"Sub\\Setup.exe"},
                      RefusedPathCase{"DriveRelative", L"C:Setup.exe"},
                      RefusedPathCase{"ShareRoot", L"\\\\server\\share\\Setup.exe"},
                      RefusedPathCase{"ServerOnly", L"\\\\server\\Setup.exe"},
                      RefusedPathCase{"RootOfCurrentDrive", L"\\Setup.exe"}, RefusedPathCase{"Empty", L""}),
    [](const ::testing::TestParamInfo<RefusedPathCase>& info) { return std::string(info.param.name); });

struct MaintenancePathCase {
  const char* name;
  const wchar_t* installedLocation;
  const wchar_t* maintenanceExePath;
  const wchar_t* expected;  // empty: refused
};
void PrintTo(const MaintenancePathCase& c, std::ostream* os) { *os << c.name; }

class MaintenanceExeInside : public ::testing::TestWithParam<MaintenancePathCase> {};

TEST_P(MaintenanceExeInside, OnlyACopyInAFolderInsideTheInstalledLocation) {
  modeltest::LogCapture log;
  const MaintenancePathCase& c = GetParam();
  EXPECT_EQ(CCommonUtility::MaintenanceExeInside(c.installedLocation, c.maintenanceExePath), c.expected);
  EXPECT_EQ(log.Count(L"ERROR:\t\tThe maintenance copy "), std::wstring(c.expected).empty() ? size_t{1} : size_t{0});
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MaintenanceExeInside,
    ::testing::Values(
        MaintenancePathCase{"Plain", L"C:\\Apps\\Studio\\", L"Setup\\Setup.exe", L"C:\\Apps\\Studio\\Setup\\Setup.exe"},
        MaintenancePathCase{"WithoutTrailingBackslash", L"C:\\Apps\\Studio", L"Setup\\Bin\\Setup.exe",
                            L"C:\\Apps\\Studio\\Setup\\Bin\\Setup.exe"},
        MaintenancePathCase{"OnAShare", L"\\\\server\\share\\Studio\\", L"Setup\\Setup.exe",
                            L"\\\\server\\share\\Studio\\Setup\\Setup.exe"},
        MaintenancePathCase{"ClimbsOut", L"C:\\Apps\\Studio\\", L"..\\..\\..\\KeepData\\keep.txt", L""},
        MaintenancePathCase{"ClimbsBackIn", L"C:\\Apps\\Studio\\", L"Setup\\..\\Setup\\Setup.exe", L""},
        MaintenancePathCase{"ForwardSlashes", L"C:\\Apps\\Studio\\", L"Setup/../../Setup.exe", L""},
        MaintenancePathCase{"InTheInstalledLocationItself", L"C:\\Apps\\Studio\\", L"Setup.exe", L""},
        MaintenancePathCase{"Absolute", L"C:\\Apps\\Studio\\", L"D:\\Other\\Setup.exe", L""},
        MaintenancePathCase{"RootedOnTheDrive", L"C:\\Apps\\Studio\\", L"\\Windows\\Setup.exe", L""},
        MaintenancePathCase{"Device", L"C:\\Apps\\Studio\\", L"\\\\.\\PhysicalDrive0\\x", L""},
        MaintenancePathCase{"Empty", L"C:\\Apps\\Studio\\", L"", L""},
        MaintenancePathCase{"RelativeInstalledLocation", L"Apps\\Studio\\", L"Setup\\Setup.exe", L""},
        MaintenancePathCase{"DeviceInstalledLocation", L"\\\\?\\C:\\Apps\\", L"Setup\\Setup.exe", L""}),
    [](const ::testing::TestParamInfo<MaintenancePathCase>& info) { return std::string(info.param.name); });

class MaintenanceRemovalRun : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = testsupport::MakeScratchFolder(L"Removal" + std::to_wstring(++serial));
    record_ = folder_ + L"shutdown-record.txt";
    ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", record_.c_str());
    log_ = std::make_unique<modeltest::LogCapture>();
  }
  void TearDown() override {
    log_.reset();
    ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", nullptr);
    testsupport::RemoveFolder(folder_);
  }

  // area\keep.txt stays; area\Outer\Inner\App 50%\ holds the maintenance copy.
  std::wstring MakeTree() {
    const std::wstring area = folder_ + L"Area\\";
    app_ = area + L"Outer\\Inner\\App 50%\\";
    for (const std::wstring& dir : {area, area + L"Outer\\", area + L"Outer\\Inner\\", app_, app_ + L"data\\",
                                    app_ + L"data\\deeper\\"}) {
      ::CreateDirectoryW(dir.c_str(), nullptr);
    }
    EXPECT_TRUE(testsupport::WriteFileBytes(area + L"keep.txt", "keep"));
    EXPECT_TRUE(testsupport::WriteFileBytes(app_ + L"data\\deeper\\file.txt", "x"));
    EXPECT_TRUE(::CopyFileW((testsupport::BinFolder() + L"planted_program.exe").c_str(), (app_ + L"Setup.exe").c_str(),
                            FALSE));
    return area;
  }

  // The batch ends by deleting itself; wait for that.
  static bool WaitForBatchEnd() {
    for (int i = 0; i < 400; ++i) {
      if (!Exists(RemovalBatchPath())) return true;
      ::Sleep(50);
    }
    return false;
  }

  std::wstring folder_;
  std::wstring record_;
  std::wstring app_;
  std::unique_ptr<modeltest::LogCapture> log_;
};

TEST_F(MaintenanceRemovalRun, RemovesTheFolderAndEmptyParentsWithoutRestart) {
  const std::wstring area = MakeTree();
  ASSERT_TRUE(CCommonUtility::RemoveMaintenanceExeFolder(app_ + L"Setup.exe", L"", false));
  ASSERT_TRUE(WaitForBatchEnd());
  EXPECT_FALSE(Exists(app_));
  EXPECT_FALSE(Exists(area + L"Outer\\Inner"));
  EXPECT_FALSE(Exists(area + L"Outer")) << "an ancestor left empty goes too";
  EXPECT_TRUE(Exists(area + L"keep.txt")) << "an ancestor with other content stays";
  ::Sleep(300);
  EXPECT_FALSE(Exists(record_)) << "no restart was asked for";
}

// The restart line runs the system's shutdown.exe, which in the test prefix
// is the recorder; it is checked first so nothing can restart the prefix.
TEST_F(MaintenanceRemovalRun, RestartLineRunsTheSystemShutdown) {
  const std::wstring system = platform::SystemFilePath(L"shutdown.exe");
  const std::string recorder = testsupport::ReadFileBytes(testsupport::BinFolder() + L"shutdown_recorder.exe");
  ASSERT_FALSE(recorder.empty());
  ASSERT_EQ(testsupport::ReadFileBytes(system), recorder) << "the shutdown recorder is not installed in this prefix";
  platform::UniqueHKey overrides;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, KEY_READ, overrides.Put()),
            ERROR_SUCCESS);
  std::wstring mode;
  ASSERT_TRUE(registry::ReadStringValue(overrides.Get(), L"shutdown.exe", mode));
  ASSERT_EQ(mode, L"native") << "Wine would run its built-in shutdown.exe";

  const std::wstring area = MakeTree();
  ASSERT_TRUE(CCommonUtility::RemoveMaintenanceExeFolder(app_ + L"Setup.exe", std::to_wstring(::GetACP()), true));
  ASSERT_TRUE(WaitForBatchEnd());
  EXPECT_FALSE(Exists(app_));
  EXPECT_TRUE(Exists(area + L"keep.txt"));
  std::string recorded;
  for (int i = 0; i < 200 && recorded.empty(); ++i) {
    recorded = testsupport::ReadFileBytes(record_);
    if (recorded.empty()) ::Sleep(50);
  }
  std::wstring line = platform::ToLower(platform::Utf8ToWide(recorded));
  EXPECT_NE(line.find(platform::ToLower(system)), std::wstring::npos) << recorded;
  EXPECT_NE(line.find(L"-r -f -t 0"), std::wstring::npos) << recorded;
}

TEST_F(MaintenanceRemovalRun, MissingExecutableIsOnlyLogged) {
  const std::wstring missing = folder_ + L"Nowhere\\Setup.exe";
  EXPECT_FALSE(CCommonUtility::RemoveMaintenanceExeFolder(missing, L"", true));
  EXPECT_EQ(log_->Count(L"WARNING:\tCCommonUtility::RemoveMaintenanceExeFolder() - Could not find the file path " +
                        missing + L" ."),
            1u);
  EXPECT_FALSE(Exists(RemovalBatchPath()));
}

// An executable in a drive's top folder exists, but its folder is the drive.
TEST_F(MaintenanceRemovalRun, ExecutableInTheDriveTopFolderIsRefused) {
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring top = std::wstring(windows, 3) + platform::Format(L"bs_top_%lu.exe", ::GetCurrentProcessId());
  ASSERT_TRUE(testsupport::WriteFileBytes(top, "x"));
  EXPECT_FALSE(CCommonUtility::RemoveMaintenanceExeFolder(top, L"", false));
  EXPECT_TRUE(Exists(top));
  EXPECT_FALSE(Exists(RemovalBatchPath()));
  EXPECT_EQ(log_->Count(L"is not a folder that can be removed."), 1u);
  ::DeleteFileW(top.c_str());
}

}  // namespace
