#include <gtest/gtest.h>

#include "platform/StringUtil.h"

namespace {

TEST(StringUtil, FormatGrowsPastItsFirstBuffer) {
  std::wstring big(1000, L'x');
  EXPECT_EQ(platform::Format(L"[%s] %d", big.c_str(), 42), L"[" + big + L"] 42");
}

TEST(StringUtil, TrimRemovesBlanksOnlyAtTheEnds) {
  EXPECT_EQ(platform::Trim(L" \t a b \r\n"), L"a b");
  EXPECT_EQ(platform::TrimLeft(L"  a "), L"a ");
  EXPECT_EQ(platform::TrimRight(L"  a "), L"  a");
  EXPECT_EQ(platform::Trim(L"   "), L"");
}

TEST(StringUtil, CaseInsensitiveComparison) {
  EXPECT_TRUE(platform::EqualsNoCase(L"NoMutex", L"NOMUTEX"));
  EXPECT_FALSE(platform::EqualsNoCase(L"si", L"sii"));
  EXPECT_LT(platform::CompareNoCase(L"abc", L"ABD"), 0);
  EXPECT_TRUE(platform::StartsWithNoCase(L"DeveloperInfo", L"DEVELOPER"));
  EXPECT_TRUE(platform::ContainsNoCase(L"a [ProductName] b", L"[productname]"));
}

TEST(StringUtil, SplitKeepsEmptyParts) {
  EXPECT_EQ(platform::Split(L"a,,b,", L","), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
  EXPECT_EQ(platform::Split(L"C:\\a\\b", L"\\"), (std::vector<std::wstring>{L"C:", L"a", L"b"}));
}

TEST(StringUtil, ReplaceAllDoesNotRescanReplacedText) {
  std::wstring text = L"%A% and %A%";
  EXPECT_EQ(platform::ReplaceAll(text, L"%A%", L"%A%%A%"), 2u);
  EXPECT_EQ(text, L"%A%%A% and %A%%A%");
}

struct IntCase {
  const char* name;
  const wchar_t* text;
  int expected;
};
class StringUtilToInt : public ::testing::TestWithParam<IntCase> {};
TEST_P(StringUtilToInt, ReadsLikeTheCRuntime) { EXPECT_EQ(platform::ToInt(GetParam().text), GetParam().expected); }
INSTANTIATE_TEST_SUITE_P(Cases, StringUtilToInt,
                         ::testing::Values(IntCase{"Plain", L"1031", 1031},
                                           IntCase{"LeadingBlankTrailingText", L" 12a", 12},
                                           IntCase{"NoDigits", L"abc", 0}, IntCase{"Empty", L"", 0},
                                           IntCase{"Negative", L"-5", -5}, IntCase{"PlusSign", L"+7", 7},
                                           IntCase{"TooLargeClamps", L"99999999999", 2147483647}),
                         [](const ::testing::TestParamInfo<IntCase>& info) { return std::string(info.param.name); });

TEST(StringUtil, Utf8RoundTrip) {
  std::wstring text = L"Überprüfen 日志";
  EXPECT_EQ(platform::Utf8ToWide(platform::WideToUtf8(text)), text);
}

}  // namespace
