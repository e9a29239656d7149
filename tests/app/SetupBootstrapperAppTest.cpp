#include <gtest/gtest.h>

#include <windows.h>

#include "app/SetupBootstrapperApp.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "support/TestPaths.h"

namespace {

// Restarting goes through the system's shutdown.exe, which the test prefix
// replaces with a recorder; a planted shutdown.exe sits beside this test
// program and in the current folder and must never run.
TEST(SetupBootstrapperAppShutdown, RestartRunsTheSystemShutdownNeverAPlantedOne) {
  std::wstring scratch = testsupport::MakeScratchFolder(L"restart");
  std::wstring record = scratch + L"shutdown-record.txt";
  ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", record.c_str());
  std::wstring plantedBeside = testsupport::BinFolder() + L"shutdown.exe";
  ASSERT_NE(::GetFileAttributesW(plantedBeside.c_str()), INVALID_FILE_ATTRIBUTES) << "planted program missing";
  ::DeleteFileW((plantedBeside + L".ran").c_str());
  std::wstring plantedInCwd = scratch + L"shutdown.exe";
  ASSERT_TRUE(::CopyFileW(plantedBeside.c_str(), plantedInCwd.c_str(), FALSE));
  wchar_t previousCwd[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previousCwd);
  ::SetCurrentDirectoryW(scratch.c_str());

  int exitCode = -1;
  {
    CSetupBootstrapperApp app;
    app.SetExitCode(0);
    app.SetRestartPending(1);
    exitCode = app.ExitInstance();
  }
  ::SetCurrentDirectoryW(previousCwd);
  EXPECT_EQ(exitCode, 0);

  std::string recorded;
  for (int i = 0; i < 200 && recorded.empty(); ++i) {
    ::Sleep(50);
    recorded = testsupport::ReadFileBytes(record);
  }
  ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", nullptr);
  EXPECT_NE(recorded.find("-r -t 0"), std::string::npos) << recorded;
  std::string systemProgram = platform::WideToUtf8(platform::ToLower(platform::SystemFilePath(L"shutdown.exe")));
  EXPECT_NE(platform::WideToUtf8(platform::ToLower(platform::Utf8ToWide(recorded))).find(systemProgram),
            std::string::npos)
      << recorded;
  EXPECT_EQ(::GetFileAttributesW((plantedBeside + L".ran").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesW((plantedInCwd + L".ran").c_str()), INVALID_FILE_ATTRIBUTES);
  testsupport::RemoveFolder(scratch);
}

TEST(SetupBootstrapperAppShutdown, NoRestartWithoutThePendingFlagAndTheExitCodeIsReturned) {
  std::wstring scratch = testsupport::MakeScratchFolder(L"norestart");
  std::wstring record = scratch + L"shutdown-record.txt";
  ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", record.c_str());
  int exitCode = -1;
  {
    CSetupBootstrapperApp app;
    app.SetExitCode(3);
    exitCode = app.ExitInstance();
  }
  ::Sleep(500);
  ::SetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", nullptr);
  EXPECT_EQ(exitCode, 3);
  EXPECT_EQ(::GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES);
  testsupport::RemoveFolder(scratch);
}

}  // namespace
