#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "config/ConfigTestSupport.h"
#include "config/XmlTestFiles.h"
#include "support/TestPaths.h"
#include "ui/style/DialogUnitConverter.h"
#include "ui/style/StyleConfigData.h"
#include "ui/style/StyleConfigParser.h"

namespace {

struct StyleRuleCase {
  const char* label;
  const char* colorThemes;
  const char* fonts;
  const char* controls;
  std::function<void(CStyleConfigData&)> check;
};
void PrintTo(const StyleRuleCase& c, std::ostream* os) { *os << c.label; }

std::string StyleXml(const StyleRuleCase& c) {
  return std::string("<?xml version=\"1.0\"?><StyleConfig><ColorThemes>") + c.colorThemes +
         "</ColorThemes><Fonts>" + c.fonts + "</Fonts><Controls>" + c.controls + "</Controls></StyleConfig>";
}

class StyleConfigRules : public ::testing::TestWithParam<StyleRuleCase> {
 protected:
  void SetUp() override { folder_ = testsupport::MakeScratchFolder(L"StyleRules"); }
  void TearDown() override { testsupport::RemoveFolder(folder_); }
  std::wstring folder_;
};

TEST_P(StyleConfigRules, DecideHowControlsAreDrawn) {
  std::wstring path = configtest::WriteXml(folder_, L"StyleConfig.xml", StyleXml(GetParam()));
  CStyleConfigData record;
  CStyleConfigParser parser(record);
  ASSERT_TRUE(parser.StartParse(path));
  GetParam().check(record);
}

constexpr int kButton = kStyleButton;

INSTANTIATE_TEST_SUITE_P(
    Cases, StyleConfigRules,
    ::testing::Values(
        StyleRuleCase{"Red300Gives44", "<Hot R=\"300\" G=\"0\" B=\"0\"/>", "",
                      "<Button><Standard ColorFront=\"Hot\"/></Button>",
                      [](CStyleConfigData& r) { EXPECT_EQ(r.GetControlStyleValue(kButton, kModeStandard, kColorFront), 44u); }},
        StyleRuleCase{"ComponentsMakeAWindowsColour", "<Mix R=\"1\" G=\"2\" B=\"259\"/>", "",
                      "<Dialog><Standard ColorFront=\"Mix\" ColorEdge=\"Mix\"/></Dialog>",
                      [](CStyleConfigData& r) {
                        COLORREF colour = 1;
                        EXPECT_TRUE(r.GetDialogColour(colour));
                        EXPECT_EQ(colour, 0x030201u);
                      }},
        StyleRuleCase{"UnknownThemeNameGivesBlack", "<White R=\"255\" G=\"255\" B=\"255\"/>", "",
                      "<Text><Standard ColorFront=\"White\" FontColor=\"NoSuchTheme\"/></Text>",
                      [](CStyleConfigData& r) {
                        ASSERT_NE(r.GetControlStyle(kStyleText, kModeStandard), nullptr);
                        EXPECT_EQ(r.GetControlStyleValue(kStyleText, kModeStandard, kColorFront), 0xFFFFFFu);
                        EXPECT_EQ(r.GetControlStyleValue(kStyleText, kModeStandard, kFontColor), 0u);
                        EXPECT_EQ(r.GetControlStyleValue(kStyleText, kModeStandard, kColorEdge), 0u);
                      }},
        StyleRuleCase{"FirstDuplicateModeWins", "<A R=\"10\" G=\"0\" B=\"0\"/><B R=\"20\" G=\"0\" B=\"0\"/>", "",
                      "<Button><Over ColorFront=\"A\"/><Over ColorFront=\"B\"/></Button>",
                      [](CStyleConfigData& r) { EXPECT_EQ(r.GetControlStyleValue(kButton, kModeOver, kColorFront), 10u); }},
        StyleRuleCase{"FirstDuplicateControlWins", "<A R=\"10\" G=\"0\" B=\"0\"/><B R=\"20\" G=\"0\" B=\"0\"/>", "",
                      "<Button><Down ColorEdge=\"A\"/></Button><Button><Down ColorEdge=\"B\"/><Default ColorEdge=\"B\"/></Button>",
                      [](CStyleConfigData& r) {
                        EXPECT_EQ(r.GetControlStyleValue(kButton, kModeDown, kColorEdge), 10u);
                        EXPECT_EQ(r.GetControlStyle(kButton, kModeDefault), nullptr);
                      }},
        StyleRuleCase{"FirstDuplicateFontWins", "", "<F Name=\"Tahoma\" Size=\"8\"/><F Name=\"Arial\" Size=\"12\"/>", "",
                      [](CStyleConfigData& r) {
                        ASSERT_NE(r.FindFontScheme(L"F"), nullptr);
                        EXPECT_EQ(r.FindFontScheme(L"F")->GetFaceName(), L"Tahoma");
                        EXPECT_EQ(r.FindFontScheme(L"F")->GetSize(), 8);
                      }},
        StyleRuleCase{"WeightSmallBIsBold", "", "<F Name=\"Tahoma\" Size=\"9\" Weight=\"b\" Italic=\"1\"/>", "",
                      [](CStyleConfigData& r) {
                        ASSERT_NE(r.FindFontScheme(L"F"), nullptr);
                        EXPECT_TRUE(r.FindFontScheme(L"F")->IsBold());
                        EXPECT_TRUE(r.FindFontScheme(L"F")->IsItalic());
                        EXPECT_FALSE(r.FindFontScheme(L"F")->IsUnderline());
                        EXPECT_EQ(r.FindFontScheme(L"F")->Describe(-12).lfWeight, 800);
                      }},
        StyleRuleCase{"WeightBoldIsNotBold", "", "<F Name=\"Tahoma\" Size=\"9\" Weight=\"Bold\" Underline=\"yes\"/>", "",
                      [](CStyleConfigData& r) {
                        ASSERT_NE(r.FindFontScheme(L"F"), nullptr);
                        EXPECT_FALSE(r.FindFontScheme(L"F")->IsBold());
                        EXPECT_FALSE(r.FindFontScheme(L"F")->IsUnderline());
                        EXPECT_EQ(r.FindFontScheme(L"F")->Describe(-12).lfWeight, 0);
                      }},
        StyleRuleCase{"UnknownKindModeAndAttributeAreSkipped", "<A R=\"10\" G=\"0\" B=\"0\"/>", "",
                      "<PushButton><Standard ColorFront=\"A\"/></PushButton>"
                      "<Button><Hover ColorFront=\"A\"/><Standard Colour=\"A\" FontName=\"F\"/><Disabled/></Button>",
                      [](CStyleConfigData& r) {
                        const StyleAttributes* standard = r.GetControlStyle(kButton, kModeStandard);
                        ASSERT_NE(standard, nullptr);
                        EXPECT_EQ(standard->fontName, L"F");
                        EXPECT_EQ(standard->colors[kColorFront], 0u);
                        EXPECT_EQ(r.GetControlStyle(kButton, kModeDisabled), nullptr);
                      }},
        StyleRuleCase{"EmptySectionsFindNothing", "", "", "",
                      [](CStyleConfigData& r) {
                        modeltest::LogCapture log;
                        ASSERT_TRUE(log.IsActive());
                        EXPECT_EQ(r.GetControlStyle(kButton, kModeStandard), nullptr);
                        EXPECT_EQ(r.GetFont(L"Title"), nullptr);
                        EXPECT_EQ(log.Count(L"INFORMATION:\tCould not find the control type,15."), 1u);
                        EXPECT_EQ(log.Count(L"INFORMATION:\tCould not find the Font scheme for the font, Title."), 1u);
                      }}),
    [](const ::testing::TestParamInfo<StyleRuleCase>& info) { return std::string(info.param.label); });

TEST(StyleConfigFile, MissingSectionOrUnreadableColourFailsTheWholeFile) {
  std::wstring folder = testsupport::MakeScratchFolder(L"StyleFailures");
  const char* files[] = {
      "<StyleConfig><ColorThemes/><Fonts/></StyleConfig>",
      "<StyleConfig><Fonts/><Controls/></StyleConfig>",
      "<StyleConfig><ColorThemes><A R=\"1\" B=\"2\"/></ColorThemes><Fonts/><Controls/></StyleConfig>",
      "<StyleConfig><ColorThemes>",
  };
  for (const char* xml : files) {
    CStyleConfigData record;
    CStyleConfigParser parser(record);
    EXPECT_FALSE(parser.StartParse(configtest::WriteXml(folder, L"StyleConfig.xml", xml))) << xml;
  }
  CStyleConfigData record;
  CStyleConfigParser parser(record);
  EXPECT_FALSE(parser.StartParse(folder + L"missing.xml"));
  testsupport::RemoveFolder(folder);
}

TEST(StyleConfigFonts, FontIsMadeOnceInPointsAndTheTitleBarGetsTheSameObject) {
  std::wstring folder = testsupport::MakeScratchFolder(L"StyleFonts");
  std::wstring path = configtest::WriteXml(
      folder, L"StyleConfig.xml",
      "<StyleConfig><ColorThemes/><Fonts><Caption Name=\"Tahoma\" Size=\"9\" Weight=\"B\"/>"
      "<DefaultUIFont Name=\"Tahoma\" Size=\"8\"/></Fonts>"
      "<Controls><TitleBar><Standard FontName=\"Caption\"/></TitleBar></Controls></StyleConfig>");
  CStyleConfigData record;
  CStyleConfigParser parser(record);
  ASSERT_TRUE(parser.StartParse(path));
  HFONT font = record.GetFont(L"Caption");
  ASSERT_NE(font, nullptr);
  LOGFONTW description{};
  ASSERT_EQ(::GetObjectW(font, sizeof(description), &description), static_cast<int>(sizeof(description)));
  HDC screen = ::GetDC(nullptr);
  int pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(description.lfHeight, -::MulDiv(9, pixelsPerInch, 72));
  EXPECT_EQ(description.lfWeight, 800);
  EXPECT_EQ(std::wstring(description.lfFaceName), L"Tahoma");
  EXPECT_EQ(record.GetTitleBarFont(), font);
  EXPECT_EQ(record.GetFont(L"Caption"), font);
  std::wstring face;
  int size = 0;
  EXPECT_TRUE(record.GetDefaultUIFont(face, size));
  EXPECT_EQ(face, L"Tahoma");
  EXPECT_EQ(size, 8);
  testsupport::RemoveFolder(folder);
}

TEST(StyleConfigFonts, TitleBarFontAskedFirstIsAPixelHeight) {
  CFontScheme scheme(L"A face name far longer than a font description holds", 18, false, false, true, true);
  LOGFONTW description = scheme.Describe(18);
  EXPECT_EQ(std::wstring(description.lfFaceName).size(), static_cast<size_t>(LF_FACESIZE - 1));
  EXPECT_EQ(description.lfUnderline, 1);
  EXPECT_EQ(description.lfStrikeOut, 1);
  EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(description.lfOutPrecision, OUT_TT_PRECIS);
  EXPECT_EQ(description.lfPitchAndFamily, 0x30);
  HFONT font = scheme.GetOrCreateFont(18);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(scheme.GetOrCreateFont(-40), font);
}

}  // namespace
