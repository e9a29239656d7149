// The executors of modify, repair, removal, patch and minor-upgrade runs with
// real EXE products: which command each runs, how exit codes end the run and
// what each does to the Add/Remove Programs entry.

#include <gtest/gtest.h>

#include <memory>

#include "ExecutorFixture.h"
#include "RecordingRegistrar.h"
#include "config/ExecutionType.h"
#include "config/ISetupConfigData.h"
#include "engine/MinorUpgradeExecutor.h"
#include "engine/ModifyExecutor.h"
#include "engine/PatchExecutor.h"
#include "engine/RemoveExecutor.h"
#include "engine/RepairExecutor.h"

namespace enginetest {
namespace {

struct VariantCase {
  const char* name;
  int executionType;
  // Exit codes of products A, B and C; B is marked Rollback.
  int exitA, exitB, exitC;
  int expectedResult;
  std::vector<std::wstring> expectedRuns;
  std::vector<std::wstring> expectedRegistrar;
};

void PrintTo(const VariantCase& c, std::ostream* out) { *out << c.name; }

class ExecutorVariantsTest : public ExecutorTest, public ::testing::WithParamInterface<VariantCase> {
 protected:
  std::string Product(int sequence, const std::string& name, int exitCode, const std::string& extra = "") {
    const std::string marker = "/marker:" + Utf8(marker_);
    const std::string code = " /exit:" + std::to_string(exitCode);
    return ExeProduct(sequence, name, code,
                      "UninstallCommand=\"" + marker + " /name:" + name + "Off" + code + "\" RepairCommand=\"" + marker +
                          " /name:" + name + "Fix" + code + "\" " + extra);
  }

  std::unique_ptr<CSetupExecutorBase> Create(int type) {
    switch (type) {
      case SETUPEXECTYPE_MODIFY: return std::make_unique<CModifyExecutor>(*record_, &dispatcher_);
      case SETUPEXECTYPE_REPAIR: return std::make_unique<CRepairExecutor>(*record_, &dispatcher_);
      case SETUPEXECTYPE_REMOVE: return std::make_unique<CRemoveExecutor>(*record_, &dispatcher_);
      case SETUPEXECTYPE_PATCH: return std::make_unique<CPatchExecutor>(*record_, &dispatcher_);
      default: return std::make_unique<CMinorUpgradeExecutor>(*record_, &dispatcher_);
    }
  }
};

TEST_P(ExecutorVariantsTest, RunsItsCommandsClassifiesAndRegisters) {
  const VariantCase& c = GetParam();
  ASSERT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\">" + Product(1, "A", c.exitA) +
                         Product(2, "B", c.exitB, "Rollback=\"true\"") + Product(3, "C", c.exitC) + "</ProductGroup>"));
  static_cast<ISetupConfigDataForParser&>(*record_).SetRegisterableSetup(true);
  record_->SetExecutionType(c.executionType);
  RecordingRegistrar registrar(dispatcher_.Log(), true);
  std::unique_ptr<CSetupExecutorBase> executor = Create(c.executionType);
  executor->SetBundleRegistrar(&registrar);
  EXPECT_EQ(executor->Execute(), c.expectedResult);
  EXPECT_EQ(RunNames(), c.expectedRuns);
  std::vector<std::wstring> registrations;
  for (const std::wstring& line : dispatcher_.Log().Lines()) {
    if (line.find(L"Entry") != std::wstring::npos || line == L"UpdateBundleSize") registrations.push_back(line);
  }
  EXPECT_EQ(registrations, c.expectedRegistrar);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ExecutorVariantsTest,
    ::testing::Values(
        VariantCase{"ModifyRewritesSizes", SETUPEXECTYPE_MODIFY, 0, 3010, 0, 0, {L"A", L"B", L"C"}, {L"UpdateBundleSize"}},
        // A failed Rollback product stops a modify and undoes what ran (a failed EXE may have changed the machine too).
        VariantCase{"ModifyStopsAndRollsBack", SETUPEXECTYPE_MODIFY, 0, 1603, 0, 2, {L"A", L"B", L"BOff", L"AOff"}, {}},
        VariantCase{"ModifyUserExitCancels", SETUPEXECTYPE_MODIFY, 1602, 0, 0, 1, {L"A"}, {}},
        // A repair runs the repair commands and never stops on a failure.
        VariantCase{"RepairGoesOnAfterAFailure", SETUPEXECTYPE_REPAIR, 0, 1603, 0, 3,
                    {L"AFix", L"BFix", L"CFix"}, {L"DeleteBundleEntry", L"WriteBundleEntry"}},
        VariantCase{"RepairWritesTheEntryAnew", SETUPEXECTYPE_REPAIR, 0, 0, 0, 0, {L"AFix", L"BFix", L"CFix"},
                    {L"DeleteBundleEntry", L"WriteBundleEntry"}},
        // A removal runs backwards; a user exit ends it at once.
        VariantCase{"RemoveUserExitCancels", SETUPEXECTYPE_REMOVE, 0, 1602, 0, 1, {L"COff", L"BOff"}, {}},
        VariantCase{"RemoveGoesOnAfterAFailure", SETUPEXECTYPE_REMOVE, 0, 1603, 0, 3, {L"COff", L"BOff", L"AOff"}, {L"RemoveBundleEntry"}},
        VariantCase{"PatchStopsOnRollbackProduct", SETUPEXECTYPE_PATCH, 0, 1603, 0, 2, {L"A", L"B", L"BOff", L"AOff"}, {}},
        VariantCase{"PatchRegistersNoPatchWithoutMainProductPatch", SETUPEXECTYPE_PATCH, 3010, 0, 0, 0,
                    {L"A", L"B", L"C"}, {}},
        VariantCase{"MinorUpgradeDeletesAndWritesTheEntry", SETUPEXECTYPE_MINORUPGRADE, 0, 0, 0, 0,
                    {L"A", L"B", L"C"}, {L"DeleteBundleEntry", L"WriteBundleEntry"}}),
    [](const ::testing::TestParamInfo<VariantCase>& info) { return std::string(info.param.name); });

TEST_F(ExecutorVariantsTest, OnlyARemovalDeletesTheKeptPackagesKey) {
  for (int type : {SETUPEXECTYPE_REMOVE, SETUPEXECTYPE_REPAIR, SETUPEXECTYPE_MODIFY}) {
    ASSERT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\">" + Product(1, "A", 0) +
                           "</ProductGroup>"));
    record_->SetExecutionType(type);
    CallLog calls;
    RecordingRegistrar registrar(calls, true);
    std::unique_ptr<CSetupExecutorBase> executor = Create(type);
    executor->SetBundleRegistrar(&registrar);
    EXPECT_EQ(executor->Execute(), 0) << type;
    const size_t deleted = calls.Starting(L"DeleteInstallerKey(TempPackages)").size();
    EXPECT_EQ(deleted, type == SETUPEXECTYPE_REMOVE ? 1u : 0u) << type;
  }
}

TEST_F(ExecutorVariantsTest, ModifyAndRepairNeedTheProductsSourceFiles) {
  ASSERT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\">" + Product(1, "A", 0) +
                         "<Product Sequence=\"2\" Type=\"EXE\" ProductName=\"Gone\" Location=\"missing\\gone.exe\"/>"
                         "<Product Sequence=\"3\" Type=\"EXE\" ProductName=\"Later\" Location=\"[InstallDir]x.exe\"/>"
                         "</ProductGroup>"));
  for (int type : {SETUPEXECTYPE_MODIFY, SETUPEXECTYPE_REPAIR}) {
    std::unique_ptr<CSetupExecutorBase> executor = Create(type);
    int missing = 0;
    EXPECT_FALSE(executor->CheckInitialCondition(missing)) << type;
    EXPECT_EQ(missing, 1) << type;
  }
  // Once the missing product is skipped, only files that exist (or come later) remain.
  FindProduct(L"Gone")->SetSkipped(true);
  CRepairExecutor repair(*record_, &dispatcher_);
  int missing = 0;
  EXPECT_TRUE(repair.CheckInitialCondition(missing));
  EXPECT_EQ(missing, 0);
}

}  // namespace
}  // namespace enginetest
