#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/ConfigTestSupport.h"
#include "config/IIconList.h"
#include "config/SetupConfigData.h"
#include "config/XmlTestFiles.h"
#include "support/TestPaths.h"
#include "ui/style/DialogUnitConverter.h"
#include "wix/WixDataManager.h"
#include "config/WixLocalizationList.h"
#include "wix/WixLocalizationReader.h"
#include "wix/WixSourceReader.h"

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
