#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "config/ConfigTestSupport.h"
#include "config/SetupConfigData.h"
#include "features/WindowsInstallerUpdate.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"
#include "config/IWixLocalizationList.h"

namespace {

// A bundle folder holding the stand-in redistributable; its exit code and run
// time come from the environment it inherits.
class WindowsInstallerUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testsupport::MakeScratchFolder(L"msi31");
    ::CreateDirectoryW((folder_ + L"Redist").c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((testsupport::BinFolder() + L"exit_code_program.exe").c_str(),
                            (folder_ + L"Redist\\WindowsInstaller-KB893803-v2-x86.exe").c_str(), FALSE));
    record_.SetSetupFolder(folder_);
    record_.SetWindowsInstallerPath(L"Redist\\WindowsInstaller-KB893803-v2-x86.exe");
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"EXIT_CODE_PROGRAM_CODE", nullptr);
    ::SetEnvironmentVariableW(L"EXIT_CODE_PROGRAM_SLEEP_MS", nullptr);
    testsupport::RemoveFolder(folder_);
  }
  static void SetChild(DWORD exitCode, DWORD sleepMs) {
    ::SetEnvironmentVariableW(L"EXIT_CODE_PROGRAM_CODE", std::to_wstring(exitCode).c_str());
    ::SetEnvironmentVariableW(L"EXIT_CODE_PROGRAM_SLEEP_MS", std::to_wstring(sleepMs).c_str());
  }

  std::wstring folder_;
  CSetupConfigData record_;
};

struct ExitCodeCase {
  DWORD exitCode;
  int expected;
};

class WindowsInstallerUpdateExitCode : public WindowsInstallerUpdate,
                                       public ::testing::WithParamInterface<ExitCodeCase> {};

TEST_P(WindowsInstallerUpdateExitCode, OnlyInstallerErrorsFailAndTheLibraryComesBack) {
  SetChild(GetParam().exitCode, 0);
  modeltest::LogCapture log;
  EXPECT_EQ(InstallWindowsInstaller(record_), GetParam().expected);
  EXPECT_TRUE(IsMsiLibraryLoaded());
  const bool failed = GetParam().expected == 0;
  EXPECT_EQ(log.Count(L"ERROR:\t\tInstallWindowInstaller:Exit code is " + std::to_wstring(GetParam().exitCode)),
            failed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Codes, WindowsInstallerUpdateExitCode,
                         ::testing::Values(ExitCodeCase{0, 1}, ExitCodeCase{1600, 1}, ExitCodeCase{1601, 0},
                                           ExitCodeCase{1618, 0}, ExitCodeCase{1640, 0}, ExitCodeCase{1641, 1},
                                           ExitCodeCase{3010, 1}),
                         [](const ::testing::TestParamInfo<ExitCodeCase>& info) {
                           return "Exit" + std::to_string(info.param.exitCode);
                         });

bool IsProgramRunning(const std::wstring& exeName) {
  platform::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
    if (platform::EqualsNoCase(entry.szExeFile, exeName)) return true;
  }
  return false;
}

TEST_F(WindowsInstallerUpdate, ARedistributableThatRunsTooLongIsEndedAndCountsAsSuccess) {
  SetChild(0, 20000);
  // Still running when the wait ends: its exit code reads STILL_ACTIVE (259), not an installer error.
  EXPECT_EQ(InstallWindowsInstaller(record_, 300), 1);
  for (int i = 0; i < 100 && IsProgramRunning(L"WindowsInstaller-KB893803-v2-x86.exe"); ++i) ::Sleep(50);
  EXPECT_FALSE(IsProgramRunning(L"WindowsInstaller-KB893803-v2-x86.exe"));
  EXPECT_TRUE(IsMsiLibraryLoaded());
}

TEST_F(WindowsInstallerUpdate, AMissingProgramFailsWithItsWarning) {
  record_.SetWindowsInstallerPath(L"Redist\\missing.exe");
  modeltest::LogCapture log;
  EXPECT_EQ(InstallWindowsInstaller(record_), 0);
  EXPECT_EQ(log.Count(L"WARNING:\tCreateProcess to install windows installer 3.1 failed.Check the path of the EXE"), 1u);
  EXPECT_TRUE(IsMsiLibraryLoaded());
}

// Leaving msi.dll unloaded would make every later installer call of the run
// fail, so the library is loaded again here too.
TEST_F(WindowsInstallerUpdate, NoEntryGivesZeroWithItsWarningAndKeepsTheLibrary) {
  record_.SetWindowsInstallerPath(L"");
  modeltest::LogCapture log;
  EXPECT_EQ(InstallWindowsInstaller(record_), 0);
  EXPECT_EQ(log.Count(L"WARNING:\tWindowsInstaller entry is missing in SetupConfig.xml. Assuming no need to install "
                      L"Windows Installer 3.1 version"),
            1u);
  EXPECT_TRUE(IsMsiLibraryLoaded());
}

TEST(FileVersion, ReadsTheVersionResourceAndLeavesOutputsWithoutOne) {
  WORD major = 77, minor = 88;
  GetFileVersion(testsupport::BinFolder() + L"Setup.exe", major, minor);
  // Setup.rc gives the program FILEVERSION 1,0,0,0.
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 0);
  WORD untouchedMajor = 5, untouchedMinor = 6;
  GetFileVersion(testsupport::BinFolder() + L"exit_code_program.exe", untouchedMajor, untouchedMinor);
  GetFileVersion(L"C:\\does\\not\\exist.dll", untouchedMajor, untouchedMinor);
  EXPECT_EQ(untouchedMajor, 5);
  EXPECT_EQ(untouchedMinor, 6);
}

struct TitleCase {
  const char* name;
  int executionType;
  int groupKind;
  const wchar_t* runTitle;       // not finished
  const wchar_t* runTitleDone;   // finished
  const wchar_t* groupTitle;
};

class ProgressTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ProgressTitles, PickTheTextOfTheRunKind) {
  CSetupConfigData record;
  IWixLocalizationListForParser* texts = record.GetOrCreateWixLocalizationList();
  ASSERT_NE(texts, nullptr);
  for (const wchar_t* id :
       {L"InstalledComponents", L"InstallatingComponents", L"ChangedComponents", L"ChangingComponents",
        L"RepairedComponents", L"ReparingComponents", L"RemovedComponents", L"UnInstallatingComponents",
        L"RollbackedComponents", L"RollingbackComponents", L"ProgressDlgTitleTextRollback",
        L"ProgressDlgTitleTextUninstall", L"InitializerUninstallText", L"ProgressDlgTitleTextInstall",
        L"ProgressDlgTitleTextChange", L"ProgressDlgTitleTextRepair"}) {
    ASSERT_TRUE(texts->AddLocalization(id, std::wstring(L"text of ") + id));
  }
  record.SetExecutionType(GetParam().executionType);
  auto textOf = [](const wchar_t* id) { return id == nullptr ? std::wstring() : std::wstring(L"text of ") + id; };
  EXPECT_EQ(GetRunTitleText(record, false), textOf(GetParam().runTitle));
  EXPECT_EQ(GetRunTitleText(record, true), textOf(GetParam().runTitleDone));
  EXPECT_EQ(GetGroupProgressTitleText(record, GetParam().groupKind), textOf(GetParam().groupTitle));
  EXPECT_EQ(GetRollbackTitleText(record, false), textOf(L"RollingbackComponents"));
  EXPECT_EQ(GetRollbackTitleText(record, true), textOf(L"RollbackedComponents"));
  EXPECT_EQ(GetRollbackProgressTitleText(record), textOf(L"ProgressDlgTitleTextRollback"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ProgressTitles,
    ::testing::Values(
        TitleCase{"Install", 0, 5, L"InstallatingComponents", L"InstalledComponents", L"ProgressDlgTitleTextInstall"},
        TitleCase{"Patch", 5, 5, L"InstallatingComponents", L"InstalledComponents", nullptr},
        TitleCase{"MinorUpgrade", 7, 5, L"InstallatingComponents", L"InstalledComponents", nullptr},
        TitleCase{"Modify", 2, 5, L"ChangingComponents", L"ChangedComponents", L"ProgressDlgTitleTextChange"},
        TitleCase{"Repair", 3, 0, L"ReparingComponents", L"RepairedComponents", L"ProgressDlgTitleTextRepair"},
        TitleCase{"Remove", 4, 5, L"UnInstallatingComponents", L"RemovedComponents", L"ProgressDlgTitleTextUninstall"},
        TitleCase{"RemoveInitializerGroup", 4, 2, L"UnInstallatingComponents", L"RemovedComponents",
                  L"InitializerUninstallText"},
        TitleCase{"UninstallGroupInAnInstall", 0, 3, L"InstallatingComponents", L"InstalledComponents",
                  L"ProgressDlgTitleTextUninstall"},
        TitleCase{"Maintenance", 1, 5, nullptr, nullptr, nullptr},
        TitleCase{"NotSet", 8, 5, nullptr, nullptr, nullptr}),
    [](const ::testing::TestParamInfo<TitleCase>& info) { return std::string(info.param.name); });

}  // namespace
