#include <gtest/gtest.h>

#include "platform/Path.h"
#include "platform/Process.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"

namespace {

// exit_code_program.exe sleeps and exits as its environment says; the
// environment is inherited, so set it for the child and put it back.
platform::ProcessOptions Hidden() {
  platform::ProcessOptions options;
  options.creationFlags = CREATE_NO_WINDOW;
  return options;
}

class ExitCodeEnvironment {
 public:
  ExitCodeEnvironment(DWORD code, DWORD sleepMs) {
    ::SetEnvironmentVariableW(L"EXIT_CODE_PROGRAM_CODE", std::to_wstring(code).c_str());
    ::SetEnvironmentVariableW(L"EXIT_CODE_PROGRAM_SLEEP_MS", std::to_wstring(sleepMs).c_str());
  }
  ~ExitCodeEnvironment() {
    ::SetEnvironmentVariableW(L"EXIT_CODE_PROGRAM_CODE", nullptr);
    ::SetEnvironmentVariableW(L"EXIT_CODE_PROGRAM_SLEEP_MS", nullptr);
  }
  ExitCodeEnvironment(const ExitCodeEnvironment&) = delete;
  ExitCodeEnvironment& operator=(const ExitCodeEnvironment&) = delete;
};

TEST(Process, QuotesTheProgramPathAndAppendsTheArguments) {
  EXPECT_EQ(platform::QuotedCommandLine(L"C:\\Program Files\\a.exe", L"/q x"), L"\"C:\\Program Files\\a.exe\" /q x");
  EXPECT_EQ(platform::QuotedCommandLine(L"C:\\a.exe", L""), L"\"C:\\a.exe\"");
}

TEST(Process, StartsByFullPathAndReportsTheExitCode) {
  const struct {
    const char* name;
    DWORD code;
  } cases[] = {{"Zero", 0}, {"Failure", 1603}, {"RestartRequired", 3010}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExitCodeEnvironment environment(c.code, 0);
    platform::UniqueHandle process =
        platform::StartProgram(testsupport::BinFolder() + L"exit_code_program.exe", L"", Hidden());
    ASSERT_TRUE(process);
    DWORD exitCode = 0xFFFF;
    EXPECT_EQ(platform::WaitForExit(process.Get(), 30000, exitCode), WAIT_OBJECT_0);
    EXPECT_EQ(exitCode, c.code);
  }
}

TEST(Process, ABlankInThePathStartsThatProgramWithItsArguments) {
  // A folder with a blank, holding a program whose first word is also a file:
  // without quoting, Windows would try "...\with" first.
  const std::wstring folder = testsupport::MakeScratchFolder(L"with blank");
  const std::string program = testsupport::ReadFileBytes(testsupport::BinFolder() + L"planted_program.exe");
  ASSERT_FALSE(program.empty());
  ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"the program.exe", program));
  platform::ProcessOptions options;
  options.creationFlags = CREATE_NO_WINDOW;
  options.workingFolder = folder;
  platform::UniqueHandle process = platform::StartProgram(folder + L"the program.exe", L"/first \"two words\"", options);
  ASSERT_TRUE(process);
  DWORD exitCode = 1;
  ASSERT_EQ(platform::WaitForExit(process.Get(), 30000, exitCode), WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 0u);
  const std::string marker = testsupport::ReadFileBytes(folder + L"the program.exe.ran");
  const std::wstring line(reinterpret_cast<const wchar_t*>(marker.data()), marker.size() / sizeof(wchar_t));
  EXPECT_EQ(line, L"\"" + folder + L"the program.exe\" /first \"two words\"\n");
  testsupport::RemoveFolder(folder);
}

TEST(Process, AWholeCommandLineStartsItsFirstToken) {
  ExitCodeEnvironment environment(42, 0);
  platform::UniqueHandle process = platform::StartCommandLine(
      platform::QuotedCommandLine(testsupport::BinFolder() + L"exit_code_program.exe", L"ignored"), Hidden());
  ASSERT_TRUE(process);
  DWORD exitCode = 0;
  EXPECT_EQ(platform::WaitForExit(process.Get(), 30000, exitCode), WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 42u);
}

TEST(Process, TimeOutAndFailuresAreReported) {
  // Ends on its own shortly after the first wait gave up, so no console
  // program is ever killed here (Wine's console host may then hold the test's
  // output pipe open).
  ExitCodeEnvironment environment(5, 600);
  platform::UniqueHandle process =
      platform::StartProgram(testsupport::BinFolder() + L"exit_code_program.exe", L"", Hidden());
  ASSERT_TRUE(process);
  DWORD exitCode = 77;
  EXPECT_EQ(platform::WaitForExit(process.Get(), 50, exitCode), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(exitCode, 77u);
  EXPECT_EQ(platform::WaitForExit(process.Get(), 30000, exitCode), WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 5u);

  EXPECT_FALSE(platform::StartProgram(L"C:\\does\\not\\exist.exe", L""));
  const DWORD error = ::GetLastError();
  EXPECT_TRUE(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) << error;
  EXPECT_FALSE(platform::StartProgram(L"", L"x"));
  EXPECT_FALSE(platform::StartCommandLine(L""));
}

}  // namespace
