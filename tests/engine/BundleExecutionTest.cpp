// Install and remove executors running real Windows Installer packages and
// real EXE products, checked against Windows Installer's own product data.

#include <gtest/gtest.h>

#include "ExecutorFixture.h"
#include "PackageCodes.h"
#include "config/ExecutionType.h"
#include "engine/InstallExecutor.h"
#include "engine/RemoveExecutor.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"

namespace enginetest {
namespace {

class BundleExecutionTest : public ExecutorTest {
 protected:
  // Three packages and two EXE products in two groups.
  std::string Bundle(const std::string& failingExtra = "", const std::string& failingCommand = "") {
    return "<ProductGroup DisplayName=\"First\" Sequence=\"1\">" + MsiProduct(1, "SmallA", kSmallA) +
           ExeProduct(2, "ExeOne", "", "UninstallCommand=\"/marker:" + Utf8(marker_) + " /name:ExeOneOff\"") +
           "</ProductGroup><ProductGroup DisplayName=\"Second\" Sequence=\"2\">" +
           MsiProduct(1, "SmallB", kSmallB, failingCommand, failingExtra) +
           ExeProduct(2, "ExeTwo", "", "UninstallCommand=\"/marker:" + Utf8(marker_) + " /name:ExeTwoOff\"") +
           MsiProduct(3, "SmallC", kSmallC) + "</ProductGroup>";
  }

  std::vector<std::wstring> StartedProducts() {
    std::vector<std::wstring> names;
    for (const std::wstring& line : dispatcher_.Log().Starting(L"OnProduct(0,")) {
      names.push_back(line.substr(12, line.find(L',', 12) - 12));
    }
    return names;
  }

  bool FileHasText(const std::wstring& path) { return testsupport::ReadFileBytes(path).size() > 0; }
};

TEST_F(BundleExecutionTest, InstallsEveryProductInOrderAndRemovesThemInReverse) {
  installedByTest_ = {kSmallA, kSmallB, kSmallC};
  ASSERT_TRUE(LoadBundle(Bundle()));
  {
    CInstallExecutor installer(*record_, &dispatcher_);
    EXPECT_EQ(installer.Execute(), 0);
    EXPECT_EQ(installer.GetErrorCount(), 0);
    EXPECT_EQ(installer.GetWarningCount(), 0);
    EXPECT_EQ(installer.GetInformationCount(), 0);
  }
  EXPECT_EQ(StartedProducts(), (std::vector<std::wstring>{L"SmallA", L"ExeOne", L"SmallB", L"ExeTwo", L"SmallC"}));
  EXPECT_EQ(RunNames(), (std::vector<std::wstring>{L"ExeOne", L"ExeTwo"}));
  for (const auto& [code, name] : {std::pair{kSmallA, L"SmallA"}, {kSmallB, L"SmallB"}, {kSmallC, L"SmallC"}}) {
    EXPECT_EQ(InstalledProductName(code), std::wstring(L"Setup Test ") + name);
    EXPECT_TRUE(HasInstallerRegistryData(code)) << Utf8(code);
    EXPECT_TRUE(FileHasText(folder_ + L"Logs\\" + name + L"_Setup.log")) << Utf8(name);
  }

  record_->SetExecutionType(SETUPEXECTYPE_REMOVE);
  CRemoveExecutor remover(*record_, &dispatcher_);
  EXPECT_EQ(remover.Execute(), 0);
  EXPECT_EQ(remover.GetErrorCount() + remover.GetWarningCount(), 0);
  EXPECT_EQ(StartedProducts(), (std::vector<std::wstring>{L"SmallA", L"ExeOne", L"SmallB", L"ExeTwo", L"SmallC",
                                                          L"SmallC", L"ExeTwo", L"SmallB", L"ExeOne", L"SmallA"}));
  EXPECT_EQ(RunNames(), (std::vector<std::wstring>{L"ExeOne", L"ExeTwo", L"ExeTwoOff", L"ExeOneOff"}));
  for (const std::wstring& code : {kSmallA, kSmallB, kSmallC}) {
    EXPECT_EQ(InstalledProductName(code), L"");
    EXPECT_FALSE(HasInstallerRegistryData(code));
  }
}

TEST_F(BundleExecutionTest, FailedProductMarkedRollbackStopsAndUndoesTheEarlierProducts) {
  installedByTest_ = {kSmallA, kSmallB, kSmallC};
  ASSERT_TRUE(LoadBundle(Bundle("Rollback=\"true\"", "FAIL=1")));
  CInstallExecutor installer(*record_, &dispatcher_);
  EXPECT_EQ(installer.Execute(), 2);
  EXPECT_EQ(installer.GetErrorCount(), 1);
  EXPECT_EQ(StartedProducts(), (std::vector<std::wstring>{L"SmallA", L"ExeOne", L"SmallB"}));
  // Both earlier products were undone, last first; the failed one was never installed.
  EXPECT_EQ(RunNames(), (std::vector<std::wstring>{L"ExeOne", L"ExeOneOff"}));
  for (const std::wstring& code : {kSmallA, kSmallB, kSmallC}) {
    EXPECT_EQ(InstalledProductName(code), L"") << Utf8(code);
    EXPECT_FALSE(HasInstallerRegistryData(code)) << Utf8(code);
  }
  EXPECT_EQ(dispatcher_.Log().Starting(L"OnRollbackProduct(0,"),
            (std::vector<std::wstring>{L"OnRollbackProduct(0,ExeOne,1)", L"OnRollbackProduct(0,SmallA,1)"}));
  EXPECT_EQ(dispatcher_.Log().Starting(L"OnRollbackProduct(1,"),
            (std::vector<std::wstring>{L"OnRollbackProduct(1,ExeOne,0)", L"OnRollbackProduct(1,SmallA,0)"}));
  EXPECT_EQ(dispatcher_.Log().Starting(L"OnRollback("),
            (std::vector<std::wstring>{L"OnRollback(0,2)", L"OnRollback(1,2)"}));
  EXPECT_EQ(dispatcher_.Log().Starting(L"OnProduct(1,SmallB"), (std::vector<std::wstring>{L"OnProduct(1,SmallB,1)"}));
  EXPECT_EQ(dispatcher_.Log().Starting(L"SetProperty(FAILEDCOMPONENT"),
            (std::vector<std::wstring>{L"SetProperty(FAILEDCOMPONENT,SmallB)"}));
  EXPECT_TRUE(dispatcher_.Log().Starting(L"OnRun(1)").empty());
  std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"Error Code \t : 1603"), std::wstring::npos);
  EXPECT_NE(log.find(L"Starting the rollback..."), std::wstring::npos);
}

TEST_F(BundleExecutionTest, FailedProductNotMarkedRollbackCountsAsWarningAndTheRunGoesOn) {
  installedByTest_ = {kSmallA, kSmallB, kSmallC};
  ASSERT_TRUE(LoadBundle(Bundle("", "FAIL=1")));
  CInstallExecutor installer(*record_, &dispatcher_);
  EXPECT_EQ(installer.Execute(), 3);
  EXPECT_EQ(installer.GetErrorCount(), 0);
  EXPECT_EQ(installer.GetWarningCount(), 1);
  EXPECT_EQ(StartedProducts(), (std::vector<std::wstring>{L"SmallA", L"ExeOne", L"SmallB", L"ExeTwo", L"SmallC"}));
  EXPECT_EQ(InstalledProductName(kSmallA), L"Setup Test SmallA");
  EXPECT_EQ(InstalledProductName(kSmallB), L"");
  EXPECT_EQ(InstalledProductName(kSmallC), L"Setup Test SmallC");
  EXPECT_TRUE(dispatcher_.Log().Starting(L"OnRollback").empty());
  EXPECT_EQ(dispatcher_.Log().Starting(L"OnProductGroup(1,"),
            (std::vector<std::wstring>{L"OnProductGroup(1,First,0)", L"OnProductGroup(1,Second,1)"}));
}

// Windows answers 1619 and 1620; Wine answers 2 and 1627. Either way the
// code is a failure, and the run must carry exactly that code.
struct BadPackageCase {
  const char* label;
  const char* location;  // relative to the scratch folder; "corrupt.msi" is written with junk
};
void PrintTo(const BadPackageCase& c, std::ostream* out) { *out << c.label; }

class BadPackageTest : public BundleExecutionTest, public ::testing::WithParamInterface<BadPackageCase> {};

TEST_P(BadPackageTest, IsLoggedWithItsStatusBlockAndTheRunReportsTheFailure) {
  const BadPackageCase& c = GetParam();
  ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + L"corrupt.msi", std::string(4096, 'x')));
  ASSERT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\"><Product Sequence=\"1\" Type=\"MSI\" "
                         "ProductName=\"Bad\" Location=\"" + std::string(c.location) + "\"/>" +
                         ExeProduct(2, "After", "") + "</ProductGroup>"));
  CInstallExecutor installer(*record_, &dispatcher_);
  EXPECT_EQ(installer.Execute(), 3);
  EXPECT_EQ(installer.GetWarningCount(), 1);
  EXPECT_EQ(RunNames(), std::vector<std::wstring>{L"After"});
  std::vector<std::wstring> results = dispatcher_.Log().Starting(L"SetProductRebootState(Bad,");
  ASSERT_EQ(results.size(), 1u);
  const int code = platform::ToInt(results[0].substr(26));
  EXPECT_NE(code, 0);
  std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"Msi Location\t : " + folder_ + platform::Utf8ToWide(c.location)), std::wstring::npos);
  EXPECT_NE(log.find(L"Error Code \t : " + std::to_wstring(code) + L" "), std::wstring::npos) << Utf8(log);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadPackageTest,
                         ::testing::Values(BadPackageCase{"MissingPackage", "absent.msi"},
                                           BadPackageCase{"CorruptPackage", "corrupt.msi"}),
                         [](const ::testing::TestParamInfo<BadPackageCase>& info) { return info.param.label; });

}  // namespace
}  // namespace enginetest
