// Configuration values that once made the setup write where it does not own
// anything, run with the real Setup.exe: a log file name that is another
// file or a device, an installation folder that climbs out or names a
// device, and a main product the run kind cannot be told from. Whatever the
// value, nothing outside the bundle's own folders changes and the run ends
// with a message that names the problem.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SilentBundle.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace e2etest {
namespace {

const char kInstallDir[] = "<Property Id=\"INSTALLDIR\" Value=\"C:\\E2E Unsafe\\Studio\\\"/>";

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  return ::GetTempPathW(MAX_PATH + 1, temp) > 0 ? std::wstring(temp) : std::wstring();
}

// Every "Setup*.log" of the temporary folder, where a refused log goes.
std::wstring TemporaryLogsText() {
  std::wstring text;
  WIN32_FIND_DATAW found = {};
  platform::UniqueFindHandle find(::FindFirstFileW((TempFolder() + L"Setup*.log").c_str(), &found));
  if (!find) return text;
  do {
    text += testsupport::ReadUtf16File(TempFolder() + found.cFileName) + L"\n";
  } while (::FindNextFileW(find.Get(), &found));
  return text;
}

void DeleteTemporaryLogs() {
  WIN32_FIND_DATAW found = {};
  platform::UniqueFindHandle find(::FindFirstFileW((TempFolder() + L"Setup*.log").c_str(), &found));
  if (!find) return;
  do {
    ::DeleteFileW((TempFolder() + found.cFileName).c_str());
  } while (::FindNextFileW(find.Get(), &found));
}

struct LogNameCase {
  const char* name;
  const char* logName;     // the Name attribute; "{bundle}" is the bundle's folder
  const wchar_t* refused;  // the path the warning names; "{bundle}" as above
};
void PrintTo(const LogNameCase& c, std::ostream* os) { *os << c.name; }

class UnusableLogName : public ::testing::TestWithParam<LogNameCase> {};

// The log never goes into a file that is not a setup log, nor to a device:
// the bundle's own SetupConfig.xml stays as it was, so the bundle still starts.
TEST_P(UnusableLogName, LeavesTheFileAloneAndTheBundleStillRuns) {
  const LogNameCase& c = GetParam();
  DeleteTemporaryLogs();
  SilentBundleOptions options;
  options.logfileElement =
      std::string("<Logfile Name=\"") + c.logName + "\" Level=\"DEVELOPERINFO\" Mode=\"APPEND\" MaxLengthOfFile=\"10\"/>";
  SilentBundle bundle(L"unsafe-log-" + platform::Utf8ToWide(c.name), {SilentBundle::Studio()}, kInstallDir, options);
  const std::wstring configuration = bundle.Bundle().ConfigurationFolder() + L"SetupConfig.xml";
  const std::string before = testsupport::ReadFileBytes(configuration);
  ASSERT_FALSE(before.empty());

  SilentRun install = bundle.Run(L"/si");
  EXPECT_TRUE(install.messageBoxes.empty());
  const std::wstring logs = TemporaryLogsText();
  EXPECT_EQ(install.result.exitCode, 0u) << platform::WideToUtf8(logs);
  EXPECT_EQ(testsupport::ReadFileBytes(configuration), before);
  std::wstring refused = c.refused;
  platform::ReplaceAll(refused, L"{bundle}", bundle.Bundle().Folder());
  EXPECT_TRUE(Contains(logs, L"WARNING:\tThe log file " + refused + L" is not a setup log or not a usable file path"))
      << platform::WideToUtf8(logs);
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"Halvorsk Studio 4.2");

  // The bundle's configuration still reads: the removal runs as well.
  SilentRun removal = bundle.Run(L"/sx");
  EXPECT_EQ(removal.result.exitCode, 0u) << platform::WideToUtf8(TemporaryLogsText());
  EXPECT_EQ(testsupport::ReadFileBytes(configuration), before);
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"");
  DeleteTemporaryLogs();
}

INSTANTIATE_TEST_SUITE_P(
    Names, UnusableLogName,
    ::testing::Values(LogNameCase{"TheBundlesOwnConfiguration", "{bundle}SetupData\\Configuration\\SetupConfig.xml",
                                  L"{bundle}SetupData\\Configuration\\SetupConfig.xml"},
                      LogNameCase{"Nul", "NUL", L"NUL"}, LogNameCase{"Percents", "%%%", L"%%%"}),
    [](const ::testing::TestParamInfo<LogNameCase>& info) { return std::string(info.param.name); });

struct InstallDirCase {
  const char* name;
  const char* silentProperty;     // INSTALLDIR in SilentConfig.xml, or empty
  const wchar_t* commandLine;     // after /si
  const wchar_t* named;           // what the ERROR line quotes of the value
  const wchar_t* mustNotExist;    // where the files would have gone
};
void PrintTo(const InstallDirCase& c, std::ostream* os) { *os << c.name; }

class EscapingInstallDir : public ::testing::TestWithParam<InstallDirCase> {};

// One rule wherever INSTALLDIR comes from: an absolute local folder, else
// the run stops before any product with the install-directory error.
TEST_P(EscapingInstallDir, StopsBeforeAnyProduct) {
  const InstallDirCase& c = GetParam();
  const std::string property =
      *c.silentProperty != '\0' ? std::string("<Property Id=\"INSTALLDIR\" Value=\"") + c.silentProperty + "\"/>"
                                : std::string(kInstallDir);
  SilentBundle bundle(L"unsafe-dir-" + platform::Utf8ToWide(c.name), SilentBundle::DemoProducts(), property);
  SilentRun run = bundle.Run(std::wstring(L"/si") + c.commandLine);
  const std::wstring log = bundle.SetupLogText();
  EXPECT_EQ(run.result.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << platform::WideToUtf8(log);
  // Windows Installer ends the folder with a backslash (and may fold a device
  // path) before the check sees it.
  const size_t refused = log.find(L"ERROR:\t\tThe install directory \"");
  ASSERT_NE(refused, std::wstring::npos) << platform::WideToUtf8(log);
  const std::wstring line = log.substr(refused, log.find(L'\n', refused) - refused);
  EXPECT_TRUE(Contains(line, c.named)) << platform::WideToUtf8(line);
  EXPECT_TRUE(Contains(line, L"is not an absolute local folder.")) << platform::WideToUtf8(line);
  EXPECT_TRUE(Contains(log, L"ERROR:\t\tInstall directory is not configured correctly. Exiting the setup"));
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSamplesCode), L"");
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"");
  EXPECT_FALSE(ArpEntryExists());
  std::wstring outside = c.mustNotExist;
  platform::ReplaceAll(outside, L"{bundle}", bundle.Bundle().Folder());
  EXPECT_FALSE(FileExists(outside)) << platform::WideToUtf8(outside);
}

INSTANTIATE_TEST_SUITE_P(
    Values, EscapingInstallDir,
    ::testing::Values(
        InstallDirCase{"ClimbingInSilentConfig", "..\\..\\..\\windows", L"", L"..\\..\\..\\windows",
                       L"{bundle}..\\..\\..\\windows\\Studio.txt"},
        InstallDirCase{"DeviceInSilentConfig", "\\\\.\\PhysicalDrive0", L"", L"PhysicalDrive0",
                       L"C:\\windows\\Studio.txt"},
        InstallDirCase{"ClimbingOnTheCommandLine", "", L" INSTALLDIR=\"..\\..\\..\\windows\"", L"..\\..\\..\\windows",
                       L"{bundle}..\\..\\..\\windows\\Studio.txt"},
        InstallDirCase{"DeviceOnTheCommandLine", "", L" INSTALLDIR=\\\\.\\PhysicalDrive0", L"PhysicalDrive0",
                       L"C:\\windows\\Studio.txt"}),
    [](const ::testing::TestParamInfo<InstallDirCase>& info) { return std::string(info.param.name); });

struct MainProductCase {
  const char* name;
  const char* from;  // taken out of the main product's element
  const char* to;
  const wchar_t* logged;
};
void PrintTo(const MainProductCase& c, std::ostream* os) { *os << c.name; }

class IncompleteMainProduct : public ::testing::TestWithParam<MainProductCase> {};

// A main product the run kind cannot be decided from is named as what the
// configuration lacks, not reported as a mismatch with the option.
TEST_P(IncompleteMainProduct, SaysWhatTheConfigurationLacks) {
  const MainProductCase& c = GetParam();
  BundleProduct main = SilentBundle::Studio();
  const size_t at = main.xml.find(c.from);
  ASSERT_NE(at, std::string::npos);
  main.xml.replace(at, std::string(c.from).size(), c.to);
  SilentBundle bundle(L"unsafe-main-" + platform::Utf8ToWide(c.name), {main, SilentBundle::SmallA()}, kInstallDir);
  for (const wchar_t* option : {L"/si", L"/sx", L"/sf"}) {
    SilentRun run = bundle.Run(option);
    const std::wstring log = bundle.SetupLogText();
    EXPECT_EQ(run.result.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << platform::WideToUtf8(log);
    EXPECT_TRUE(Contains(log, c.logged)) << platform::WideToUtf8(log);
    EXPECT_FALSE(Contains(log, L"does not match")) << platform::WideToUtf8(log);
  }
  EXPECT_EQ(InstalledProductName(SilentBundle::kSmallACode), L"");
  EXPECT_FALSE(ArpEntryExists());
}

INSTANTIATE_TEST_SUITE_P(
    Lacks, IncompleteMainProduct,
    ::testing::Values(MainProductCase{"WixSource", " WixSource=\"true\"", "",
                                      L"ERROR:\t\tSetupConfig.xml names no main product with WixSource=\"true\""},
                      MainProductCase{"UninstallCommand",
                                      "UninstallCommand=\"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10} REBOOT=ReallySuppress\"",
                                      "", L"holds no product code in braces"}),
    [](const ::testing::TestParamInfo<MainProductCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2etest
