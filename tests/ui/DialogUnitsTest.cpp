#include <gtest/gtest.h>

#include "config/ConfigTestSupport.h"
#include "config/XmlTestFiles.h"
#include "support/TestPaths.h"
#include "ui/style/DialogUnitConverter.h"
#include "ui/style/MainDialogConfigData.h"
#include "ui/style/MainDialogConfigParser.h"
#include "ui/style/StyleConfigData.h"
#include "ui/style/StyleConfigParser.h"

namespace {

constexpr double kScale96 = 96.0 / 72.0;
// What the 8 point shell font gives at 96 DPI: base width 6, height 13.
constexpr double kHorizontal96 = 4.0 / 6.0 * kScale96;
constexpr double kVertical96 = 8.0 / 13.0 * kScale96;

struct RoundCase {
  const char* name;
  double value;
  int expected;
};
void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.name << " (" << c.value << ")"; }

class DialogUnitRounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(DialogUnitRounding, TruncatesAndAddsOneFromHalfOn) { EXPECT_EQ(ui::RoundToInt(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Values, DialogUnitRounding,
                         ::testing::Values(RoundCase{"Zero", 0.0, 0}, RoundCase{"BelowHalf", 0.49, 0},
                                           RoundCase{"Half", 0.5, 1}, RoundCase{"TwoThirdsAbove", 666.6666, 667},
                                           RoundCase{"Whole", 40.0, 40}, RoundCase{"JustBelowWhole", 39.99, 40},
                                           RoundCase{"NegativeHalf", -2.5, -3},
                                           RoundCase{"NegativeBelowHalf", -2.4, -2}),
                         [](const ::testing::TestParamInfo<RoundCase>& info) { return std::string(info.param.name); });

struct ConversionCase {
  const char* label;
  RECT authored;
  bool toDialogUnits;
  RECT expected;
};
void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.label; }

class DialogUnitConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(DialogUnitConversion, At96Dpi) {
  CDialogUnitConverter converter;
  converter.SetFactors(kHorizontal96, kVertical96, kScale96);
  const ConversionCase& c = GetParam();
  RECT got = c.toDialogUnits ? converter.ToDialogUnits(c.authored) : converter.ScaleRect(c.authored);
  EXPECT_EQ(got.left, c.expected.left);
  EXPECT_EQ(got.top, c.expected.top);
  EXPECT_EQ(got.right, c.expected.right);
  EXPECT_EQ(got.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogUnitConversion,
    ::testing::Values(ConversionCase{"TitleBarInPixels", {0, 0, 500, 30}, false, {0, 0, 667, 40}},
                      ConversionCase{"ControlInPixels", {236, 243, 292, 260}, false, {315, 324, 389, 347}},
                      ConversionCase{"FrameInDialogUnits", {0, 0, 540, 420}, true, {0, 0, 480, 345}},
                      ConversionCase{"WixDialogInDialogUnits", {0, 0, 370, 270}, true, {0, 0, 329, 222}}),
    [](const ::testing::TestParamInfo<ConversionCase>& info) { return std::string(info.param.label); });

TEST(DialogUnitConverter, MeasuresTheTestScreenWithItsHiddenDialog) {
  CDialogUnitConverter converter;
  converter.SetFactors(0, 0, 0);
  ASSERT_TRUE(converter.Measure());
  EXPECT_EQ(converter.GetMeasuredDpi(), 96);
  double vertical = 0, horizontal = 0, scale = 0;
  converter.GetFactors(vertical, horizontal, scale);
  EXPECT_DOUBLE_EQ(scale, 96 * 0.013888888888888888);
  // The shell font's metrics vary a little between font sets; the factors
  // must still be those of an 8 point font at this DPI.
  EXPECT_GT(horizontal, 0.6);
  EXPECT_LT(horizontal, 1.2);
  EXPECT_GT(vertical, 0.6);
  EXPECT_LT(vertical, 1.2);
  EXPECT_EQ(converter.ScaleValue(100), 131);
  EXPECT_EQ(::FindWindowW(nullptr, L"DPI Calculation Dialog"), nullptr);
}

TEST(MainDialogConfig, DuplicateAreaKeepsTheFirstAndMissingSectionFails) {
  std::wstring folder = testsupport::MakeScratchFolder(L"MainDialogRules");
  CDialogUnitConverter converter;
  converter.SetFactors(kHorizontal96, kVertical96, kScale96);
  {
    CMainDialogConfigData record;
    CMainDialogConfigParser parser(record, converter);
    modeltest::LogCapture log;
    ASSERT_TRUE(log.IsActive());
    ASSERT_TRUE(parser.StartParse(configtest::WriteXml(
        folder, L"a.xml",
        "<Main><MainDialog><TitleBar Left=\"0\" Top=\"0\" Right=\"500\" Bottom=\"30\"/>"
        "<TitleBar Left=\"0\" Top=\"0\" Right=\"9\" Bottom=\"9\"/><Unknown Left=\"1\"/></MainDialog>"
        "<PreInstallDialog><Banner Left=\"0\" Top=\"0\" Right=\"9\" Bottom=\"9\"/></PreInstallDialog></Main>")));
    const RECT* titleBar = record.GetMainDialogRect(kAreaTitleBar);
    ASSERT_NE(titleBar, nullptr);
    EXPECT_EQ(titleBar->right, 667);
    EXPECT_EQ(titleBar->bottom, 40);
    EXPECT_EQ(record.GetPreInstallDialogRect(kAreaBanner), nullptr);
    EXPECT_EQ(record.GetMainDialogRect(kAreaBanner), nullptr);
    int x = -1, y = -1;
    record.GetContentOffsets(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(log.Count(L"INFORMATION:\tThe key 1 is already available in MainDialog config."), 1u);
    EXPECT_EQ(log.Count(L"INFORMATION:\tThe key 3 is not available in the PreinstallDialogConfig map."), 1u);
  }
  CMainDialogConfigData record;
  CMainDialogConfigParser parser(record, converter);
  EXPECT_FALSE(parser.StartParse(configtest::WriteXml(folder, L"b.xml", "<Main><MainDialog/></Main>")));
  EXPECT_FALSE(parser.StartParse(configtest::WriteXml(folder, L"c.xml", "<Main><PreInstallDialog/></Main>")));
  testsupport::RemoveFolder(folder);
}

std::wstring DemoConfiguration(const wchar_t* file) {
  return testsupport::SourceFolder() + L"examples\\demo\\SetupData\\Configuration\\" + file;
}

TEST(LookFilesOfTheDemo, StyleConfigReadsWhole) {
  CStyleConfigData record;
  CStyleConfigParser parser(record);
  ASSERT_TRUE(parser.StartParse(DemoConfiguration(L"StyleConfig.xml")));
  COLORREF dialog = 0, titleBar = 0, edge = 0;
  EXPECT_TRUE(record.GetDialogColour(dialog));
  EXPECT_EQ(dialog, RGB(250, 250, 248));
  EXPECT_TRUE(record.GetTitleBarColours(titleBar, edge));
  EXPECT_EQ(titleBar, RGB(22, 54, 92));
  EXPECT_EQ(edge, RGB(22, 54, 92));
  for (int mode = kModeStandard; mode <= kModeDefault; ++mode) {
    EXPECT_NE(record.GetControlStyle(kStyleButton, mode), nullptr) << mode;
  }
  EXPECT_EQ(record.GetControlStyleValue(kStyleButton, kModeDefault, kColorFront), RGB(226, 112, 38));
  // Every control kind the wizard draws has its standard look.
  for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 18, 19, 20, 21, 22, 23, 24, 25}) {
    const StyleAttributes* standard = record.GetControlStyle(kind, kModeStandard);
    ASSERT_NE(standard, nullptr) << kind;
  }
  const StyleAttributes* titleStyle = record.GetControlStyle(kStyleTitleBar, kModeStandard);
  ASSERT_NE(titleStyle, nullptr);
  ASSERT_NE(record.FindFontScheme(titleStyle->fontName), nullptr);
  EXPECT_TRUE(record.FindFontScheme(L"Studio_Font_Title")->IsBold());
  std::wstring face;
  int size = 0;
  EXPECT_TRUE(record.GetDefaultUIFont(face, size));
  EXPECT_EQ(face, L"Tahoma");
  EXPECT_NE(record.GetTitleBarFont(), nullptr);
}

TEST(LookFilesOfTheDemo, ConfigForMainDialogReadsWhole) {
  CDialogUnitConverter converter;
  converter.SetFactors(kHorizontal96, kVertical96, kScale96);
  CMainDialogConfigData record;
  CMainDialogConfigParser parser(record, converter);
  ASSERT_TRUE(parser.StartParse(DemoConfiguration(L"ConfigForMainDialog.xml")));
  for (int key = kAreaDialog; key <= kAreaLeftProgressBar; ++key) EXPECT_NE(record.GetMainDialogRect(key), nullptr) << key;
  for (int key = kAreaDialog; key <= kAreaTitleBarText; ++key) EXPECT_NE(record.GetPreInstallDialogRect(key), nullptr) << key;
  const RECT* frame = record.GetMainDialogRect(kAreaDialog);
  EXPECT_EQ(frame->right, 480);
  EXPECT_EQ(frame->bottom, 345);
  int height = 0;
  EXPECT_TRUE(record.GetTitleBarHeight(height));
  EXPECT_EQ(height, 37);
  EXPECT_EQ(record.GetTitleBarHeightInDialogUnits(), 23);
  int x = 0, y = 0;
  record.GetContentOffsets(x, y);
  EXPECT_EQ(x, 107);
  EXPECT_EQ(y, 72);
  // A page of the WiX library (370 x 270 dialog units) fits to the right of
  // the left image and below the banner.
  EXPECT_GE(frame->right - x, 370);
  EXPECT_GE(frame->bottom - y, 270);
}

}  // namespace
