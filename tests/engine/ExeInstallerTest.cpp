// The EXE product installer against real child processes (exe_product.exe).

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include "ExecutorFixture.h"
#include "config/IProductAttributes.h"
#include "engine/ExeInstaller.h"
#include "engine/ProductExitCodes.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace enginetest {
namespace {

struct CommandLineCase {
  const wchar_t* label;
  const wchar_t* location;
  const wchar_t* commandLine;
  const wchar_t* expected;
};

void PrintTo(const CommandLineCase& c, std::ostream* out) { *out << platform::WideToUtf8(c.label); }

class ProcessCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ProcessCommandLineTest, JoinsQuotedLocationAndCommandLine) {
  const CommandLineCase& c = GetParam();
  EXPECT_EQ(CExeInstaller::BuildProcessCommandLine(c.location, c.commandLine), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProcessCommandLineTest,
    ::testing::Values(
        CommandLineCase{L"EmptyLocationRunsCommandAsGiven", L"", L"  cmd.exe /c exit 3 ", L"cmd.exe /c exit 3"},
        CommandLineCase{L"LocationWithBlankIsQuoted", L"C:\\Program Files\\A\\a.exe", L"/q",
                        L"\"C:\\Program Files\\A\\a.exe\" /q"},
        CommandLineCase{L"NoArguments", L"C:\\A\\a.exe", L"", L"\"C:\\A\\a.exe\""}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return std::string(info.param.label, info.param.label + wcslen(info.param.label)); });

struct FailureCodeCase {
  const char* label;
  const wchar_t* rule;
  DWORD code;
  DWORD expected;
};

void PrintTo(const FailureCodeCase& c, std::ostream* out) { *out << c.label; }

class FailureExitCodeTest : public ::testing::TestWithParam<FailureCodeCase> {};

TEST_P(FailureExitCodeTest, TurnsListedCodesIntoSuccess) {
  const FailureCodeCase& c = GetParam();
  EXPECT_EQ(CExeInstaller::ApplyFailureExitCodes(c.rule, c.code), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FailureExitCodeTest,
                         ::testing::Values(FailureCodeCase{"SecondEntryMatches", L"<>1,<>2", 2, 0},
                                           FailureCodeCase{"NoEntryMatches", L"<>1,<>2", 3, 3},
                                           FailureCodeCase{"LabelledEntry", L"Already done<>5", 5, 0},
                                           FailureCodeCase{"BlanksAroundEntry", L" <>7 , <>8", 8, 0},
                                           FailureCodeCase{"EntryWithoutMarkerIgnored", L"7", 7, 7},
                                           FailureCodeCase{"EmptyRule", L"", 2, 2}),
                         [](const ::testing::TestParamInfo<FailureCodeCase>& info) { return info.param.label; });

// Counts running processes whose executable is `name`.
int RunningProcesses(const wchar_t* name) {
  platform::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return -1;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
    if (_wcsicmp(entry.szExeFile, name) == 0) ++count;
  }
  return count;
}

class ExeInstallerTest : public ExecutorTest {
 protected:
  // Loads one group holding `productXml` and runs its product through a fresh installer.
  DWORD RunOne(const std::string& productXml, const std::wstring& name) {
    EXPECT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\">" + productXml + "</ProductGroup>"));
    IProductAttributes* product = FindProduct(name);
    EXPECT_NE(product, nullptr);
    if (product == nullptr) return 0xFFFFFFFF;
    CExeInstaller installer(*record_, &dispatcher_);
    return installer.Execute(*product, product->GetInstallCommand());
  }
};

TEST_F(ExeInstallerTest, ReturnsTheChildsExitCodeAndLogsTheStatusBlock) {
  EXPECT_EQ(RunOne(ExeProduct(1, "Seven", "/exit:7"), L"Seven"), 7u);
  ASSERT_EQ(RunNames(), std::vector<std::wstring>{L"Seven"});
  std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"Configured Time out: -1"), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"Process Exit Code  : 7"), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"Error Code         : 7"), std::wstring::npos);
  EXPECT_NE(log.find(L"SetupCommand       : \"" + ExeProductPath() + L"\" /marker:"), std::wstring::npos);
  EXPECT_NE(log.find(L"WARNING:\tFailed to install the product"), std::wstring::npos);
  // Simulated progress ran for the product and was stopped.
  EXPECT_FALSE(dispatcher_.Log().Starting(L"StartProgressManager").empty());
  EXPECT_FALSE(dispatcher_.Log().Starting(L"StopProgressManager").empty());
  EXPECT_EQ(dispatcher_.Mapper().GetBar().position, 100);
  // The worker only reports: every call but the simulated progress came on this thread.
  EXPECT_EQ(dispatcher_.Log().OffThreadCalls(), std::vector<std::wstring>{});
}

TEST_F(ExeInstallerTest, ResolvesPropertyReferencesAndPlaceholdersInTheArguments) {
  ASSERT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\">" +
                         ExeProduct(1, "Echo", "/brand:[SelectedBrand] /dir:[INSTALLDIR] /keep:[UNKNOWN]") +
                         "</ProductGroup>"));
  record_->SetBrand(L"Express");
  record_->SetInstallProperties(L"MYINSTALLDIR=\"wrong\" INSTALLDIR=\"C:\\Target\" EMPTY=\"\"");
  CExeInstaller installer(*record_, &dispatcher_);
  IProductAttributes* product = FindProduct(L"Echo");
  ASSERT_NE(product, nullptr);
  EXPECT_EQ(installer.Execute(*product, product->GetInstallCommand()), 0u);
  std::vector<std::wstring> lines = MarkerLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"/brand:Express /dir:C:\\Target /keep:[UNKNOWN]"), std::wstring::npos) << lines[0];
}

TEST_F(ExeInstallerTest, HiddenPropertyReachesTheChildButNeverTheLog) {
  const std::wstring secret = L"TopSecret42";
  dispatcher_.MsiManager().AddHiddenProperty(L"SECRETPROP");
  dispatcher_.MsiManager().CacheProperty(L"SECRETPROP", secret);
  ASSERT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\">" +
                         ExeProduct(1, "Secret", "/pass:[SECRETPROP] /exit:3") + "</ProductGroup>"));
  record_->SetInstallProperties(L"SECRETPROP=\"" + secret + L"\"");
  CExeInstaller installer(*record_, &dispatcher_);
  IProductAttributes* product = FindProduct(L"Secret");
  ASSERT_NE(product, nullptr);
  EXPECT_EQ(installer.Execute(*product, product->GetInstallCommand()), 3u);
  std::vector<std::wstring> lines = MarkerLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"/pass:" + secret), std::wstring::npos) << lines[0];
  // The log captures every level, DEBUG included.
  const std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"/pass:*****"), std::wstring::npos) << Utf8(log);
  EXPECT_EQ(log.find(secret), std::wstring::npos) << Utf8(log);
}

TEST_F(ExeInstallerTest, TimeOutTerminatesTheChildAndReturns258) {
  ULONGLONG start = ::GetTickCount64();
  EXPECT_EQ(RunOne(ExeProduct(1, "Slow", "/sleep:10000", "TimeOut=\"2\""), L"Slow"), kExitTimedOut);
  ULONGLONG elapsed = ::GetTickCount64() - start;
  EXPECT_LT(elapsed, 8000u);
  EXPECT_EQ(RunningProcesses(L"exe_product.exe"), 0);
  std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"Failed to install the product. Timed out"), std::wstring::npos);
  EXPECT_NE(log.find(L"Going to terminate the process"), std::wstring::npos);
  EXPECT_NE(log.find(L"Configured Time out: 2000"), std::wstring::npos);
  EXPECT_NE(log.find(L"Error Code         : 258"), std::wstring::npos);
}

TEST_F(ExeInstallerTest, FailureExitCodeListTurnsTwoIntoSuccessAndKeepsThree) {
  EXPECT_EQ(RunOne(ExeProduct(1, "Two", "/exit:2", "FailureExitCode=\"&lt;&gt;1,&lt;&gt;2\""), L"Two"), 0u);
  std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"Process Exit Code  : 2 "), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"Error Code         : 0 "), std::wstring::npos);
}

TEST_F(ExeInstallerTest, FailureExitCodeListLeavesUnlistedCodes) {
  EXPECT_EQ(RunOne(ExeProduct(1, "Three", "/exit:3", "FailureExitCode=\"&lt;&gt;1,&lt;&gt;2\""), L"Three"), 3u);
}

TEST_F(ExeInstallerTest, WarningAndInformationalCodesAreDescribedAsSuch) {
  EXPECT_EQ(RunOne(ExeProduct(1, "Warn", "/exit:3010", "WarningExitCode=\"Restart&lt;&gt;3010\""), L"Warn"), 3010u);
  EXPECT_EQ(RunOne(ExeProduct(1, "Info", "/exit:1638", "InformationalExitCode=\"Present&lt;&gt;1638\""), L"Info"),
            1638u);
  std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"Error Desc         :  There were warnings while installing Warn"), std::wstring::npos);
  EXPECT_NE(log.find(L"Error Desc         :  There are information while installing Info"), std::wstring::npos);
}

// Unquoted, "<scratch>\Sub Dir\tool.exe" would start "<scratch>\Sub.exe".
TEST_F(ExeInstallerTest, LocationWithABlankNeverStartsAPlantedProgram) {
  std::wstring subFolder = folder_ + L"Sub Dir\\";
  ASSERT_TRUE(::CreateDirectoryW(subFolder.c_str(), nullptr));
  ASSERT_TRUE(::CopyFileW(ExeProductPath().c_str(), (subFolder + L"tool.exe").c_str(), FALSE));
  std::wstring planted = folder_ + L"Sub.exe";
  ASSERT_TRUE(::CopyFileW((testsupport::BinFolder() + L"planted_program.exe").c_str(), planted.c_str(), FALSE));
  std::string product = "<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"Blank\" Location=\"" +
                        Utf8(subFolder) + "tool.exe\" InstallCommand=\"/marker:" + Utf8(marker_) + " /name:Blank\"/>";
  EXPECT_EQ(RunOne(product, L"Blank"), 0u);
  EXPECT_EQ(::GetFileAttributesW((planted + L".ran").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"Blank"});
}

TEST_F(ExeInstallerTest, RelativeLocationIsTakenFromTheSourceFolder) {
  ASSERT_TRUE(::CopyFileW(ExeProductPath().c_str(), (folder_ + L"rel.exe").c_str(), FALSE));
  std::string product = "<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"Rel\" Location=\"rel.exe\" "
                        "InstallCommand=\"/marker:" + Utf8(marker_) + " /name:Rel /exit:4\"/>";
  EXPECT_EQ(RunOne(product, L"Rel"), 4u);
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"Rel"});
}

TEST_F(ExeInstallerTest, ProgramThatCannotStartGives87WithItsStatusBlock) {
  std::string product = "<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"Missing\" Location=\"" + Utf8(folder_) +
                        "absent.exe\" InstallCommand=\"/x\"/>";
  EXPECT_EQ(RunOne(product, L"Missing"), kExitNotStarted);
  std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"CreateProcess failed.Check the path of the EXE"), std::wstring::npos);
  EXPECT_NE(log.find(L"ThreadProcedureToInstall - wait failed. "), std::wstring::npos);
  EXPECT_NE(log.find(L"Error Code         : 87"), std::wstring::npos);
  EXPECT_EQ(dispatcher_.Mapper().GetBar().position, 100);  // progress stopped all the same
}

TEST_F(ExeInstallerTest, ProductWithoutLocationOrCommandGives87) {
  EXPECT_EQ(RunOne("<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"Nothing\"/>", L"Nothing"), kExitNotStarted);
  EXPECT_NE(log_->Text().find(L"Error Code         : 87"), std::wstring::npos);
}

TEST_F(ExeInstallerTest, CrashingChildReturnsItsExceptionCode) {
  DWORD code = RunOne(ExeProduct(1, "Crash", "/crash", "TimeOut=\"20\""), L"Crash");
  EXPECT_EQ(code, 0xC0000005u);
  EXPECT_NE(log_->Text().find(L"Process Exit Code  : -1073741819"), std::wstring::npos);
}

TEST_F(ExeInstallerTest, ProgressThatCannotStartGives6WithoutRunningTheChild) {
  dispatcher_.Mapper().failProgressStart = true;
  EXPECT_EQ(RunOne(ExeProduct(1, "NoBar", ""), L"NoBar"), kExitProgressThreadFailed);
  EXPECT_TRUE(RunNames().empty());
  EXPECT_NE(log_->Text().find(L"Unable to create progress manager thread."), std::wstring::npos);
}

TEST_F(ExeInstallerTest, RegistryProductRunsLikeAnExe) {
  std::string product = "<Product Sequence=\"1\" Type=\"Registry\" ProductName=\"Reg\" Location=\"" +
                        Utf8(ExeProductPath()) + "\" InstallCommand=\"/marker:" + Utf8(marker_) + " /name:Reg\"/>";
  EXPECT_EQ(RunOne(product, L"Reg"), 0u);
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"Reg"});
}

}  // namespace
}  // namespace enginetest
