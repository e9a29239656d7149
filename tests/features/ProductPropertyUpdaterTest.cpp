#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "FeatureTestFixture.h"
#include "config/ExecutionType.h"
#include "features/FeatureUtility.h"
#include "features/ProductPropertyUpdater.h"

namespace featuretest {
namespace {

// Group 1 prerequisites (shown), group 2 the initializer, group 3 the brand's
// products: main, add-on with a non-feature, conditioned, searched, patch.
const char kBundle[] =
    "<ProductList>"
    "<ProductGroup DisplayName=\"Prereqs\" Sequence=\"1\" ShowInUI=\"true\" Prerequisites=\"yes\">"
    "<Product Sequence=\"1\" ProductName=\"Runtime\" PropertyName=\"RUNTIME_FOUND\" SpaceRequired=\"7\"/>"
    "</ProductGroup>"
    "<ProductGroup DisplayName=\"Init\" Sequence=\"2\" SetupInitializer=\"yes\">"
    "<Product Sequence=\"1\" ProductName=\"Initializer\" SpaceRequired=\"1\"/>"
    "</ProductGroup>"
    "<ProductGroup DisplayName=\"%SelectedBrand% Suite\" Sequence=\"3\" ShowInUI=\"true\">"
    "<Product Sequence=\"1\" ProductName=\"%SelectedBrand% Studio\" MainProduct=\"true\" SpaceRequired=\"350\" "
    "UninstallCommand=\"{11111111-1111-1111-1111-111111111111}\" RepairCommand=\"REINSTALL=ALL\"/>"
    "<Product Sequence=\"2\" ProductName=\"Samples\" SpaceRequired=\"120\" UninstallCommand=\"{2}\"/>"
    "<Product Sequence=\"3\" ProductName=\"Extras\" Condition=\"WANT_EXTRAS\" SpaceRequired=\"30\" "
    "UninstallCommand=\"{3}\" RepairCommand=\"/r\"/>"
    "<Product Sequence=\"4\" ProductName=\"Update\" SpaceRequired=\"5\"/>"
    "</ProductGroup>"
    "</ProductList>";

struct RunCase {
  const char* name;
  int executionType;
  // Names of the products that run, in list order.
  std::vector<std::wstring> running;
  int totalSpace;
  bool prerequisitesShown;
};

class ProductPropertyUpdaterTest : public FeatureTest, public ::testing::WithParamInterface<RunCase> {
 protected:
  void SetUp() override {
    FeatureTest::SetUp();
    ReadProducts(kBundle);
    record_->SetBrand(L"Pro");
    msi_.properties[L"RUNTIME_FOUND"] = L"false";
    msi_.conditions[L"WANT_EXTRAS"] = true;
  }

  [[nodiscard]] std::vector<std::wstring> Running() {
    std::vector<std::wstring> names;
    for (IProductAttributes* product : Products()) {
      if (!product->IsSkipped()) names.push_back(product->GetProductName());
    }
    return names;
  }
};

TEST_P(ProductPropertyUpdaterTest, RunKindDecidesWhichProductsRunAndTheTotals) {
  const RunCase& c = GetParam();
  record_->SetExecutionType(c.executionType);
  CFeatureUtility::SetNonFeatureSelection(L"Samples", 1);

  ASSERT_TRUE(CProductPropertyUpdater::GetInstance().UpdateProducts(record_.get(), &msi_));

  EXPECT_EQ(Running(), c.running);
  int total = -1;
  record_->GetProductGroupList()->GetTotalSpaceRequired(total);
  EXPECT_EQ(total, c.totalSpace);
  EXPECT_EQ(record_->GetProductGroupList()->GetProductsToExecuteCount(), static_cast<int>(c.running.size()));
  std::vector<IProductGroup*> groups = Groups();
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0]->IsShownInUI(), c.prerequisitesShown);
  EXPECT_EQ(groups[0]->IsSkipped(), c.running.empty() || c.running.front() != L"Runtime");
}

INSTANTIATE_TEST_SUITE_P(
    RunKinds, ProductPropertyUpdaterTest,
    ::testing::Values(RunCase{"Installation",
                              SETUPEXECTYPE_INSTALLATION,
                              {L"Runtime", L"Initializer", L"Pro Studio", L"Samples", L"Extras", L"Update"},
                              7 + 1 + 120 + 30 + 5,
                              true},
                      RunCase{
                          "Modify", SETUPEXECTYPE_MODIFY, {L"Initializer", L"Pro Studio", L"Samples"}, 1 + 120, false},
                      RunCase{"Repair", SETUPEXECTYPE_REPAIR, {L"Pro Studio", L"Extras"}, 0, false},
                      RunCase{"Removal", SETUPEXECTYPE_REMOVE, {L"Pro Studio", L"Samples", L"Extras"}, 0, false},
                      RunCase{"Maintenance", SETUPEXECTYPE_MAINTENANCE, {}, 0, false}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST_F(ProductPropertyUpdaterTest, BrandGoesIntoGroupAndProductNames) {
  record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
  ASSERT_TRUE(CProductPropertyUpdater::GetInstance().UpdateProducts(record_.get(), &msi_));
  EXPECT_EQ(Groups()[2]->GetDisplayName(), L"Pro Suite");
  EXPECT_EQ(Products()[2]->GetProductName(), L"Pro Studio");
}

TEST_F(ProductPropertyUpdaterTest, InstallationSkipsDeselectedAddOnsAndProductsWhoseChecksFail) {
  record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
  CFeatureUtility::SetNonFeatureSelection(L"Samples", 0);
  msi_.conditions[L"WANT_EXTRAS"] = false;
  msi_.properties[L"RUNTIME_FOUND"] = L"1.2.3";
  modeltest::LogCapture log;

  ASSERT_TRUE(CProductPropertyUpdater::GetInstance().UpdateProducts(record_.get(), &msi_));

  EXPECT_EQ(Running(), (std::vector<std::wstring>{L"Initializer", L"Pro Studio", L"Update"}));
  int total = -1;
  record_->GetProductGroupList()->GetTotalSpaceRequired(total);
  EXPECT_EQ(total, 1 + 5);
  // The prerequisites group keeps its configured visibility although nothing of it runs.
  EXPECT_TRUE(Groups()[0]->IsSkipped());
  EXPECT_TRUE(Groups()[0]->IsShownInUI());
  const std::wstring text = log.Text();
  EXPECT_NE(text.find(L"CheckCondition -- Condition WANT_EXTRAS, is evaluated to 0."), std::wstring::npos);
  EXPECT_NE(text.find(L"CheckProperty -- PropertyName is RUNTIME_FOUND, Property Value is 1.2.3."),
            std::wstring::npos);
}

// The selection memory is written under the name taken from the feature id
// ("NonFeature_samples") and read under the product's name ("Samples").
TEST_F(ProductPropertyUpdaterTest, AddOnDeselectedUnderAnotherSpellingStaysSkipped) {
  record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
  CFeatureUtility::SetNonFeatureSelection(L"SAMPLES", 0);
  msi_.properties[L"RUNTIME_FOUND"] = L"1.2.3";
  ASSERT_TRUE(CProductPropertyUpdater::GetInstance().UpdateProducts(record_.get(), &msi_));
  const std::vector<std::wstring> running = Running();
  EXPECT_EQ(std::find(running.begin(), running.end(), L"Samples"), running.end());
  int selected = -1;
  EXPECT_TRUE(CFeatureUtility::FindNonFeatureSelection(L"samples", selected));
  EXPECT_EQ(selected, 0);
}

TEST_F(ProductPropertyUpdaterTest, MissingRecordOrSessionIsRefused) {
  EXPECT_FALSE(CProductPropertyUpdater::GetInstance().UpdateProducts(nullptr, &msi_));
  EXPECT_FALSE(CProductPropertyUpdater::GetInstance().UpdateProducts(record_.get(), nullptr));
}

}  // namespace
}  // namespace featuretest
