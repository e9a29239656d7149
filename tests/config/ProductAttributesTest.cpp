#include <gtest/gtest.h>

#include <ostream>

#include <vector>

#include "ConfigTestSupport.h"
#include "config/ProductAttributes.h"

namespace {

CProductAttributes MakeProduct() {
  return CProductAttributes(L"Product", L"Id", L"1_1", kProductTypeExe, 1, L"loc", L"install", 10, L"silent");
}

struct ExitCodeCase {
  const char* label;
  const wchar_t* text;
  std::vector<int> codes;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ExitCodeCase& c, std::ostream* os) { *os << c.label; }

class ConfigExitCodeList : public ::testing::TestWithParam<ExitCodeCase> {};

TEST_P(ConfigExitCodeList, ParsesLabelledEntries) {
  EXPECT_EQ(CProductAttributes::ParseExitCodeList(GetParam().text), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigExitCodeList,
    ::testing::Values(ExitCodeCase{"TwoEntries", L"Reboot<>3010,Busy<>1618", {3010, 1618}},
                      ExitCodeCase{"BareNumberIgnored", L"3010", {}},
                      ExitCodeCase{"DoubleCommaSkipped", L"a<>1,,b<>2", {1, 2}},
                      ExitCodeCase{"LeadingAndTrailingCommas", L",a<>5,", {5}},
                      ExitCodeCase{"EmptyLabel", L"<>7", {7}},
                      ExitCodeCase{"NoDigitsReadsZero", L"a<>x", {0}},
                      ExitCodeCase{"NothingAfterMarkerReadsZero", L"a<>", {0}},
                      ExitCodeCase{"TrailingTextAfterDigits", L"a<>12abc", {12}},
                      ExitCodeCase{"NegativeCode", L"a<>-1", {-1}},
                      ExitCodeCase{"MixedGoodAndBad", L"x,a<>4,y<3,b<>9", {4, 9}},
                      ExitCodeCase{"Empty", L"", {}}),
    [](const ::testing::TestParamInfo<ExitCodeCase>& info) { return std::string(info.param.label); });

TEST(ConfigProductAttributes, SetDetailsFillsWarningAndInformationalListsSeparately) {
  CProductAttributes product = MakeProduct();
  product.SetDetails(L"", L"", L"", L"", L"", L"", 600, 120, L"w<>3010,w<>1618", L"i<>5");
  EXPECT_TRUE(product.IsWarningExitCode(3010));
  EXPECT_TRUE(product.IsWarningExitCode(1618));
  EXPECT_FALSE(product.IsWarningExitCode(5));
  EXPECT_TRUE(product.IsInformationalExitCode(5));
  EXPECT_FALSE(product.IsInformationalExitCode(3010));
  EXPECT_EQ(product.GetTimeOut(), 600);
  EXPECT_EQ(product.GetProgressTimeOut(), 120);
}

TEST(ConfigProductAttributes, NewProductIsSkippedAndNotRun) {
  CProductAttributes product = MakeProduct();
  EXPECT_TRUE(product.IsSkipped());
  EXPECT_EQ(product.GetExecutionStatus(), kExecutionStatusNotRun);
  EXPECT_FALSE(product.IsWarningExitCode(0));
}

struct TransformCase {
  const char* label;
  LANGID language;
  const wchar_t* expected;
  bool warns;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TransformCase& c, std::ostream* os) { *os << c.label; }

class ConfigProductTransform : public ::testing::TestWithParam<TransformCase> {};

TEST_P(ConfigProductTransform, GivesTheTransformOfTheLanguage) {
  const TransformCase& c = GetParam();
  CProductAttributes product = MakeProduct();
  EXPECT_TRUE(product.AddTransform(1031, L"de.mst"));
  EXPECT_FALSE(product.AddTransform(1031, L"other.mst")) << "a second entry for a language is dropped";
  EXPECT_TRUE(product.AddTransform(1036, L"fr.mst"));
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(product.GetTransformForLanguage(c.language), c.expected);
  EXPECT_EQ(log.Count(L"Transform file could not be found for the languageid, " + std::to_wstring(c.language) + L"."),
            c.warns ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigProductTransform,
    ::testing::Values(TransformCase{"German", 1031, L"de.mst", false}, TransformCase{"French", 1036, L"fr.mst", false},
                      TransformCase{"MissingEnglishIsSilent", 1033, L"", false},
                      TransformCase{"MissingJapaneseWarns", 1041, L"", true}),
    [](const ::testing::TestParamInfo<TransformCase>& info) { return std::string(info.param.label); });

}  // namespace
