#include <gtest/gtest.h>

#include <ostream>

#include <functional>

#include "config/SetupConfigData.h"

namespace {

// One owned list: how the read face sees it and how a reader creates it.
struct OwnedListCase {
  const char* label;
  std::function<const void*(CSetupConfigData&)> read;
  std::function<const void*(CSetupConfigData&)> getOrCreate;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const OwnedListCase& c, std::ostream* os) { *os << c.label; }

class ConfigSetupConfigDataLists : public ::testing::TestWithParam<OwnedListCase> {};

TEST_P(ConfigSetupConfigDataLists, AbsentUntilFirstCreatedThenCreatedOnce) {
  CSetupConfigData record;
  EXPECT_EQ(GetParam().read(record), nullptr);
  const void* first = GetParam().getOrCreate(record);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetParam().getOrCreate(record), first);
  EXPECT_NE(GetParam().read(record), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigSetupConfigDataLists,
    ::testing::Values(
        OwnedListCase{"ProductGroups", [](CSetupConfigData& r) -> const void* { return r.GetProductGroupList(); },
                      [](CSetupConfigData& r) -> const void* { return r.GetOrCreateProductGroupList(3); }},
        OwnedListCase{"LanguageSettings",
                      [](CSetupConfigData& r) -> const void* { return r.GetLocalizationSettings(); },
                      [](CSetupConfigData& r) -> const void* { return r.GetOrCreateLocalizationSettings(); }},
        OwnedListCase{"PreInstallDialogs",
                      [](CSetupConfigData& r) -> const void* { return r.GetPreInstallDialogList(); },
                      [](CSetupConfigData& r) -> const void* { return r.GetOrCreatePreInstallDialogList(); }},
        OwnedListCase{"Images", [](CSetupConfigData& r) -> const void* { return r.GetIconList(); },
                      [](CSetupConfigData& r) -> const void* { return r.GetOrCreateIconList(); }},
        OwnedListCase{"WixStrings", [](CSetupConfigData& r) -> const void* { return r.GetWixLocalizationList(); },
                      [](CSetupConfigData& r) -> const void* { return r.GetOrCreateWixLocalizationList(); }},
        OwnedListCase{"Brands", [](CSetupConfigData& r) -> const void* { return r.GetBrandDetailsList(); },
                      [](CSetupConfigData& r) -> const void* { return r.GetOrCreateBrandDetailsList(); }},
        OwnedListCase{"WixFiles", [](CSetupConfigData& r) -> const void* { return r.GetWixFileContainer(); },
                      [](CSetupConfigData& r) -> const void* { return r.GetOrCreateWixFileContainer(2); }},
        OwnedListCase{"NegativeCapacityHint",
                      [](CSetupConfigData& r) -> const void* { return r.GetProductGroupList(); },
                      [](CSetupConfigData& r) -> const void* { return r.GetOrCreateProductGroupList(-7); }}),
    [](const ::testing::TestParamInfo<OwnedListCase>& info) { return std::string(info.param.label); });

TEST(ConfigSetupConfigData, WixFileContainerKeepsItsPathsOnLaterGetOrCreate) {
  CSetupConfigData record;
  record.GetOrCreateWixFileContainer(1)->AddPath(L"a.wxs");
  CWixFileContainer* again = record.GetOrCreateWixFileContainer(5);
  EXPECT_EQ(again->GetCount(), 1);
}

TEST(ConfigSetupConfigData, WixSourceProductIsNullWithoutOne) {
  CSetupConfigData record;
  IProductListForParser* products =
      record.GetOrCreateProductGroupList(1)->AddGroup(L"G", 1, true, kGroupKindOrdinary)->GetOrCreateProductList(1);
  ASSERT_NE(products->AddProduct(L"P", L"id", L"1_1", kProductTypeMsi, 1, L"", L"", 0, L""), nullptr);
  EXPECT_EQ(record.GetWixSourceProduct(), nullptr);
}

TEST(ConfigSetupConfigData, WixSourceProductIsTheReadFaceOfTheProductGiven) {
  CSetupConfigData record;
  IProductListForParser* products =
      record.GetOrCreateProductGroupList(1)->AddGroup(L"G", 1, true, kGroupKindOrdinary)->GetOrCreateProductList(1);
  IProductAttributesForParser* product =
      products->AddProduct(L"Main", L"id", L"1_1", kProductTypeMsi, 1, L"", L"", 0, L"");
  ASSERT_NE(product, nullptr);
  record.SetWixSourceProduct(product);
  IProductGroupList* groups = record.GetProductGroupList();
  groups->ResetIteration();
  IProductList* list = groups->GetNextGroup()->GetProductList();
  ASSERT_NE(list, nullptr);
  list->ResetIteration();
  EXPECT_EQ(record.GetWixSourceProduct(), list->GetNextProduct());
}

TEST(ConfigSetupConfigData, SetupIconIsNullWithoutImages) {
  CSetupConfigData record;
  EXPECT_EQ(record.GetSetupIcon(), nullptr);
}

TEST(ConfigSetupConfigData, ProcessCheckListIsTakenOver) {
  CSetupConfigData record;
  EXPECT_EQ(record.GetPreconditionProcessCheckList(), nullptr);
  auto checks = std::make_unique<CPreconditionProcessCheckList>();
  checks->AddCheck(L"app.exe", L"1");
  record.SetPreconditionProcessCheckList(std::move(checks));
  ASSERT_NE(record.GetPreconditionProcessCheckList(), nullptr);
  EXPECT_EQ(record.GetPreconditionProcessCheckList()->GetCount(), 1);
  record.SetPreconditionProcessCheckList(nullptr);
  EXPECT_NE(record.GetPreconditionProcessCheckList(), nullptr) << "a null list keeps the one held";
}

TEST(ConfigSetupConfigData, BrandListSettlesTheRecordsBrand) {
  CSetupConfigData record;
  record.SetBrand(L"Unknown");
  IBrandDetailsList* brands = record.GetOrCreateBrandDetailsList();
  brands->AddBrand(L"Contoso", L"CTS", false, L"", L"", L"", L"", L"");
  brands->SettleSelectedBrand();
  EXPECT_EQ(record.GetBrand(), L"CTS");
}

struct TokenCase {
  const char* label;
  const wchar_t* productName;
  const wchar_t* text;
  const wchar_t* expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TokenCase& c, std::ostream* os) { *os << c.label; }

class ConfigReplaceProductNameToken : public ::testing::TestWithParam<TokenCase> {};

TEST_P(ConfigReplaceProductNameToken, ReplacesEveryOccurrence) {
  CSetupConfigData record;
  record.SetProductName(GetParam().productName);
  std::wstring text = GetParam().text;
  record.ReplaceProductNameToken(text);
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigReplaceProductNameToken,
    ::testing::Values(TokenCase{"Twice", L"Suite", L"[ProductName] and [ProductName]!", L"Suite and Suite!"},
                      TokenCase{"Absent", L"Suite", L"Install [Other] now", L"Install [Other] now"},
                      TokenCase{"CaseMatters", L"Suite", L"[productname]", L"[productname]"},
                      TokenCase{"EmptyName", L"", L"Welcome to [ProductName]", L"Welcome to "}),
    [](const ::testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.label); });

TEST(ConfigSetupConfigData, StartValues) {
  CSetupConfigData record;
  EXPECT_EQ(record.GetExecutionType(), 8);
  EXPECT_TRUE(record.IsRegisterableSetup());
  EXPECT_EQ(record.GetLogFileDetails(), nullptr);
}

TEST(ConfigSetupConfigData, SetPlatformKeepsTheLastChoice) {
  CSetupConfigData record;
  record.SetPlatform(true);
  EXPECT_EQ(record.GetPlatform(), L"x64");
  record.SetPlatform(false);
  EXPECT_EQ(record.GetPlatform(), L"x86");
}

}  // namespace
