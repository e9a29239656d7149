#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/StringUtil.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"

namespace {

// The dump path of an application name, worked out independently of the handler.
std::wstring DumpPathFor(const std::wstring& name) {
  wchar_t folder[MAX_PATH] = {};
  EXPECT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)));
  return std::wstring(folder) + L"\\Halvorsk" + name + L".dmp";
}

struct Crash {
  testsupport::WindowInfo box;
  bool boxShown = false;
  bool ended = false;
  DWORD exitCode = 0;  // 100 + the filter's result
};

// Starts crasher.exe, answers its message box and waits for its end.
Crash RunCrasher(const std::wstring& arguments) {
  Crash crash;
  testsupport::RunningProcess process =
      testsupport::StartProcess(testsupport::Quote(testsupport::BinFolder() + L"crasher.exe") + L" " + arguments);
  EXPECT_TRUE(process.IsValid());
  if (!process.IsValid()) return crash;
  testsupport::WindowDriver driver(process.Id());
  crash.boxShown = driver.WaitForMessageBox(20000, crash.box);
  if (crash.boxShown) {
    EXPECT_TRUE(testsupport::WindowDriver::PressButton(crash.box, IDOK));
  }
  testsupport::ProcessResult result = process.Wait(20000);
  crash.ended = !result.timedOut;
  crash.exitCode = result.exitCode;
  return crash;
}

class CrashHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = L"CrashTest" + std::to_wstring(::GetCurrentProcessId());
    dump_ = DumpPathFor(name_);
    ::DeleteFileW(dump_.c_str());
  }
  void TearDown() override {
    ::DeleteFileW(dump_.c_str());
  }

  std::wstring name_;
  std::wstring dump_;
};

// An older dump of the same name is replaced.
TEST_F(CrashHandlerTest, CrashWritesTheDumpAndTellsTheUserWhere) {
  ASSERT_TRUE(testsupport::WriteFileBytes(dump_, "stale dump of an earlier crash"));

  Crash crash = RunCrasher(name_);
  ASSERT_TRUE(crash.boxShown);
  EXPECT_TRUE(crash.ended);
  EXPECT_EQ(crash.exitCode, 100u + EXCEPTION_EXECUTE_HANDLER);
  EXPECT_EQ(crash.box.title, name_);
  EXPECT_EQ(crash.box.StaticText(),
            L"The Setup is crashed. A dump file is created by the application for crash reference. The dump can be "
            L"found at '" +
                dump_ + L"'");
  std::string bytes = testsupport::ReadFileBytes(dump_);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), "MDMP");
  EXPECT_GT(bytes.size(), 1000u);
}

TEST_F(CrashHandlerTest, AnExceptionNobodyCatchesWritesTheDumpToo) {
  Crash crash = RunCrasher(name_ + L" /throw");
  ASSERT_TRUE(crash.boxShown);
  EXPECT_TRUE(crash.ended);
  EXPECT_EQ(crash.exitCode, 100u + EXCEPTION_EXECUTE_HANDLER);
  EXPECT_NE(crash.box.StaticText().find(dump_), std::wstring::npos) << platform::WideToUtf8(crash.box.StaticText());
  EXPECT_EQ(testsupport::ReadFileBytes(dump_).substr(0, 4), "MDMP");
}

TEST_F(CrashHandlerTest, WithoutTheDebugHelpFunctionNoDumpIsWritten) {
  // version.dll is a system library without MiniDumpWriteDump.
  Crash crash = RunCrasher(name_ + L" version.dll");
  ASSERT_TRUE(crash.boxShown);
  EXPECT_TRUE(crash.ended);
  EXPECT_EQ(crash.exitCode, 100u + EXCEPTION_CONTINUE_SEARCH);
  EXPECT_EQ(crash.box.title, name_);
  EXPECT_EQ(crash.box.StaticText(), L"Unable to load the DBGHELP.DLL. Failed to save dump file");
  EXPECT_EQ(::GetFileAttributesW(dump_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CrashHandlerTest, WithoutANameTheApplicationIsCalledApplication) {
  std::wstring dump = DumpPathFor(L"Application");
  ::DeleteFileW(dump.c_str());
  Crash crash = RunCrasher(L"");
  ASSERT_TRUE(crash.boxShown);
  EXPECT_EQ(crash.box.title, L"Application");
  EXPECT_NE(crash.box.StaticText().find(dump), std::wstring::npos) << crash.box.StaticText();
  EXPECT_EQ(testsupport::ReadFileBytes(dump).substr(0, 4), "MDMP");
  ::DeleteFileW(dump.c_str());
}

}  // namespace
