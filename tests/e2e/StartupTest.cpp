// Start-up and shutdown of the real Setup.exe, seen from outside: console
// output, message boxes, exit codes and the log file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLineParser.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"

using testsupport::BundleFixture;
using testsupport::ProcessResult;
using testsupport::Quote;
using testsupport::RunningProcess;
using testsupport::WindowDriver;
using testsupport::WindowInfo;

namespace {

constexpr DWORD kTimeoutMs = 60000;

const std::string& UsageBytes() {
  static const std::string bytes(CCommandLineParser::kUsageText, CCommandLineParser::kUsageBytes);
  return bytes;
}

struct UsageCase {
  const char* name;
  const wchar_t* arguments;
};

class StartupUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(StartupUsage, IsWrittenToTheParentConsoleByteForByte) {
  BundleFixture bundle(L"usage");
  std::wstring command = Quote(platform::SystemFilePath(L"cmd.exe")) + L" /c \"" + Quote(bundle.SetupExe()) + L" " +
                         GetParam().arguments + L"\"";
  ProcessResult result = testsupport::RunAndCapture(command, kTimeoutMs, bundle.Folder());
  ASSERT_TRUE(result.started);
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(result.output, UsageBytes());
}

INSTANTIATE_TEST_SUITE_P(Cases, StartupUsage,
                         ::testing::Values(UsageCase{"Question", L"/?"}, UsageCase{"Help", L"-help"},
                                           UsageCase{"UnknownOption", L"/bogus"},
                                           UsageCase{"PlainTokenWithoutEquals", L"/si foo"}),
                         [](const ::testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

// What a bundle without SetupConfig.xml shows: the reader's error (errors go
// to message boxes until the log file is open), then the abort message.
std::vector<std::wstring> MissingConfigurationBoxes(const BundleFixture& bundle) {
  return {L"ERROR:\t\tCParser::LoadXmlFile() - Could not find the file path " + bundle.ConfigurationFolder() +
              L"SetupConfig.xml .",
          L"Parsing of SetupConfig.xml file failed. The application will be aborted."};
}

// Answers every message box of `process` until it ends; returns the texts.
std::vector<std::wstring> AnswerUntilExit(RunningProcess& process, ProcessResult& result,
                                          const std::wstring& title = L"Setup") {
  std::vector<std::wstring> texts;
  for (const WindowInfo& box : WindowDriver(process.Id()).AnswerMessageBoxesUntilExit(process.Handle(), kTimeoutMs)) {
    EXPECT_EQ(box.title, title);
    texts.push_back(box.StaticText());
  }
  result = process.Wait(kTimeoutMs);
  return texts;
}

// Starts a run that stays alive on its first message box (no SetupConfig.xml).
RunningProcess StartAndWaitForFirstBox(const BundleFixture& bundle, const std::wstring& arguments) {
  RunningProcess process = testsupport::StartProcess(Quote(bundle.SetupExe()) + arguments);
  WindowInfo box;
  EXPECT_TRUE(process.IsValid());
  EXPECT_TRUE(WindowDriver(process.Id()).WaitForMessageBox(kTimeoutMs, box));
  return process;
}

struct SecondInstanceCase {
  const char* name;
  const wchar_t* secondArguments;
  const wchar_t* expectedText;
};

class StartupSecondInstance : public ::testing::TestWithParam<SecondInstanceCase> {};

TEST_P(StartupSecondInstance, IsRefusedInItsLanguageAndBothEndWithZero) {
  BundleFixture bundle(L"instance");
  RunningProcess first = StartAndWaitForFirstBox(bundle, L"");

  RunningProcess second = testsupport::StartProcess(Quote(bundle.SetupExe()) + GetParam().secondArguments);
  ASSERT_TRUE(second.IsValid());
  ProcessResult secondResult;
  EXPECT_EQ(AnswerUntilExit(second, secondResult), std::vector<std::wstring>{GetParam().expectedText});
  EXPECT_FALSE(secondResult.timedOut);
  EXPECT_EQ(secondResult.exitCode, 0u);

  ProcessResult firstResult;
  EXPECT_EQ(AnswerUntilExit(first, firstResult), MissingConfigurationBoxes(bundle));
  EXPECT_FALSE(firstResult.timedOut);
  EXPECT_EQ(firstResult.exitCode, 0u);
  // The texts are read from a temporary copy of the embedded resource, which is gone afterwards.
  for (DWORD id : {first.Id(), second.Id()}) {
    std::wstring copy = platform::GetEnvironmentValue(L"TEMP") + L"\\BootstrapperLocalization_" + std::to_wstring(id) + L".xml";
    EXPECT_EQ(::GetFileAttributesW(copy.c_str()), INVALID_FILE_ATTRIBUTES) << platform::WideToUtf8(copy);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupSecondInstance,
    ::testing::Values(
        SecondInstanceCase{"English", L"",
                           L"Another instance of this application is already running. Please close all other "
                           L"instances of it and retry."},
        SecondInstanceCase{"GermanFromCommandLine", L" /L 1031",
                           L"Eine andere Instanz dieser Anwendung wird bereits ausgeführt. Schließen Sie alle "
                           L"anderen Instanzen, und versuchen Sie es erneut."},
        // Dutch has no texts of its own: English instead.
        SecondInstanceCase{"DutchFallsBackToEnglish", L" /L 1043",
                           L"Another instance of this application is already running. Please close all other "
                           L"instances of it and retry."}),
    [](const ::testing::TestParamInfo<SecondInstanceCase>& info) { return std::string(info.param.name); });

TEST(StartupInstance, WithNoMutexBothRun) {
  BundleFixture bundle(L"nomutex");
  RunningProcess first = StartAndWaitForFirstBox(bundle, L" /NOMUTEX");

  RunningProcess second = testsupport::StartProcess(Quote(bundle.SetupExe()) + L" /nomutex");
  ASSERT_TRUE(second.IsValid());
  // The second run gets as far as the first: to the missing configuration.
  ProcessResult secondResult;
  EXPECT_EQ(AnswerUntilExit(second, secondResult), MissingConfigurationBoxes(bundle));
  EXPECT_EQ(secondResult.exitCode, 0u);
  ProcessResult firstResult;
  EXPECT_EQ(AnswerUntilExit(first, firstResult), MissingConfigurationBoxes(bundle));
  EXPECT_EQ(firstResult.exitCode, 0u);
}

TEST(StartupLog, ARunWritesItsLogFileWithBannersAndCommandLine) {
  BundleFixture bundle(L"startlog");
  std::wstring logPath = bundle.Folder() + L"logs\\deep\\Setup.log";
  ASSERT_TRUE(bundle.WriteConfigurationFile(L"SetupConfig.xml", testsupport::MinimalSetupConfig(logPath)));
  bundle.WriteMinimalLookFiles();
  RunningProcess process = testsupport::StartProcess(Quote(bundle.SetupExe()) + L" /NOMUTEX A=1");
  ProcessResult result = process.Wait(kTimeoutMs);
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0u);

  std::string bytes = testsupport::ReadFileBytes(logPath);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
  std::wstring log = testsupport::ReadUtf16File(logPath);
  EXPECT_EQ(log.find(L"===== logging started: "), 0u);
  EXPECT_NE(log.find(L"INFORMATION:\tThe Setup Started..."), std::wstring::npos);
  // The machine's details come first in the log of a run that is not resumed.
  const size_t details = log.find(L"System Details...");
  EXPECT_NE(details, std::wstring::npos);
  EXPECT_LT(details, log.find(L"Command Line Parameters are"));
  EXPECT_NE(log.find(L"Architecture   : 64-bit"), std::wstring::npos);
  EXPECT_NE(log.find(L"INFORMATION:\tMode of Execution : UI Mode."), std::wstring::npos);
  EXPECT_NE(log.find(L"INFORMATION:\tCommand Line Parameters are : /NOMUTEX A=1"), std::wstring::npos);
  EXPECT_NE(log.find(L"===== logging stopped: "), std::wstring::npos);
}

struct SilentReadingCase {
  const char* name;
  const char* silentConfig;  // nullptr: no SilentConfig.xml in the bundle
  const wchar_t* expectedLine;
  bool logCreated;
  // The silent indicator's finish window that a bundle without products ends
  // with (titled "Product Setup": there is no product name); nullptr: none.
  const wchar_t* finishWindowTitle = nullptr;
};

class StartupSilentReading : public ::testing::TestWithParam<SilentReadingCase> {};

TEST_P(StartupSilentReading, ReadsSilentConfigBeforeOpeningTheLog) {
  BundleFixture bundle(L"silentread");
  std::wstring logPath = bundle.Folder() + L"Setup.log";
  ASSERT_TRUE(bundle.WriteConfigurationFile(L"SetupConfig.xml", testsupport::MinimalSetupConfig(logPath)));
  bundle.WriteMinimalLookFiles();
  if (GetParam().silentConfig != nullptr) {
    ASSERT_TRUE(bundle.WriteConfigurationFile(L"SilentConfig.xml", GetParam().silentConfig));
  }
  RunningProcess process = testsupport::StartProcess(Quote(bundle.SetupExe()) + L" /si /NOMUTEX");
  ProcessResult result;
  const wchar_t* finish = GetParam().finishWindowTitle;
  std::vector<std::wstring> boxes = AnswerUntilExit(process, result, finish != nullptr ? finish : L"Setup");
  ASSERT_FALSE(result.timedOut);
  // The bundle names no main product (and one case cannot be read at all): a
  // silent run that stops on an error tells its deployment tool so.
  EXPECT_EQ(result.exitCode, static_cast<DWORD>(ERROR_INSTALL_FAILURE));
  std::wstring log = testsupport::ReadUtf16File(logPath);
  if (!GetParam().logCreated) {
    EXPECT_EQ(::GetFileAttributesW(logPath.c_str()), INVALID_FILE_ATTRIBUTES);
    return;
  }
  EXPECT_EQ(boxes.size(), finish != nullptr ? 1u : 0u);
  EXPECT_NE(log.find(L"INFORMATION:\tThe Setup Started......"), std::wstring::npos);
  EXPECT_NE(log.find(GetParam().expectedLine), std::wstring::npos) << platform::WideToUtf8(log);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupSilentReading,
    ::testing::Values(
        SilentReadingCase{"NoSilentConfig", nullptr, L"INFORMATION:\tMode of Execution : Simply Silent Mode.", true},
        SilentReadingCase{"IndicatorOn",
                          "<SilentConfig><GeneralSettings><ShowIndicator Value=\"true\"/></GeneralSettings>"
                          "</SilentConfig>",
                          L"INFORMATION:\tMode of Execution : Silent Indicator Mode.", true, L"Product Setup"},
        SilentReadingCase{"IndicatorOff",
                          "<SilentConfig><GeneralSettings><ShowIndicator Value=\"false\"/></GeneralSettings>"
                          "</SilentConfig>",
                          L"INFORMATION:\tMode of Execution : Simply Silent Mode.", true},
        // A broken SilentConfig.xml ends the run before the log is opened.
        SilentReadingCase{"Malformed", "<SilentConfig><GeneralSettings></SilentConfig>", nullptr, false}),
    [](const ::testing::TestParamInfo<SilentReadingCase>& info) { return std::string(info.param.name); });

TEST(StartupLog, AnUncreatableLogFolderShowsTheComposedMessageAndEndsWithZero) {
  BundleFixture bundle(L"badlog");
  // A file where the log folder should be: the folder cannot be created.
  ASSERT_TRUE(bundle.WriteFile(L"blocker", "not a folder"));
  std::wstring logPath = bundle.Folder() + L"blocker\\Setup.log";
  ASSERT_TRUE(bundle.WriteConfigurationFile(L"SetupConfig.xml", testsupport::MinimalSetupConfig(logPath)));
  bundle.WriteMinimalLookFiles();
  RunningProcess process = testsupport::StartProcess(Quote(bundle.SetupExe()) + L" /NOMUTEX");
  ProcessResult result;
  std::vector<std::wstring> texts = AnswerUntilExit(process, result);
  ASSERT_EQ(texts.size(), 1u);
  const std::wstring& text = texts[0];
  EXPECT_EQ(text.find(L"Unable to create the log file: \n"), 0u) << platform::WideToUtf8(text);
  EXPECT_NE(text.find(L"\nVerify the log file settings."), std::wstring::npos) << platform::WideToUtf8(text);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(::GetFileAttributesW(logPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(StartupChecks, AFolderTooDeepForTheBundleIsRefused) {
  BundleFixture bundle(L"deep");
  // Put the bundle 200+ characters deep: 256 - 60 = 196 characters allowed.
  std::wstring deep = bundle.Folder();
  while (deep.size() < 200) {
    deep += L"abcdefghijklmnopqrstuvwxyz\\";
    ::CreateDirectoryW(deep.c_str(), nullptr);
  }
  std::wstring setup = deep + L"Setup.exe";
  ASSERT_TRUE(::CopyFileW(bundle.SetupExe().c_str(), setup.c_str(), FALSE));
  std::wstring config = deep + L"SetupData\\";
  ::CreateDirectoryW(config.c_str(), nullptr);
  config += L"Configuration\\";
  ::CreateDirectoryW(config.c_str(), nullptr);
  std::wstring logPath = bundle.Folder() + L"deep.log";
  ASSERT_TRUE(testsupport::WriteFileBytes(
      config + L"SetupConfig.xml",
      testsupport::MinimalSetupConfig(logPath, "    <SourcePathMaxLength Value=\"60\"/>\n")));
  ASSERT_TRUE(testsupport::WriteFileBytes(config + L"StyleConfig.xml", testsupport::MinimalStyleConfig()));
  ASSERT_TRUE(testsupport::WriteFileBytes(config + L"ConfigForMainDialog.xml", testsupport::MinimalMainDialogConfig()));

  RunningProcess process = testsupport::StartProcess(Quote(setup) + L" /NOMUTEX");
  ProcessResult result;
  EXPECT_EQ(AnswerUntilExit(process, result),
            std::vector<std::wstring>{L"Cannot run Setup. The directory path is too deep. Copy the complete Setup "
                                      L"files to a shorter path and try again."});
  EXPECT_EQ(result.exitCode, 0u);
  std::wstring log = testsupport::ReadUtf16File(logPath);
  EXPECT_NE(log.find(L"ERROR:\t\tCannot run Setup. The directory path is too deep."), std::wstring::npos);
}

}  // namespace
