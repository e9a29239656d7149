#include <gtest/gtest.h>

#include <windows.h>

#include "FeatureTestFixture.h"
#include "engine/CommonUtility.h"
#include "features/PreInstallChecks.h"
#include "registry/RegistryUtil.h"

namespace featuretest {
namespace {

// The test executable itself is a process that is certainly running.
const char kProcessChecks[] =
    "<PreCondition>"
    "<Process List=\"NotRunningAnywhere.exe;UNIT_TESTS.EXE\" Condition=\"CHECK_ONE\"/>"
    "<Process List=\"AlsoNotRunning.exe;\" Condition=\"\"/>"
    "<Process List=\"unit_tests.exe\" Condition=\"NEVER\"/>"
    "</PreCondition>";

using PreInstallChecksTest = FeatureTest;

TEST_F(PreInstallChecksTest, RunningProcessesAreFoundByNameWithoutRegardToCase) {
  EXPECT_EQ(CPreInstallChecks::GetRunningProcesses(L" nothing-here.exe ;; UNIT_TESTS.exe ;other.exe"),
            L"UNIT_TESTS.exe\n");
  EXPECT_EQ(CPreInstallChecks::GetRunningProcesses(L"nothing-here.exe;"), L"");
  EXPECT_EQ(CPreInstallChecks::GetRunningProcesses(L""), L"");
}

TEST_F(PreInstallChecksTest, ProcessCheckCollectsTheApplicableListsAndPublishesTheRunningOnes) {
  configtest::SetupConfigSections sections;
  sections.preCondition = kProcessChecks;
  ASSERT_TRUE(Parse(sections));
  msi_.conditions[L"CHECK_ONE"] = true;
  modeltest::LogCapture log;

  EXPECT_TRUE(CPreInstallChecks::IsCheckProcessDlgToBeShown(*record_, &msi_, L""));

  EXPECT_EQ(record_->GetRunningProcessesText(), L"NotRunningAnywhere.exe;UNIT_TESTS.EXE;AlsoNotRunning.exe;");
  EXPECT_EQ(msi_.properties[L"RUNNING_PROCESSES"], L"UNIT_TESTS.EXE\n");
  const std::wstring text = log.Text();
  const size_t start = text.find(L"The following processes ");
  ASSERT_NE(start, std::wstring::npos);
  const size_t end = text.find(L" are still running, which may not enable you to proceed with the setup !", start);
  ASSERT_NE(end, std::wstring::npos);
  EXPECT_NE(text.substr(start, end - start).find(L"UNIT_TESTS.EXE"), std::wstring::npos);
}

TEST_F(PreInstallChecksTest, ProcessCheckShowsNothingWhenNoListedProcessRunsOrTheConditionFails) {
  configtest::SetupConfigSections sections;
  sections.preCondition = kProcessChecks;
  ASSERT_TRUE(Parse(sections));

  EXPECT_FALSE(CPreInstallChecks::IsCheckProcessDlgToBeShown(*record_, &msi_, L""));
  EXPECT_EQ(msi_.properties.count(L"RUNNING_PROCESSES"), 0u);

  msi_.conditions[L"CHECK_ONE"] = true;
  EXPECT_FALSE(CPreInstallChecks::IsCheckProcessDlgToBeShown(*record_, &msi_, L"DIALOG_WANTED"));
  EXPECT_EQ(msi_.properties.count(L"RUNNING_PROCESSES"), 0u);

  modeltest::LogCapture log;
  EXPECT_FALSE(CPreInstallChecks::IsCheckProcessDlgToBeShown(*record_, nullptr, L""));
  EXPECT_EQ(log.Count(L"IsCheckProcessDlgToBeShown - IMSIManager instance is NULL."), 1u);
}

TEST_F(PreInstallChecksTest, PendingRestartIsSeenFromTheBundlesOwnMarkerOnly) {
  configtest::SetupConfigSections sections;
  sections.general =
      "<General><BootstrapperRegistry Value=\"FeatureTestBundle\"/><Logfile Name=\"C:\\Logs\\Setup.log\" "
      "Level=\"DEVELOPERINFO\" Mode=\"OVERWRITE\" MaxLengthOfFile=\"5\"/></General>";
  ASSERT_TRUE(Parse(sections));
  const std::wstring marker = std::wstring(CCommonUtility::kRestartPendingPrefix) + L"FeatureTestBundle";
  (void)registry::DeleteValue(registry::kRunOnceKey, marker);
  EXPECT_FALSE(CPreInstallChecks::IsRestartDlgToBeShown(*record_));

  ASSERT_TRUE(CCommonUtility::WriteRestartPendingMarker(*record_));
  modeltest::LogCapture log;
  EXPECT_TRUE(CPreInstallChecks::IsRestartDlgToBeShown(*record_));
  EXPECT_EQ(log.Count(L"Setup is triggered without restarting the system."), 1u);
  EXPECT_EQ(log.Count(L"You must restart your system before running this setup."), 1u);
  EXPECT_EQ(registry::DeleteValue(registry::kRunOnceKey, marker), 1);
  EXPECT_FALSE(CPreInstallChecks::IsRestartDlgToBeShown(*record_));
}

}  // namespace
}  // namespace featuretest
