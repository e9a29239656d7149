// Install and remove executors running real Windows Installer packages and
// real EXE products, checked against Windows Installer's own product data.

#include <gtest/gtest.h>

#include "ExecutorFixture.h"
#include "PackageCodes.h"
#include "config/ExecutionType.h"
#include "engine/InstallExecutor.h"
#include "engine/RemoveExecutor.h"
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

}  // namespace
}  // namespace enginetest
