#include <gtest/gtest.h>

#include <ostream>

#include <vector>

#include "ConfigTestSupport.h"
#include "config/SetupConfigData.h"
#include "support/WixSetBundle.h"

namespace {

using modeltest::ImageFolder;

struct BrandSpec {
  const wchar_t* value;
  bool isDefault;
};

struct SettleCase {
  const char* label;
  std::vector<BrandSpec> brands;
  const wchar_t* selected;
  const wchar_t* expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SettleCase& c, std::ostream* os) { *os << c.label; }

class ConfigBrandSettle : public ::testing::TestWithParam<SettleCase> {};

TEST_P(ConfigBrandSettle, SelectsAConfiguredBrandWhenUnambiguous) {
  CSetupConfigData record;
  record.SetBrand(GetParam().selected);
  CBrandDetailsList brands(record, ImageFolder());
  for (const BrandSpec& b : GetParam().brands) {
    brands.AddBrand(std::wstring(L"Name of ") + b.value, b.value, b.isDefault, L"", L"", L"", L"", L"");
  }
  brands.SettleSelectedBrand();
  EXPECT_EQ(record.GetBrand(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigBrandSettle,
    ::testing::Values(SettleCase{"ConfiguredSelectionStays", {{L"A", false}, {L"B", true}}, L"A", L"A"},
                      SettleCase{"SingleBrandIsTaken", {{L"A", false}}, L"X", L"A"},
                      SettleCase{"SeveralTakeTheDefault", {{L"A", false}, {L"B", true}}, L"X", L"B"},
                      SettleCase{"SeveralWithoutDefaultLeaveIt", {{L"A", false}, {L"B", false}}, L"X", L"X"},
                      SettleCase{"LastDefaultWins", {{L"A", true}, {L"B", true}, {L"C", false}}, L"", L"B"},
                      SettleCase{"NoBrandsLeaveIt", {}, L"X", L"X"}),
    [](const ::testing::TestParamInfo<SettleCase>& info) { return std::string(info.param.label); });

class ConfigBrandDetailsList : public ::testing::Test {
 protected:
  void SetUp() override {
    brands_.AddBrand(L"Contoso Suite", L"CTS", true, L"dlgbmp.bmp", L"bannrbmp.bmp", L"dlgbmp.bmp", L"Splash 1.0",
                     L"Banner 1.0");
    brands_.AddBrand(L"Fabrikam", L"FAB", false, L"missing.bmp", L"", L"", L"", L"");
  }
  CSetupConfigData record_;
  CBrandDetailsList brands_{record_, ImageFolder()};
};

TEST_F(ConfigBrandDetailsList, LooksUpBrandsByValue) {
  EXPECT_TRUE(brands_.IsBrandConfigured(L"CTS"));
  EXPECT_FALSE(brands_.IsBrandConfigured(L"Contoso Suite"));
  EXPECT_FALSE(brands_.IsBrandConfigured(L""));
  EXPECT_EQ(brands_.GetBrandName(L"FAB"), L"Fabrikam");
}

TEST_F(ConfigBrandDetailsList, UnknownBrandNameIsEmptyAndLogged) {
  record_.SetProductName(L"Suite");
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(brands_.GetBrandName(L"NONE"), L"");
  EXPECT_EQ(log.Count(L"Unable to find the brand for the product Suite"), 1u);
}

TEST_F(ConfigBrandDetailsList, VersionTextsFollowTheSelectedBrand) {
  EXPECT_EQ(brands_.GetSplashVersionText(), L"");
  record_.SetBrand(L"CTS");
  EXPECT_EQ(brands_.GetSplashVersionText(), L"Splash 1.0");
  EXPECT_EQ(brands_.GetBannerVersionText(), L"Banner 1.0");
}

TEST_F(ConfigBrandDetailsList, ImageWithoutSelectedBrandIsAnError) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(brands_.LoadBrandImage(kBrandImageBanner, 100, 20), nullptr);
  EXPECT_EQ(log.Count(L"ERROR:\t\tUnable to find the brand."), 1u);
}

TEST_F(ConfigBrandDetailsList, MissingImageFileIsAnError) {
  record_.SetBrand(L"FAB");
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(brands_.LoadBrandImage(kBrandImageSplash, 0, 0), nullptr);
  EXPECT_EQ(log.Count(L"Unable to load the bitmap " + ImageFolder() + L"missing.bmp"), 1u);
}

TEST_F(ConfigBrandDetailsList, ImagesAreKeptPerKindAndSize) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  record_.SetBrand(L"CTS");
  HBITMAP banner = brands_.LoadBrandImage(kBrandImageBanner, 200, 30);
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(brands_.LoadBrandImage(kBrandImageBanner, 200, 30), banner);
  HBITMAP larger = brands_.LoadBrandImage(kBrandImageBanner, 400, 60);
  ASSERT_NE(larger, nullptr);
  EXPECT_NE(larger, banner);
  BITMAP first = {};
  ASSERT_NE(::GetObjectW(banner, sizeof(first), &first), 0) << "the handle given out first stays valid";
  EXPECT_EQ(first.bmWidth, 200);
  HBITMAP splash = brands_.LoadBrandImage(kBrandImageSplash, 0, 0);
  ASSERT_NE(splash, nullptr);
  BITMAP natural = {};
  ASSERT_NE(::GetObjectW(splash, sizeof(natural), &natural), 0);
  EXPECT_GT(natural.bmWidth, 0);
}

}  // namespace
