#include <gtest/gtest.h>

#include <ostream>

#include <vector>

#include "config/ProductGroupList.h"

namespace {

std::vector<int> GroupSequences(CProductGroupList& list, bool reverse) {
  std::vector<int> sequences;
  if (reverse) list.ResetReverseIteration();
  else list.ResetIteration();
  while (IProductGroup* group = list.GetNextGroup()) sequences.push_back(group->GetSequence());
  return sequences;
}

std::vector<int> ProductSequences(CProductList& list, bool reverse) {
  std::vector<int> sequences;
  if (reverse) list.ResetReverseIteration();
  else list.ResetIteration();
  while (IProductAttributes* product = list.GetNextProduct()) sequences.push_back(product->GetSequence());
  return sequences;
}

IProductAttributesForParser* AddProduct(IProductListForParser* list, int sequence, const std::wstring& name = L"P") {
  return list->AddProduct(name, L"id", L"1_" + std::to_wstring(sequence), kProductTypeMsi, sequence, L"loc",
                          L"install", 0, L"silent");
}

struct SortCase {
  const char* label;
  std::vector<int> added;
  std::vector<int> sorted;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SortCase& c, std::ostream* os) { *os << c.label; }

class ConfigProductSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(ConfigProductSort, GroupsSortBySequenceAsUnsignedNumbers) {
  CProductGroupList list(0);
  for (int sequence : GetParam().added) ASSERT_NE(list.AddGroup(L"G", sequence, true, kGroupKindOrdinary), nullptr);
  list.SortBySequence();
  EXPECT_EQ(GroupSequences(list, false), GetParam().sorted);
}

TEST_P(ConfigProductSort, ProductsSortBySequenceAsUnsignedNumbers) {
  CProductList list(0);
  for (int sequence : GetParam().added) ASSERT_NE(AddProduct(&list, sequence), nullptr);
  list.SortBySequence();
  EXPECT_EQ(ProductSequences(list, false), GetParam().sorted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigProductSort,
    ::testing::Values(SortCase{"Shuffled", {2, 1, 3}, {1, 2, 3}},
                      SortCase{"TenAfterNine", {10, 9, 1}, {1, 9, 10}},
                      SortCase{"NegativeLast", {-1, 5, 0}, {0, 5, -1}},
                      SortCase{"NegativesAfterLargePositive", {-2, 2147483647, -1}, {2147483647, -2, -1}},
                      SortCase{"Empty", {}, {}}),
    [](const ::testing::TestParamInfo<SortCase>& info) { return std::string(info.param.label); });

TEST(ConfigProductGroupList, NeverResetIterationGivesNothing) {
  CProductGroupList list(2);
  ASSERT_NE(list.AddGroup(L"A", 1, true, kGroupKindOrdinary), nullptr);
  EXPECT_EQ(list.GetNextGroup(), nullptr);
}

TEST(ConfigProductGroupList, ForwardAndReverseIterationVisitEveryGroupOnce) {
  CProductGroupList list(3);
  for (int sequence : {1, 2, 3}) ASSERT_NE(list.AddGroup(L"G", sequence, false, kGroupKindOrdinary), nullptr);
  EXPECT_EQ(GroupSequences(list, false), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(GroupSequences(list, true), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(list.GetNextGroup(), nullptr) << "an exhausted cursor stays exhausted";
}

TEST(ConfigProductGroupList, ReverseIterationOverEmptyListEndsAtOnce) {
  CProductGroupList list(0);
  list.ResetReverseIteration();
  EXPECT_EQ(list.GetNextGroup(), nullptr);
}

TEST(ConfigProductGroupList, GroupsAddedAfterResetAreNotVisited) {
  CProductGroupList list(0);
  ASSERT_NE(list.AddGroup(L"A", 1, true, kGroupKindOrdinary), nullptr);
  list.ResetIteration();
  ASSERT_NE(list.AddGroup(L"B", 2, true, kGroupKindOrdinary), nullptr);
  IProductGroup* first = list.GetNextGroup();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetDisplayName(), L"A");
  EXPECT_EQ(list.GetNextGroup(), nullptr);
}

TEST(ConfigProductList, ProductsAddedAfterReverseResetAreNotVisited) {
  CProductList list(1);
  ASSERT_NE(AddProduct(&list, 1), nullptr);
  ASSERT_NE(AddProduct(&list, 2), nullptr);
  list.ResetReverseIteration();
  ASSERT_NE(AddProduct(&list, 3), nullptr);
  std::vector<int> seen;
  while (IProductAttributes* product = list.GetNextProduct()) seen.push_back(product->GetSequence());
  EXPECT_EQ(seen, (std::vector<int>{2, 1}));
  EXPECT_EQ(list.GetCount(), 3);
}

TEST(ConfigProductGroupList, NewGroupIsSkippedWithoutProductsAndKeepsConfiguredShowInUI) {
  CProductGroupList list(1);
  ASSERT_NE(list.AddGroup(L"Tools", 4, true, kGroupKindPrerequisites), nullptr);
  list.ResetIteration();
  IProductGroup* group = list.GetNextGroup();
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(group->IsSkipped());
  EXPECT_EQ(group->GetProductList(), nullptr);
  group->SetShownInUI(false);
  EXPECT_FALSE(group->IsShownInUI());
  EXPECT_TRUE(group->GetConfiguredShowInUI());
}

TEST(ConfigProductGroup, GetOrCreateProductListCreatesOnce) {
  CProductGroup group(L"G", 1, true, kGroupKindOrdinary);
  IProductListForParser* first = group.GetOrCreateProductList(4);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(AddProduct(first, 1), nullptr);
  EXPECT_EQ(group.GetOrCreateProductList(9), first);
  ASSERT_NE(group.GetProductList(), nullptr);
  EXPECT_EQ(group.GetProductList()->GetCount(), 1);
}

TEST(ConfigProductGroupList, NegativeCapacityHintIsHarmless) {
  CProductGroupList groups(-1);
  CProductList products(-5);
  EXPECT_NE(groups.AddGroup(L"G", 1, true, kGroupKindOrdinary), nullptr);
  EXPECT_NE(AddProduct(&products, 1), nullptr);
}

// Builds: group 1 (ordinary) with a WixSource product, then optionally a SetupInitializer group.
struct UIProductCase {
  const char* label;
  bool withInitializer;
  bool initializerHasProducts;
  const wchar_t* expected;  // product name, or null
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const UIProductCase& c, std::ostream* os) { *os << c.label; }

class ConfigUIProduct : public ::testing::TestWithParam<UIProductCase> {};

TEST_P(ConfigUIProduct, PicksInitializerProductOrFirstWixSource) {
  const UIProductCase& c = GetParam();
  CProductGroupList list(2);
  IProductListForParser* ordinary = list.AddGroup(L"Main", 1, true, kGroupKindOrdinary)->GetOrCreateProductList(2);
  IProductAttributesForParser* plain = AddProduct(ordinary, 1, L"Plain");
  plain->SetFlags(false, false, false, false, true, false, false);
  IProductAttributesForParser* wix = AddProduct(ordinary, 2, L"WixProduct");
  wix->SetFlags(true, false, true, false, true, false, false);
  if (c.withInitializer) {
    IProductGroupForParser* init = list.AddGroup(L"Init", 0, false, kGroupKindSetupInitializer);
    if (c.initializerHasProducts) {
      ASSERT_NE(AddProduct(init->GetOrCreateProductList(1), 1, L"Initializer"), nullptr);
    }
  }
  IProductAttributes* product = list.GetUIProduct();
  if (c.expected == nullptr) {
    EXPECT_EQ(product, nullptr);
  } else {
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->GetProductName(), c.expected);
  }
  EXPECT_EQ(list.GetSetupInitializerGroup() != nullptr, c.withInitializer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigUIProduct,
    ::testing::Values(UIProductCase{"NoInitializerGivesWixSource", false, false, L"WixProduct"},
                      UIProductCase{"InitializerProductWins", true, true, L"Initializer"},
                      UIProductCase{"EmptyInitializerGivesNull", true, false, nullptr}),
    [](const ::testing::TestParamInfo<UIProductCase>& info) { return std::string(info.param.label); });

}  // namespace
