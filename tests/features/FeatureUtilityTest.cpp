#include <gtest/gtest.h>

#include "FeatureTestFixture.h"
#include "config/ExecutionType.h"
#include "features/FeatureUtility.h"

namespace featuretest {
namespace {

constexpr int kLocal = 3;
constexpr int kAbsent = 2;

const char kAddOnProducts[] =
    "<ProductList><ProductGroup Sequence=\"1\">"
    "<Product Sequence=\"1\" ProductName=\"Plain\" UninstallCommand=\"/u\"/>"
    "<Product Sequence=\"2\" ProductName=\"Newer\" PropertyName=\"NEWER_FOUND\"/>"
    "<Product Sequence=\"3\" ProductName=\"Present\" PropertyName=\"PRESENT_FOUND\" UninstallCommand=\"/u\"/>"
    "<Product Sequence=\"4\" ProductName=\"PresentNoUninstall\" PropertyName=\"PRESENT_FOUND\"/>"
    "</ProductGroup></ProductList>";

using FeatureUtilityTest = FeatureTest;

TEST_F(FeatureUtilityTest, HiddenExpandedAndSelectedBitsFollowLevelsConditionsAndInstallerStates) {
  ReadProducts(configtest::kDefaultProducts);
  CWixFeature* levelZero = AddFeature(nullptr, L"LevelZero", 0);
  CWixFeature* child = AddFeature(levelZero, L"ChildOfHidden");
  CWixFeature* conditioned = AddFeature(nullptr, L"Conditioned", 1);
  conditioned->AddCondition({0, L"HIDE_IT"});
  conditioned->AddCondition({0, L"NOT_TRUE"});
  CWixFeature* expanded = AddFeature(nullptr, L"Expanded");
  CWixFeature* hiddenDisplay = AddFeature(nullptr, L"HiddenDisplay");
  CWixFeature* installedKept = AddFeature(nullptr, L"InstalledKept");
  CWixFeature* toBeRemoved = AddFeature(nullptr, L"ToBeRemoved");
  CWixFeature* unknown = AddFeature(nullptr, L"Unknown");
  msi_.conditions[L"HIDE_IT"] = true;
  msi_.displays[L"Expanded"] = L"expand";
  msi_.displays[L"HiddenDisplay"] = L"HIDDEN";
  msi_.features[L"ChildOfHidden"] = {-1, kLocal};
  msi_.features[L"Expanded"] = {kAbsent, -1};
  msi_.features[L"InstalledKept"] = {kLocal, -1};
  msi_.features[L"ToBeRemoved"] = {kLocal, kAbsent};

  CFeatureUtility utility(&model_);
  utility.InitFeatureStates(*record_, msi_);

  EXPECT_EQ(levelZero->GetFlags(), CWixFeature::kFlagHidden);
  EXPECT_EQ(child->GetFlags(), CWixFeature::kFlagSelected);
  EXPECT_EQ(child->GetTreeState(), CWixFeature::kTreeLocal);
  EXPECT_EQ(conditioned->GetLevel(), 0);
  EXPECT_EQ(conditioned->GetFlags(), CWixFeature::kFlagHidden);
  EXPECT_EQ(expanded->GetFlags(), CWixFeature::kFlagExpanded);
  EXPECT_EQ(expanded->GetTreeState(), CWixFeature::kTreeAbsent);
  EXPECT_EQ(hiddenDisplay->GetFlags(), CWixFeature::kFlagHidden);
  EXPECT_EQ(installedKept->GetFlags(), CWixFeature::kFlagSelected);
  EXPECT_EQ(toBeRemoved->GetFlags(), 0);
  EXPECT_EQ(unknown->GetFlags(), 0);
}

struct NonFeatureCase {
  const char* name;
  int executionType;
  const wchar_t* product;
  int selected;
  int locked;
};

class NonFeatureStateTest : public FeatureTest, public ::testing::WithParamInterface<NonFeatureCase> {};

TEST_P(NonFeatureStateTest, SelectedAndLockedFromTheProductAndTheRunKind) {
  const NonFeatureCase& c = GetParam();
  ReadProducts(kAddOnProducts);
  record_->SetExecutionType(c.executionType);
  msi_.properties[L"NEWER_FOUND"] = L"HigherOrEqualVersionExist";
  msi_.properties[L"PRESENT_FOUND"] = L"TRUE";
  CWixFeature* feature = AddFeature(nullptr, std::wstring(L"NonFeature_") + c.product);

  CFeatureUtility(&model_).InitFeatureStates(*record_, msi_);

  EXPECT_EQ((feature->GetFlags() & CWixFeature::kFlagSelected) != 0 ? 1 : 0, c.selected);
  EXPECT_EQ(feature->GetLocked(), c.locked);
  EXPECT_EQ(Remembered(c.product), c.selected);
}

INSTANTIATE_TEST_SUITE_P(
    RunKinds, NonFeatureStateTest,
    ::testing::Values(NonFeatureCase{"InstallationPlain", SETUPEXECTYPE_INSTALLATION, L"Plain", 1, 0},
                      NonFeatureCase{"MaintenancePlain", SETUPEXECTYPE_MAINTENANCE, L"Plain", 0, 0},
                      NonFeatureCase{"InstallationNewer", SETUPEXECTYPE_INSTALLATION, L"Newer", 1, 1},
                      NonFeatureCase{"MaintenanceNewer", SETUPEXECTYPE_MAINTENANCE, L"Newer", 1, 1},
                      NonFeatureCase{"RemovalNewer", SETUPEXECTYPE_REMOVE, L"Newer", 1, 1},
                      NonFeatureCase{"InstallationPresent", SETUPEXECTYPE_INSTALLATION, L"Present", 0, 0},
                      NonFeatureCase{"MaintenancePresent", SETUPEXECTYPE_MAINTENANCE, L"Present", 1, 0},
                      NonFeatureCase{"MaintenancePresentNoUninstall", SETUPEXECTYPE_MAINTENANCE, L"PresentNoUninstall",
                                     1, 1}),
    [](const ::testing::TestParamInfo<NonFeatureCase>& info) { return std::string(info.param.name); });

TEST_F(FeatureUtilityTest, RememberedSelectionWinsOverTheProductRule) {
  ReadProducts(kAddOnProducts);
  record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
  CFeatureUtility::SetNonFeatureSelection(L"Plain", 0);
  CWixFeature* feature = AddFeature(nullptr, L"NonFeature_Plain");

  CFeatureUtility(&model_).InitFeatureStates(*record_, msi_);

  EXPECT_EQ(feature->GetFlags() & CWixFeature::kFlagSelected, 0);
  EXPECT_EQ(Remembered(L"Plain"), 0);
}

TEST_F(FeatureUtilityTest, SelectionListsFollowInstallerStatesAndLeaveNonFeaturesOut) {
  ReadProducts(kAddOnProducts);
  CWixFeature* top = AddFeature(nullptr, L"Studio");
  AddFeature(top, L"Renderer");
  AddFeature(top, L"NonFeature_Plain");
  AddFeature(top, L"Guide");
  AddFeature(nullptr, L"Samples");
  msi_.features[L"Studio"] = {kLocal, -1};
  msi_.features[L"Renderer"] = {kAbsent, kLocal};
  msi_.features[L"Guide"] = {kLocal, kAbsent};
  msi_.features[L"NonFeature_Plain"] = {kLocal, kLocal};
  modeltest::LogCapture log;

  std::wstring selected, deselected;
  CFeatureUtility(&model_).ComputeSelectionLists(msi_, selected, deselected);

  EXPECT_EQ(selected, L"Studio,Renderer");
  EXPECT_EQ(deselected, L"Guide,Samples");
  const std::wstring text = log.Text();
  EXPECT_NE(text.find(L"Selected Features are : Studio,Renderer "), std::wstring::npos);
  EXPECT_NE(text.find(L"DeSelected Features are : Guide,Samples "), std::wstring::npos);
  EXPECT_NE(text.find(L"SetSelectedFeature:MSIGetFeatureState failed for feature,Samples"), std::wstring::npos);
}

TEST_F(FeatureUtilityTest, DriveCostCountsEveryLocalLeafOnceOnItsOwnDrive) {
  ReadProducts(configtest::kDefaultProducts);
  CWixFeature* top = AddFeature(nullptr, L"Top");
  CWixFeature* onC = AddFeature(top, L"OnC");
  CWixFeature* onD = AddFeature(top, L"OnD", 1, L"DATADIR");
  CWixFeature* removed = AddFeature(top, L"Removed");
  CWixFeature* addOn = AddFeature(top, L"NonFeature_Plain");
  top->SetCost(5000);
  onC->SetCost(1000);
  onD->SetCost(2000);
  removed->SetCost(7000);
  addOn->SetCost(9000);
  msi_.properties[L"INSTALLDIR"] = L"C:\\Program Files\\Studio\\";
  msi_.properties[L"DATADIR"] = L"D:\\Data\\";
  for (const wchar_t* id : {L"Top", L"OnC", L"OnD", L"NonFeature_Plain"}) msi_.features[id] = {-1, kLocal};
  msi_.features[L"Removed"] = {kLocal, kAbsent};

  CFeatureUtility::DriveCostMap costs;
  CFeatureUtility(&model_).CalculateDriveCost(costs, *record_, msi_);

  ASSERT_EQ(costs.size(), 2u);
  EXPECT_EQ(costs[L"C"], 1000);
  EXPECT_EQ(costs[L"D"], 2000);
}

TEST_F(FeatureUtilityTest, SkipNonFeaturesDeselectsNamedUnlockedAddOnsOnly) {
  ReadProducts(kAddOnProducts);
  record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
  msi_.properties[L"NEWER_FOUND"] = L"HIGHEROREQUALVERSIONEXIST";
  AddFeature(nullptr, L"NonFeature_Plain");
  AddFeature(nullptr, L"NonFeature_Newer");
  CFeatureUtility utility(&model_);
  utility.InitFeatureStates(*record_, msi_);
  modeltest::LogCapture log;

  utility.SkipNonFeatures(L"plain, Newer,Unknown");

  EXPECT_EQ(Remembered(L"Plain"), 0);
  EXPECT_EQ(Remembered(L"Newer"), 1);
  EXPECT_EQ(log.Count(L"The Skipped MSI Non-feature : Plain "), 1u);
  EXPECT_EQ(log.Count(L"The Skipped MSI Non-feature : Newer"), 0u);
}

TEST_F(FeatureUtilityTest, WithoutAModelEveryOperationLogsAndDoesNothing) {
  modeltest::LogCapture log;
  CFeatureUtility utility(nullptr);
  std::wstring selected, deselected;
  CFeatureUtility::DriveCostMap costs;
  utility.InitFeatureStates(*record_, msi_);
  utility.ComputeSelectionLists(msi_, selected, deselected);
  utility.CalculateDriveCost(costs, *record_, msi_);
  utility.SkipNonFeatures(L"Plain");
  EXPECT_TRUE(selected.empty());
  EXPECT_TRUE(costs.empty());
  EXPECT_EQ(Remembered(L"Plain"), -1);
  EXPECT_EQ(log.Count(L"CFeatureUtility :: GetFeatureList () - WixDataManager instance is NULL"), 4u);
}

}  // namespace
}  // namespace featuretest
