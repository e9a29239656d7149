// The launchers that the main tests do not drive end to end: the resumed run,
// the patch road as far as a package built here can take it, the patch
// version rule, and the final restart decision.

#include <gtest/gtest.h>

#include <ostream>

#include "PackageCodes.h"
#include "SetupManagerFixture.h"
#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/ISetupConfigData.h"
#include "config/ProductWalk.h"
#include "engine/RebootManager.h"
#include "engine/SetupLauncherPatch.h"
#include "features/ProductPropertyUpdater.h"
#include "msi/MSIManager.h"
#include "support/TestPaths.h"

namespace enginetest {
namespace {

TEST_F(SetupManagerTest, ResumedRunRestoresItsStateAndStartsTheExecutionWithoutInitializer) {
  ASSERT_TRUE(LoadMainBundle("SetupMainUI", kMainUICode, SETUPEXECTYPE_INSTALLATION));
  record_->SetRestoreMode(true);
  int restored = 0;
  CSetupManager::Hooks hooks;
  hooks.restoreRunState = [&restored](ISetupConfigData& record, CMSIManager& manager) {
    ++restored;
    manager.SetProperty(L"RESTOREDPROP", L"from the archive", false);
    record.SetInstalledLocation(L"C:\\Restored\\");
    return true;
  };
  auto manager = MakeManager(true, {}, hooks);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  EXPECT_EQ(restored, 1);
  EXPECT_EQ(record_->GetInstalledLocation(), L"C:\\Restored\\");
  EXPECT_EQ(manager->GetMSIManager()->GetProperty(L"RESTOREDPROP", false), L"from the archive");
  EXPECT_EQ(dispatcher_.Log().Starting(L"StartSetup"), std::vector<std::wstring>{L"StartSetup(0)"});
  // No initializer: no preparing dialog, no captured first dialog, nothing installed.
  EXPECT_TRUE(dispatcher_.Log().Starting(L"ShowDialog").empty());
  EXPECT_EQ(manager->GetMSIManager()->GetFirstDialogName(), L"");
  EXPECT_TRUE(InstalledProductName(kMainUICode).empty());
  EXPECT_NE(log_->Text().find(L"Restoring the data after intermediate reboot..."), std::wstring::npos);
}

// Wine's msi.dll aborts in MsiExtractPatchXMLDataW and wixl builds no
// patches, so the applicability data comes from the test.
class PatchDataScope {
 public:
  PatchDataScope(UINT result, std::wstring xml) {
    previous_ = CSetupLauncherPatch::SetPatchXmlReaderForTest(
        [result, xml](const std::wstring&, std::wstring& out) {
          out = xml;
          return result;
        });
  }
  ~PatchDataScope() { (void)CSetupLauncherPatch::SetPatchXmlReaderForTest(std::move(previous_)); }
  PatchDataScope(const PatchDataScope&) = delete;
  PatchDataScope& operator=(const PatchDataScope&) = delete;

 private:
  CSetupLauncherPatch::PatchXmlReader previous_;
};

std::wstring ApplicabilityXml(const std::wstring& target, const std::wstring& updatedVersion) {
  return L"<?xml version=\"1.0\" encoding=\"utf-16\"?><MsiPatch "
         L"xmlns=\"http://www.microsoft.com/msi/patch_applicability.xsd\" SchemaVersion=\"1.0.0.0\" "
         L"PatchGUID=\"{6B1D0C3A-1F05-4000-8000-00000005E7F1}\" MinMsiVersion=\"3\"><TargetProduct "
         L"MinMsiVersion=\"200\"><TargetProductCode Validate=\"true\">" + target +
         L"</TargetProductCode><TargetVersion Validate=\"true\" ComparisonType=\"Equal\" "
         L"ComparisonFilter=\"MajorMinorUpdate\">1.0.0</TargetVersion><UpdatedVersion>" + updatedVersion +
         L"</UpdatedVersion></TargetProduct></MsiPatch>";
}

TEST_F(SetupManagerTest, PatchWithoutApplicabilityDataIsAppliedDirectlyAndItsFailureShown) {
  PatchDataScope data(ERROR_INVALID_FUNCTION, L"");
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_PATCH));
  auto manager = MakeManager(true);
  auto* launcher = dynamic_cast<CSetupLauncherPatch*>(manager->GetMSIManager()->GetLauncher());
  ASSERT_NE(launcher, nullptr);
  EXPECT_EQ(launcher->GetTargetProductCode(), L"");
  EXPECT_EQ(manager->LaunchInitializer(&dispatcher_), 0);
  // A package is no patch: the direct application fails and says so.
  EXPECT_EQ(dispatcher_.Log().Starting(L"ShowErrorDialog").size(), 1u);
  EXPECT_TRUE(InstalledProductName(kMainCode).empty());
  const std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"MsiExtractPatchXMLDataStub failed."), std::wstring::npos);
  EXPECT_NE(log.find(L"is applied directly"), std::wstring::npos);
}

// The configuration reader leaves every group and product skipped; the
// product update of the run decides what runs.
void SkipEverything(ISetupConfigData& record) {
  (void)ForEachProduct(record.GetProductGroupList(), [](IProductGroup& group, IProductAttributes& product) {
    group.SetSkipped(true);
    product.SetSkipped(true);
    return true;
  });
}

// The real order of a run: launcher created with the setup manager, the
// initializer, then the product update while the run is prepared.
TEST_F(SetupManagerTest, PatchOfTheInstalledLineTakesItsPatchListWhenTheRunIsPrepared) {
  ASSERT_EQ(InstallThroughManager("SetupMainV1"), 0);
  PatchDataScope data(ERROR_SUCCESS, ApplicabilityXml(kMainCode, L"1.0.1"));
  const std::string patch = "<Product Sequence=\"2\" Type=\"MSP\" ProductName=\"Fix\" Location=\"" +
                            Utf8(folder_) + "Fix.msp\" MainProductPatch=\"true\"/>";
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_PATCH, patch));
  SkipEverything(*record_);
  CSetupManager* current = nullptr;
  CSetupManager::Hooks hooks;
  hooks.updateProductProperties = [this, &current]() {
    (void)CProductPropertyUpdater::GetInstance().UpdateProducts(record_.get(), current->GetMSIManager());
  };
  auto manager = MakeManager(true, {}, hooks);
  current = manager.get();
  auto* launcher = dynamic_cast<CSetupLauncherPatch*>(manager->GetMSIManager()->GetLauncher());
  ASSERT_NE(launcher, nullptr);
  EXPECT_EQ(launcher->GetTargetProductCode(), kMainCode);
  EXPECT_EQ(launcher->GetUpdatedVersion(), L"1.0.1");
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  EXPECT_EQ(manager->GetMSIManager()->GetProductCode(), kMainCode);
  // The installed product's cached copy is what the session works on.
  EXPECT_EQ(manager->GetMSIManager()->GetProperty(L"ProductVersion", false), L"1.0.0");
  // A patch run costs no features.
  EXPECT_TRUE(manager->GetMSIManager()->SetFeaturesCost());

  int blocked = 0;
  (void)manager->PrepareExecution(blocked);
  EXPECT_FALSE(FindProduct(L"Fix")->IsSkipped());
  EXPECT_EQ(launcher->GetPatchList(), std::vector<std::wstring>{folder_ + L"Fix.msp"});
  EXPECT_EQ(manager->GetMSIManager()->GetProperty(L"PATCH", false), folder_ + L"Fix.msp;");
  // PATCH travels to the packages with the bundle's property string.
  EXPECT_NE(manager->GetMSIManager()->GetPropertyString().find(L"PATCH=\"" + folder_ + L"Fix.msp;\""),
            std::wstring::npos);
  const std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"The transform file " + folder_ + L"Fix.mst is not found."), std::wstring::npos);
  EXPECT_NE(log.find(L"Setup type is a patch, Skipping the Feature Cost calculation."), std::wstring::npos);
}

struct PatchVersionCase {
  const char* name;
  const wchar_t* updated;
  const wchar_t* installed;
  bool opensCachedPackage;
};

class PatchVersionRuleTest : public ::testing::TestWithParam<PatchVersionCase> {};

TEST_P(PatchVersionRuleTest, WizardOnlyForAPatchOfTheInstalledLine) {
  EXPECT_EQ(CSetupLauncherPatch::OpensCachedPackage(GetParam().updated, GetParam().installed),
            GetParam().opensCachedPackage);
}

INSTANTIATE_TEST_SUITE_P(Versions, PatchVersionRuleTest,
                         ::testing::Values(PatchVersionCase{"SameVersion", L"1.2.3", L"1.2.3", true},
                                           PatchVersionCase{"NewerBuild", L"1.2.5", L"1.2.3", true},
                                           PatchVersionCase{"OlderBuild", L"1.2.1", L"1.2.3", false},
                                           PatchVersionCase{"OtherMinor", L"1.3.3", L"1.2.3", false},
                                           PatchVersionCase{"OtherMajor", L"2.2.3", L"1.2.3", false},
                                           PatchVersionCase{"NoBuildPart", L"1.2", L"1.2.3", false},
                                           PatchVersionCase{"NothingInstalled", L"1.2.3", L"", false}),
                         [](const ::testing::TestParamInfo<PatchVersionCase>& info) {
                           return std::string(info.param.name);
                         });

struct RebootCase {
  const char* name;
  int executionType;
  const wchar_t* letters;
  DWORD productExit;
  bool expected;
};

class RebootDecisionTest : public SetupManagerTest, public ::testing::WithParamInterface<RebootCase> {};

TEST_P(RebootDecisionTest, RunLettersAndProductResultsDecide) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, GetParam().executionType));
  record_->SetRebootInstallMode(GetParam().letters);
  auto manager = MakeManager(true);
  manager->GetRebootManager()->SetProductRebootState(L"1_1", GetParam().productExit);
  EXPECT_EQ(manager->IsRebootRequired(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, RebootDecisionTest,
    ::testing::Values(RebootCase{"InstallationWithRestartLetter", SETUPEXECTYPE_INSTALLATION, L"IU", 3010, true},
                      RebootCase{"RepairWithoutRepairLetter", SETUPEXECTYPE_REPAIR, L"IU", 3010, false},
                      RebootCase{"RemovalWithRestartLetter", SETUPEXECTYPE_REMOVE, L"IU", 3010, true},
                      RebootCase{"RepairWithNoLetters", SETUPEXECTYPE_REPAIR, L"", 3010, true},
                      RebootCase{"ProductAskedNoRestart", SETUPEXECTYPE_INSTALLATION, L"IU", 0, false}),
    [](const ::testing::TestParamInfo<RebootCase>& info) { return std::string(info.param.name); });

// A resumed run keeps the results of the products that ran before the
// intermediate restart; only what ran in this run may ask for another restart.
struct ResumedRebootCase {
  DWORD resultBeforeRestart;
  DWORD resultNow;
  bool expected;
};
void PrintTo(const ResumedRebootCase& c, std::ostream* out) {
  *out << "before " << c.resultBeforeRestart << ", now " << c.resultNow;
}

class ResumedRebootDecisionTest : public SetupManagerTest, public ::testing::WithParamInterface<ResumedRebootCase> {};

TEST_P(ResumedRebootDecisionTest, RestartThatHappenedIsNotAskedForAgain) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  IProductAttributes* product = nullptr;
  (void)ForEachProduct(record_->GetProductGroupList(), [&product](IProductGroup&, IProductAttributes& each) {
    product = &each;
    return false;
  });
  ASSERT_NE(product, nullptr);
  product->SetExecutedBeforeReboot(true);
  product->SetResultBeforeReboot(static_cast<int>(GetParam().resultBeforeRestart));
  auto manager = MakeManager(true);
  manager->GetRebootManager()->SetProductRebootState(product->GetKey(), GetParam().resultNow);
  EXPECT_EQ(manager->IsRebootRequired(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Results, ResumedRebootDecisionTest,
                         ::testing::Values(ResumedRebootCase{3010, 3010, false},
                                           // A nested setup is run again and its new result counts.
                                           ResumedRebootCase{20001, 3010, true},
                                           ResumedRebootCase{20001, 0, false}),
                         [](const ::testing::TestParamInfo<ResumedRebootCase>& info) {
                           return "Before" + std::to_string(info.param.resultBeforeRestart) + "Now" +
                                  std::to_string(info.param.resultNow);
                         });

}  // namespace
}  // namespace enginetest
