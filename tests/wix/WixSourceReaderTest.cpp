#include <gtest/gtest.h>

#include <tuple>

#include <memory>
#include <string>

#include "config/ConfigTestSupport.h"
#include "config/IIconList.h"
#include "config/SetupConfigData.h"
#include "config/XmlTestFiles.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"
#include "ui/style/DialogUnitConverter.h"
#include "wix/WixDataManager.h"
#include "config/WixLocalizationList.h"
#include "wix/WixLocalizationReader.h"
#include "wix/WixSourceReader.h"
#include "support/WixSetBundle.h"

namespace {

constexpr char kHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?><Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">";
constexpr char kTail[] = "</Wix>";

class WixSourceReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testsupport::MakeScratchFolder(L"WixSourceReader");
    converter_.SetFactors(4.0 / 6.0 * 4.0 / 3.0, 8.0 / 13.0 * 4.0 / 3.0, 4.0 / 3.0);
    record_.SetRCBinaryPath(L"SetupData\\Wix\\Binary");
    IWixLocalizationListForParser* strings = record_.GetOrCreateWixLocalizationList();
    (void)strings->AddLocalization(L"Title", L"{\\Big}Welcome");
    (void)strings->AddLocalization(L"Feature_Title", L"Core files");
    // The reader takes the binary path when it is made.
    reader_ = std::make_unique<CWixSourceReader>(record_, record_, model_, converter_);
  }
  void TearDown() override { testsupport::RemoveFolder(folder_); }

  // Writes a WiX source whose root holds `body` and reads it.
  int Read(const wchar_t* name, const std::string& body) {
    std::wstring path = configtest::WriteXml(folder_, name, std::string(kHead) + body + kTail);
    return reader_->ParseWixFile(path);
  }

  std::wstring folder_;
  CSetupConfigData record_;
  CDialogUnitConverter converter_;
  CWixDataManager model_{record_};
  std::unique_ptr<CWixSourceReader> reader_;
};

TEST_F(WixSourceReaderTest, MissingOrMalformedFileFailsWithTheLoadError) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(reader_->ParseWixFile(folder_ + L"Missing.wxs"), 0);
  std::wstring path = configtest::WriteXml(folder_, L"Broken.wxs", "<Wix><Fragment><UI></Fragment></Wix>");
  EXPECT_EQ(reader_->ParseWixFile(path), 0);
  EXPECT_EQ(log.Count(L"ERROR:\t\tCParser::LoadXmlFile() - Could not find the file path " + folder_ + L"Missing.wxs"), 1u);
  EXPECT_EQ(log.Count(L"Xml Parse Error information : File name: " + path), 1u);
  EXPECT_EQ(model_.GetDialogCount(), 0);
}

struct BadControlCase {
  const char* label;
  const char* control;
  const wchar_t* reason;
};
void PrintTo(const BadControlCase& c, std::ostream* os) { *os << c.label; }

class WixSourceReaderBadControl : public WixSourceReaderTest, public ::testing::WithParamInterface<BadControlCase> {};

TEST_P(WixSourceReaderBadControl, FailsTheFileAndLeavesNoHalfDialog) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(Read(L"Bad.wxs", std::string("<Fragment><UI>"
                                          "<Dialog Id=\"Good\" Width=\"370\" Height=\"270\"><Control Id=\"A\" "
                                          "Type=\"Text\" X=\"1\" Y=\"1\" Width=\"9\" Height=\"9\"/></Dialog>"
                                          "<Dialog Id=\"Bad\" Width=\"370\" Height=\"270\"><Control Id=\"Ok\" "
                                          "Type=\"PushButton\" X=\"1\" Y=\"1\" Width=\"9\" Height=\"9\"/>") +
                                  GetParam().control + "</Dialog></UI></Fragment>"),
            0);
  EXPECT_NE(model_.GetDialog(L"Good"), nullptr);
  EXPECT_EQ(model_.GetDialog(L"Bad"), nullptr);
  EXPECT_EQ(log.Count(L"ERROR:\t\tParseControls method failed for the dialog Bad."), 1u);
  EXPECT_EQ(log.Count(GetParam().reason), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WixSourceReaderBadControl,
    ::testing::Values(BadControlCase{"UnknownType", "<Control Id=\"Link\" Type=\"Hyperlink\" X=\"1\" Y=\"1\"/>",
                                     L"Unknown control type \"Hyperlink\" of the control Link in the dialog Bad."},
                      BadControlCase{"NoType", "<Control Id=\"Link\" X=\"1\" Y=\"1\"/>",
                                     L"Unknown control type \"\" of the control Link in the dialog Bad."},
                      BadControlCase{"NoId", "<Control Type=\"Text\" X=\"1\" Y=\"1\"/>",
                                     L"A control of the dialog Bad has no Id."}),
    [](const ::testing::TestParamInfo<BadControlCase>& info) { return std::string(info.param.label); });

TEST_F(WixSourceReaderTest, DialogWithoutIdFailsTheFile) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(Read(L"NoId.wxs", "<Fragment><UI><Dialog Width=\"370\" Height=\"270\"/></UI></Fragment>"), 0);
  EXPECT_EQ(log.Count(L"A dialog without an Id in the Wix file " + folder_ + L"NoId.wxs"), 1u);
}

TEST_F(WixSourceReaderTest, TheFirstDefinitionOfADialogWinsAcrossFiles) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(Read(L"One.wxs", "<Product><UI><Dialog Id=\"Same\" Width=\"370\" Height=\"270\" Title=\"First\"/></UI></Product>"), 1);
  EXPECT_EQ(Read(L"Two.wxs",
                 "<Fragment><UI><Dialog Id=\"Same\" Width=\"100\" Height=\"100\" Title=\"Second\">"
                 "<Control Id=\"X\" Type=\"Nonsense\"/></Dialog></UI></Fragment>"),
            1);
  ASSERT_NE(model_.GetDialog(L"Same"), nullptr);
  EXPECT_EQ(model_.GetDialog(L"Same")->GetTitle(), L"First");
  EXPECT_EQ(model_.GetDialogCount(), 1);
  EXPECT_EQ(log.Count(L"DEBUG:\t\tDialog id Same already parsed and it is in the dialog list"), 1u);
  EXPECT_EQ(log.Count(L"Parsing of the  Wix File " + folder_ + L"Two.wxs completed Successfully."), 1u);
}

TEST_F(WixSourceReaderTest, BinariesGoToTheIconListWithTheBinaryPath) {
  EXPECT_EQ(Read(L"Binaries.wxs",
                 "<Fragment><UI><Binary Id=\"Banner\" SourceFile=\"$(var.RC_BinaryPath)\\Banner.bmp\"/>"
                 "<Binary Id=\"NoSource\"/><Binary Id=\"Plain\" SourceFile=\"Images\\Plain.ico\"/></UI></Fragment>"),
            1);
  IIconList* icons = record_.GetIconList();
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(icons->GetIconPath(L"Banner"), L"SetupData\\Wix\\Binary\\Banner.bmp");
  EXPECT_EQ(icons->GetIconPath(L"Plain"), L"Images\\Plain.ico");
  EXPECT_EQ(icons->GetIconPath(L"NoSource"), L"");
}

// The library's Common.wxs keeps its binaries straight under Fragment.
TEST_F(WixSourceReaderTest, BinariesOutsideUiAreReadToo) {
  EXPECT_EQ(Read(L"Direct.wxs",
                 "<Fragment><Binary Id=\"Direct\" SourceFile=\"Images\\Direct.bmp\"/></Fragment>"
                 "<Product><Binary Id=\"Owned\" SourceFile=\"$(var.RC_BinaryPath)\\Owned.ico\"/></Product>"),
            1);
  IIconList* icons = record_.GetIconList();
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(icons->GetIconPath(L"Direct"), L"Images\\Direct.bmp");
  EXPECT_EQ(icons->GetIconPath(L"Owned"), L"SetupData\\Wix\\Binary\\Owned.ico");
}

// "<folder>" in a row stands for the scratch folder the sources are written to.
std::wstring InFolder(const wchar_t* text, const std::wstring& folder) {
  std::wstring result = text;
  (void)platform::ReplaceAll(result, L"<folder>", folder);
  return result;
}
std::string InFolder(const char* text, const std::wstring& folder) {
  return platform::WideToUtf8(InFolder(platform::Utf8ToWide(text).c_str(), folder));
}

struct BinaryRow {
  const char* label;
  const char* sourceFile;
  const char* laterFile;  // read after the binary's own file
  const wchar_t* path;    // in the icon list after the last file; "" when not added
};
void PrintTo(const BinaryRow& row, std::ostream* os) { *os << row.label; }

class WixSourceReaderBinaryPath : public WixSourceReaderTest, public ::testing::WithParamInterface<BinaryRow> {};

TEST_P(WixSourceReaderBinaryPath, BoundOnceEveryFileIsRead) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  ASSERT_EQ(Read(L"Common.wxs", std::string("<Fragment><Binary Id=\"Pic\" SourceFile=\"") + GetParam().sourceFile +
                                    "\"/></Fragment>"),
            1);
  ASSERT_EQ(Read(L"Later.wxs", GetParam().laterFile), 1);
  (void)reader_->CompleteParse();
  IIconList* icons = record_.GetIconList();
  ASSERT_NE(icons, nullptr);
  const std::wstring expected = InFolder(GetParam().path, folder_);
  EXPECT_EQ(icons->GetIconPath(L"Pic"), expected);
  EXPECT_EQ(log.Count(L"WARNING:\tThe binary Pic names"), expected.empty() ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WixSourceReaderBinaryPath,
    ::testing::Values(
        BinaryRow{"LibraryDefaultBesideTheSource", "!(wix.WixUIBannerBmp=$(var.bannerBmp))", "<Fragment/>",
                  L"<folder>Bitmaps\\bannrbmp.bmp"},
        BinaryRow{"LibraryIcon", "!(wix.WixUIUpIco=$(var.upIco))", "<Fragment/>", L"<folder>Bitmaps\\Up.ico"},
        BinaryRow{"DeclaredInALaterFile", "!(wix.WixUIBannerBmp=$(var.bannerBmp))",
                  "<Fragment><WixVariable Id=\"WixUIBannerBmp\" Value=\"Art\\Mine.bmp\"/></Fragment>",
                  L"Art\\Mine.bmp"},
        BinaryRow{"DeclaredWithoutDefault", "!(wix.Pic)",
                  "<Product><WixVariable Id=\"Pic\" Value=\"C:\\Pics\\p.bmp\" Overridable=\"yes\"/></Product>",
                  L"C:\\Pics\\p.bmp"},
        BinaryRow{"UnknownPreprocessorVariable", "$(var.mystery)\\p.bmp", "<Fragment/>", L""},
        BinaryRow{"DefaultWithAnUnknownVariable", "!(wix.Missing=$(var.mystery))", "<Fragment/>", L""},
        BinaryRow{"BindPath", "!(bindpath.x86)uica.dll", "<Fragment/>", L""}),
    [](const ::testing::TestParamInfo<BinaryRow>& info) { return std::string(info.param.label); });

TEST_F(WixSourceReaderTest, WixVariablesAreBoundInTextsEventsAndConditions) {
  const std::string page =
      "<Fragment><UI><Dialog Id=\"D\" Width=\"370\" Height=\"270\" Title=\"!(wix.Product) Setup\">"
      "<Control Id=\"T\" Type=\"Text\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\" Text=\"Mode !(wix.Mode=basic)\" "
      "ToolTip=\"!(wix.Product)\"/>"
      "<Control Id=\"Next\" Type=\"PushButton\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\" Text=\"Next\">"
      "<Publish Event=\"NewDialog\" Value=\"!(wix.NextPage=VerifyReadyDlg)\">!(wix.PerUser) AND NOT Privileged</Publish>"
      "<Condition Action=\"show\">NOT !(wix.PerUser)</Condition></Control>"
      "<Control Id=\"Scope\" Type=\"RadioButtonGroup\" Property=\"SCOPE\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\"/>"
      "</Dialog>"
      "<RadioButtonGroup Property=\"SCOPE\"><RadioButton Value=\"!(wix.Folder=PerMachine)\" Text=\"!(wix.Product)\" "
      "X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\"/></RadioButtonGroup>"
      "<Publish Dialog=\"D\" Control=\"Next\" Property=\"WixAppFolder\" Value=\"!(wix.Folder=WixPerMachineFolder)\">"
      "!(wix.Unset)</Publish></UI></Fragment>";
  ASSERT_EQ(Read(L"Page.wxs", page), 1);
  ASSERT_EQ(Read(L"Vars.wxs",
                 "<Fragment><WixVariable Id=\"PerUser\" Value=\"1\" Overridable=\"yes\"/>"
                 "<WixVariable Id=\"Product\" Value=\"Halvorsk\"/></Fragment>"),
            1);
  ASSERT_EQ(Read(L"Author.wxs", "<Product><WixVariable Id=\"PerUser\" Value=\"0\"/></Product>"), 1);
  // Nothing is bound before the last file: a later file may declare the value.
  EXPECT_EQ(model_.GetDialog(L"D")->GetTitle(), L"!(wix.Product) Setup");
  EXPECT_EQ(reader_->CompleteParse(), 1);

  const CWixDialog& dialog = *model_.GetDialog(L"D");
  EXPECT_EQ(dialog.GetTitle(), L"Halvorsk Setup");
  EXPECT_EQ(dialog.FindControl(L"T")->GetText(), L"Mode basic");
  EXPECT_EQ(dialog.FindControl(L"T")->GetToolTip(), L"Halvorsk");
  const CWixControl& next = *dialog.FindControl(L"Next");
  ASSERT_EQ(next.GetPublishes().size(), 2u);
  EXPECT_EQ(next.GetPublishes()[0].argument, L"VerifyReadyDlg");
  EXPECT_EQ(next.GetPublishes()[0].condition, L"0 AND NOT Privileged");
  EXPECT_EQ(next.GetPublishes()[1].event, L"[WixAppFolder]");
  EXPECT_EQ(next.GetPublishes()[1].argument, L"WixPerMachineFolder");
  EXPECT_EQ(next.GetPublishes()[1].condition, L"");
  ASSERT_EQ(next.GetConditions().size(), 1u);
  EXPECT_EQ(next.GetConditions()[0].condition, L"NOT 0");
  const std::vector<WixRadioButton>& radios = dialog.FindControl(L"Scope")->GetRadioButtons();
  ASSERT_EQ(radios.size(), 1u);
  EXPECT_EQ(radios[0].value, L"PerMachine");
  EXPECT_EQ(radios[0].text, L"Halvorsk");

  // The values belong to one reading: read again without the declaring files,
  // the page falls back to its defaults.
  model_.Clear();
  ASSERT_EQ(Read(L"Page.wxs", page), 1);
  (void)reader_->CompleteParse();
  EXPECT_EQ(model_.GetDialog(L"D")->GetTitle(), L" Setup");
  EXPECT_EQ(model_.GetDialog(L"D")->FindControl(L"Next")->GetConditions()[0].condition, L"NOT ");
}

struct SourceTextRow {
  const char* label;
  const char* sourceFile;
  const char* laterFile;
  const wchar_t* writtenTo;  // where the test puts the text file; "" for none
  bool read;                 // whether the control shows that file
};
void PrintTo(const SourceTextRow& row, std::ostream* os) { *os << row.label; }

class WixSourceReaderSourceText : public WixSourceReaderTest, public ::testing::WithParamInterface<SourceTextRow> {};

TEST_P(WixSourceReaderSourceText, ScrollableTextReadsItsFileAsEightBitRichText) {
  record_.SetSetupFolder(folder_);
  const std::wstring file = InFolder(GetParam().writtenTo, folder_);
  // Rich text with bytes above 127, as a license in code page 1252 has them.
  const std::string content = std::string("{\\rtf1\\ansi ") + GetParam().label + " caf\xE9 \x93quoted\x94}\r\n";
  if (!file.empty()) {
    ::CreateDirectoryW((folder_ + L"Texts").c_str(), nullptr);
    ASSERT_TRUE(testsupport::WriteFileBytes(file, content));
  }
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  ASSERT_EQ(Read(L"License.wxs",
                 std::string("<Fragment><UI><Dialog Id=\"L\" Width=\"370\" Height=\"270\">"
                             "<Control Id=\"LicenseText\" Type=\"ScrollableText\" X=\"20\" Y=\"60\" Width=\"330\" "
                             "Height=\"140\" Sunken=\"yes\"><Text SourceFile=\"") +
                     InFolder(GetParam().sourceFile, folder_) + "\"/></Control></Dialog></UI></Fragment>"),
            1);
  ASSERT_EQ(Read(L"Later.wxs", InFolder(GetParam().laterFile, folder_)), 1);
  (void)reader_->CompleteParse();
  const CWixControl& control = *model_.GetDialog(L"L")->FindControl(L"LicenseText");
  std::wstring expected;
  for (char c : content) expected.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  EXPECT_EQ(control.GetText(), GetParam().read ? expected : std::wstring());
  EXPECT_EQ(control.GetTextStyle(), L"");
  EXPECT_EQ(log.Count(L"WARNING:\tThe text of the control LicenseText could not be read"), GetParam().read ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WixSourceReaderSourceText,
    ::testing::Values(
        SourceTextRow{"RelativeToTheSetupFolder", "Texts\\License.rtf", "<Fragment/>", L"<folder>Texts\\License.rtf",
                      true},
        SourceTextRow{"Absolute", "<folder>Texts\\Abs.rtf", "<Fragment/>", L"<folder>Texts\\Abs.rtf", true},
        SourceTextRow{"LibraryDefaultBesideTheSource", "!(wix.WixUILicenseRtf=$(var.licenseRtf))", "<Fragment/>",
                      L"<folder>License.rtf", true},
        SourceTextRow{"DeclaredInALaterFile", "!(wix.WixUILicenseRtf=$(var.licenseRtf))",
                      "<Product><WixVariable Id=\"WixUILicenseRtf\" Value=\"Texts\\Mine.rtf\"/></Product>",
                      L"<folder>Texts\\Mine.rtf", true},
        SourceTextRow{"MissingFile", "Texts\\Gone.rtf", "<Fragment/>", L"", false}),
    [](const ::testing::TestParamInfo<SourceTextRow>& info) { return std::string(info.param.label); });

TEST_F(WixSourceReaderTest, ATextChildHoldsTheTextInline) {
  ASSERT_EQ(Read(L"Inline.wxs",
                 "<Fragment><UI><Dialog Id=\"D\" Width=\"370\" Height=\"270\">"
                 "<Control Id=\"Rich\" Type=\"ScrollableText\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\">"
                 "<Text>{\\rtf1\\ansi inline}</Text></Control>"
                 "<Control Id=\"Plain\" Type=\"Text\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\"><Text>!(loc.Title)</Text>"
                 "</Control>"
                 "<Control Id=\"Both\" Type=\"Text\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\" Text=\"Attribute\">"
                 "<Text>Child</Text></Control></Dialog></UI></Fragment>"),
            1);
  const CWixDialog& dialog = *model_.GetDialog(L"D");
  EXPECT_EQ(dialog.FindControl(L"Rich")->GetText(), L"{\\rtf1\\ansi inline}");
  EXPECT_EQ(dialog.FindControl(L"Rich")->GetTextStyle(), L"");
  EXPECT_EQ(dialog.FindControl(L"Plain")->GetText(), L"Welcome");
  EXPECT_EQ(dialog.FindControl(L"Plain")->GetTextStyle(), L"Big");
  EXPECT_EQ(dialog.FindControl(L"Both")->GetText(), L"Attribute");
}

TEST_F(WixSourceReaderTest, TheLanguageMovesResizesAndRetitlesItsControls) {
  WixControlOverride localized;
  localized.x = 50;
  localized.width = 80;
  localized.text = L"!(loc.Title)";
  ASSERT_TRUE(record_.GetOrCreateWixLocalizationList()->AddControlOverride(L"D", L"Next", localized));
  modeltest::LogCapture log;
  ASSERT_EQ(Read(L"Localized.wxs",
                 "<Fragment><UI><Dialog Id=\"D\" Width=\"370\" Height=\"270\">"
                 "<Control Id=\"Next\" Type=\"PushButton\" X=\"10\" Y=\"20\" Width=\"56\" Height=\"17\" Text=\"Next\"/>"
                 "<Control Id=\"Back\" Type=\"PushButton\" X=\"10\" Y=\"20\" Width=\"56\" Height=\"17\" Text=\"Back\"/>"
                 "</Dialog></UI></Fragment>"),
            1);
  const CWixDialog& dialog = *model_.GetDialog(L"D");
  const RECT moved = converter_.ScaleRect(RECT{50, 20, 130, 37});
  const RECT kept = converter_.ScaleRect(RECT{10, 20, 66, 37});
  const RECT next = dialog.FindControl(L"Next")->GetRect();
  const RECT back = dialog.FindControl(L"Back")->GetRect();
  EXPECT_EQ(std::make_tuple(next.left, next.top, next.right, next.bottom),
            std::make_tuple(moved.left, moved.top, moved.right, moved.bottom));
  EXPECT_EQ(std::make_tuple(back.left, back.top, back.right, back.bottom),
            std::make_tuple(kept.left, kept.top, kept.right, kept.bottom));
  EXPECT_EQ(dialog.FindControl(L"Next")->GetText(), L"Welcome");
  EXPECT_EQ(dialog.FindControl(L"Next")->GetTextStyle(), L"Big");
  EXPECT_EQ(dialog.FindControl(L"Back")->GetText(), L"Back");
  EXPECT_EQ(log.Count(L"DEBUG:\t\tCould not find the Wix control language attributes"), 1u) << log.Text();
}

struct PictureRow {
  const char* label;
  const char* type;
  const char* attribute;  // set to "yes"; "" for none
  bool picture;           // the text names a Binary entry
  int bit;                // the attribute's bit in the word
};
void PrintTo(const PictureRow& row, std::ostream* os) { *os << row.label; }

class WixSourceReaderPicture : public WixSourceReaderTest, public ::testing::WithParamInterface<PictureRow> {};

// Bitmap and Icon have the numbers of Remote and CDROM (volume lists) and of
// NoWrap and FormatSize (Text): the bit stays, the picture only where it is one.
TEST_P(WixSourceReaderPicture, OnlyPictureKindsNameAnImage) {
  const std::string attribute = *GetParam().attribute ? std::string(" ") + GetParam().attribute + "=\"yes\"" : "";
  ASSERT_EQ(Read(L"Pictures.wxs", std::string("<Fragment><UI><Dialog Id=\"D\" Width=\"370\" Height=\"270\">"
                                              "<Control Id=\"C\" Type=\"") +
                                      GetParam().type +
                                      "\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\" Text=\"WixUI_Bmp_Up\"" + attribute +
                                      "/></Dialog></UI></Fragment>"),
            1);
  const CWixControl& control = *model_.GetDialog(L"D")->FindControl(L"C");
  EXPECT_EQ(control.GetImageId(), GetParam().picture ? L"WixUI_Bmp_Up" : L"");
  EXPECT_EQ(control.GetAttributes(), wixbits::kVisible | wixbits::kEnabled | GetParam().bit);
  EXPECT_EQ(control.GetText(), L"WixUI_Bmp_Up");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WixSourceReaderPicture,
    ::testing::Values(PictureRow{"VolumeCostListRemote", "VolumeCostList", "Remote", false, wixbits::kRemoteVolume},
                      PictureRow{"VolumeCostListCDROM", "VolumeCostList", "CDROM", false, wixbits::kCDROMVolume},
                      PictureRow{"VolumeSelectComboRemote", "VolumeSelectCombo", "Remote", false,
                                 wixbits::kRemoteVolume},
                      PictureRow{"VolumeSelectComboCDROM", "VolumeSelectCombo", "CDROM", false, wixbits::kCDROMVolume},
                      PictureRow{"DirectoryComboRemote", "DirectoryCombo", "Remote", false, wixbits::kRemoteVolume},
                      PictureRow{"TextNoWrap", "Text", "NoWrap", false, wixbits::kNoWrap},
                      PictureRow{"TextFormatSize", "Text", "FormatSize", false, wixbits::kFormatSize},
                      PictureRow{"TextBitmapIsNoStyleOfText", "Text", "Bitmap", false, 0},
                      PictureRow{"VolumeCostListIconIsNoStyleOfLists", "VolumeCostList", "Icon", false, 0},
                      PictureRow{"PushButtonBitmap", "PushButton", "Bitmap", true, wixbits::kBitmap},
                      PictureRow{"PushButtonIcon", "PushButton", "Icon", true, wixbits::kIcon},
                      PictureRow{"PushButtonText", "PushButton", "", false, 0},
                      PictureRow{"CheckBoxIcon", "CheckBox", "Icon", true, wixbits::kIcon},
                      PictureRow{"RadioButtonGroupBitmap", "RadioButtonGroup", "Bitmap", true, wixbits::kBitmap},
                      PictureRow{"Bitmap", "Bitmap", "", true, 0},
                      PictureRow{"Icon", "Icon", "", true, 0}),
    [](const ::testing::TestParamInfo<PictureRow>& info) { return std::string(info.param.label); });

TEST_F(WixSourceReaderTest, MissingLocalizationShowsTheIdAndWarns) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(Read(L"Texts.wxs",
                 "<Fragment><UI><Dialog Id=\"D\" Width=\"370\" Height=\"270\" Title=\"!(loc.No_Title)\">"
                 "<Control Id=\"T\" Type=\"Text\" X=\"0\" Y=\"0\" Width=\"10\" Height=\"10\" Text=\"!(loc.Title)\" "
                 "ToolTip=\"$(loc.No_Tip)\"/></Dialog></UI></Fragment>"),
            1);
  CWixDialog* dialog = model_.GetDialog(L"D");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetTitle(), L"No_Title");
  EXPECT_EQ(dialog->FindControl(L"T")->GetText(), L"Welcome");
  EXPECT_EQ(dialog->FindControl(L"T")->GetTextStyle(), L"Big");
  EXPECT_EQ(dialog->FindControl(L"T")->GetToolTip(), L"No_Tip");
  EXPECT_EQ(log.Count(L"WARNING:\tThe localization for the id, No_Title does not exist."), 1u);
  EXPECT_EQ(log.Count(L"WARNING:\tThe localization for the id, No_Tip does not exist."), 1u);
}

TEST_F(WixSourceReaderTest, ComboBoxItemsComeFromTheListOfItsProperty) {
  EXPECT_EQ(Read(L"Combo.wxs",
                 "<Fragment><UI><ComboBox Property=\"EDITION\"><ListItem Value=\"pro\" Text=\"!(loc.Feature_Title)\"/>"
                 "<ListItem Value=\"lite\" Text=\"Lite\"/></ComboBox><ComboBox Property=\"OTHER\"><ListItem Value=\"x\"/></ComboBox>"
                 "<Dialog Id=\"D\" Width=\"370\" Height=\"270\">"
                 "<Control Id=\"Edition\" Type=\"ComboBox\" Property=\"EDITION\" Sorted=\"yes\" ComboList=\"yes\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\"/>"
                 "<Control Id=\"Bare\" Type=\"ComboBox\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\"/>"
                 "<Control Id=\"Secret\" Type=\"Edit\" Property=\"PIN\" Password=\"yes\" Multiline=\"yes\" Transparent=\"yes\" X=\"0\" Y=\"0\" Width=\"9\" Height=\"9\"/>"
                 "</Dialog></UI></Fragment>"),
            1);
  CWixDialog* dialog = model_.GetDialog(L"D");
  ASSERT_NE(dialog, nullptr);
  const std::vector<WixListItem>& items = dialog->FindControl(L"Edition")->GetItems();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].value, L"pro");
  EXPECT_EQ(items[0].text, L"Core files");
  EXPECT_EQ(items[1].text, L"Lite");
  EXPECT_EQ(dialog->FindControl(L"Edition")->GetAttributes(),
            wixbits::kVisible | wixbits::kEnabled | wixbits::kSorted | wixbits::kComboList);
  EXPECT_TRUE(dialog->FindControl(L"Bare")->GetItems().empty());
  // Transparent is a Text style: an Edit does not take its bit.
  const CWixControl& secret = *dialog->FindControl(L"Secret");
  EXPECT_EQ(secret.GetAttributes(), wixbits::kVisible | wixbits::kEnabled | wixbits::kPassword | wixbits::kMultiline);
  EXPECT_TRUE(secret.IsPassword());
}

TEST_F(WixSourceReaderTest, FeaturesWithTheirConditionsAndChildren) {
  EXPECT_EQ(Read(L"Features.wxs",
                 "<Fragment><Feature Id=\"Core\" Title=\"!(loc.Feature_Title)\" Description=\"Needed\" Level=\"1\" "
                 "Display=\"expand\" ConfigurableDirectory=\"INSTALLDIR\" Absent=\"disallow\" InstallDefault=\"source\">"
                 "<Condition Level=\"0\">VersionNT &lt; 601</Condition>"
                 "<Feature Id=\"Docs\" Title=\"Docs\" InstallDefault=\"followParent\" Absent=\"allow\">"
                 "<Feature Id=\"Samples\" InstallDefault=\"everywhere\" Absent=\"maybe\" Level=\"3\"/></Feature>"
                 "</Feature></Fragment>"
                 "<Fragment><FeatureGroup Id=\"G\"><Feature Id=\"NonFeature_Halvorsk Runtime 4\" Display=\"hidden\"/>"
                 "</FeatureGroup></Fragment>"),
            1);
  const auto& features = model_.GetFeatures();
  ASSERT_EQ(features.size(), 2u);
  const CWixFeature& core = *features[0];
  EXPECT_EQ(core.GetId(), L"Core");
  EXPECT_EQ(core.GetTitle(), L"Core files");
  EXPECT_EQ(core.GetDescription(), L"Needed");
  EXPECT_EQ(core.GetLevel(), 1);
  EXPECT_EQ(core.GetDisplay(), L"expand");
  EXPECT_EQ(core.GetConfigurableDirectory(), L"INSTALLDIR");
  EXPECT_EQ(core.GetAbsent(), 1);
  EXPECT_EQ(core.GetInstallDefault(), 2);
  ASSERT_EQ(core.GetConditions().size(), 1u);
  EXPECT_EQ(core.GetConditions()[0].level, 0);
  EXPECT_EQ(core.GetConditions()[0].condition, L"VersionNT < 601");
  ASSERT_EQ(core.GetChildren().size(), 1u);
  const CWixFeature& docs = *core.GetChildren()[0];
  EXPECT_EQ(docs.GetInstallDefault(), 0);
  EXPECT_EQ(docs.GetAbsent(), 0);
  EXPECT_EQ(docs.GetLevel(), -1);
  ASSERT_EQ(docs.GetChildren().size(), 1u);
  const CWixFeature& samples = *docs.GetChildren()[0];
  EXPECT_EQ(samples.GetInstallDefault(), 1);
  EXPECT_EQ(samples.GetAbsent(), 0);
  EXPECT_EQ(samples.GetLevel(), 3);
  EXPECT_TRUE(features[1]->IsNonFeature());
  EXPECT_EQ(features[1]->GetNonFeatureProductName(), L"Halvorsk Runtime 4");
  EXPECT_FALSE(core.IsNonFeature());
}

// A feature added under a reference joins its parent; one whose parent is not
// defined anywhere is kept at the top level, with a warning, never dropped.
TEST_F(WixSourceReaderTest, FeaturesUnderAReferenceJoinTheirParentOrTheTopLevel) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(Read(L"Refs.wxs",
                 "<Fragment><Feature Id=\"Core\" Level=\"1\"/></Fragment>"
                 "<Fragment><FeatureRef Id=\"Core\"><Feature Id=\"Plugin\" Level=\"1\"/></FeatureRef></Fragment>"
                 "<Fragment><FeatureRef Id=\"Gone\"><Feature Id=\"Orphan\" Level=\"1\"/></FeatureRef></Fragment>"),
            1);
  const auto& features = model_.GetFeatures();
  ASSERT_EQ(features.size(), 2u);
  EXPECT_EQ(features[0]->GetId(), L"Core");
  ASSERT_EQ(features[0]->GetChildren().size(), 1u);
  EXPECT_EQ(features[0]->GetChildren()[0]->GetId(), L"Plugin");
  EXPECT_EQ(features[1]->GetId(), L"Orphan");
  EXPECT_EQ(log.Count(L"The feature Orphan names the parent feature Gone, which is not defined"), 1u);
}

TEST_F(WixSourceReaderTest, EventsForAMissingControlAreDroppedWithAWarning) {
  EXPECT_EQ(Read(L"Wiring.wxs",
                 "<Fragment><UI><Publish Dialog=\"D\" Control=\"Next\" Event=\"NewDialog\" Value=\"E\" Order=\"2\">1</Publish>"
                 "<Publish Dialog=\"D\" Control=\"Next\" Property=\"MODE\" Value=\"x\">NOT Installed</Publish>"
                 "<Publish Dialog=\"D\" Control=\"Gone\" Event=\"NewDialog\" Value=\"E\">1</Publish>"
                 "<Publish Dialog=\"Nowhere\" Control=\"Next\" Event=\"EndDialog\" Value=\"Exit\">1</Publish></UI></Fragment>"),
            1);
  EXPECT_EQ(Read(L"Page.wxs",
                 "<Fragment><UI><Dialog Id=\"D\" Width=\"370\" Height=\"270\"><Control Id=\"Next\" Type=\"PushButton\" "
                 "X=\"1\" Y=\"1\" Width=\"9\" Height=\"9\"><Publish Event=\"DoAction\" Value=\"Check\">1</Publish>"
                 "</Control></Dialog></UI></Fragment>"),
            1);
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(reader_->CompleteParse(), 2);
  const std::vector<WixPublish>& events = model_.GetDialog(L"D")->FindControl(L"Next")->GetPublishes();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].event, L"DoAction");
  EXPECT_EQ(events[1].event, L"[MODE]");
  EXPECT_TRUE(events[1].isPropertyAssignment);
  EXPECT_EQ(events[1].condition, L"NOT Installed");
  EXPECT_EQ(events[2].event, L"NewDialog");
  EXPECT_EQ(log.Count(L"WARNING:\tThe event NewDialog published for the control Gone of the dialog D has no such control"), 1u);
  EXPECT_EQ(log.Count(L"for the control Next of the dialog Nowhere has no such control"), 1u);
  // Attached once: another call finds nothing left to attach.
  EXPECT_EQ(reader_->CompleteParse(), 0);
}

TEST_F(WixSourceReaderTest, ClearingAndReadingAgainGivesTheOtherLanguage) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  std::wstring shared = testsupport::SharedFolder() + L"wixui\\";
  CWixLocalizationReader strings(record_, record_);
  record_.GetOrCreateWixLocalizationList()->Clear();
  ASSERT_TRUE(strings.ReadWixLocalizationFile(shared + L"WixUI_en-us.wxl"));
  ASSERT_EQ(reader_->ParseWixFile(shared + L"WelcomeDlg.wxs"), 1);
  EXPECT_EQ(model_.GetDialog(L"WelcomeDlg")->FindControl(L"Next")->GetText(), L"&Next");

  record_.GetOrCreateWixLocalizationList()->Clear();
  ASSERT_TRUE(strings.ReadWixLocalizationFile(shared + L"WixUI_de-de.wxl"));
  model_.Clear();
  EXPECT_EQ(model_.GetDialogCount(), 0);
  ASSERT_EQ(reader_->ParseWixFile(shared + L"WelcomeDlg.wxs"), 1);
  EXPECT_EQ(model_.GetDialogCount(), 1);
  EXPECT_EQ(model_.GetDialog(L"WelcomeDlg")->FindControl(L"Next")->GetText(), L"&Weiter");
  EXPECT_EQ(model_.GetDialog(L"WelcomeDlg")->GetTitle(), L"[ProductName]-Setup");
  EXPECT_EQ(model_.GetLocalizedText(L"WixUICancel"), L"Abbrechen");
}

TEST(WixFeatureState, FlagsAndTreeStateFollowEachOther) {
  CWixFeature feature(L"F");
  EXPECT_EQ(feature.GetTreeState(), CWixFeature::kTreeAbsent);
  feature.SetFlags(CWixFeature::kFlagSelected | CWixFeature::kFlagExpanded);
  EXPECT_EQ(feature.GetTreeState(), CWixFeature::kTreeLocal);
  feature.SetTreeState(CWixFeature::kTreeAbsent);
  EXPECT_EQ(feature.GetFlags(), CWixFeature::kFlagExpanded);
  feature.SetTreeState(CWixFeature::kTreePartial);
  EXPECT_EQ(feature.GetFlags(), CWixFeature::kFlagExpanded | CWixFeature::kFlagSelected);
}

}  // namespace
