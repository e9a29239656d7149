#include <gtest/gtest.h>

#include <optional>

#include <memory>
#include <string>

#include "config/ConfigTestSupport.h"
#include "config/LocalizationSettingData.h"
#include "config/SetupConfigData.h"
#include "config/XmlTestFiles.h"
#include "support/TestPaths.h"
#include "wix/LocReference.h"
#include "config/WixLocalizationList.h"
#include "wix/WixLocalizationReader.h"
#include "support/WixSetBundle.h"

namespace {

std::wstring SharedWixUi(const wchar_t* file) { return testsupport::SharedFolder() + L"wixui\\" + file; }

struct ResolveCase {
  const char* label;
  const wchar_t* text;
  const wchar_t* expected;
};
void PrintTo(const ResolveCase& c, std::ostream* os) { *os << c.label; }

class WixLocReferenceResolve : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(WixLocReferenceResolve, ResolvesThroughTheTable) {
  CWixLocalizationList table;
  ASSERT_TRUE(table.AddLocalization(L"WixUINext", L"&Next"));
  ASSERT_TRUE(table.AddLocalization(L"Product", L"Halvorsk Studio"));
  EXPECT_EQ(ResolveLocReference(&table, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WixLocReferenceResolve,
    ::testing::Values(ResolveCase{"BindPrefix", L"!(loc.WixUINext)", L"&Next"},
                      ResolveCase{"PreprocessorPrefix", L"$(loc.WixUINext)", L"&Next"},
                      ResolveCase{"PlainText", L"Next >", L"Next >"},
                      ResolveCase{"Empty", L"", L""},
                      ResolveCase{"InsideOtherText", L"Welcome to !(loc.Product) Setup", L"Welcome to Halvorsk Studio Setup"},
                      ResolveCase{"TwoReferences", L"!(loc.Product): $(loc.WixUINext)", L"Halvorsk Studio: &Next"},
                      ResolveCase{"UnknownIdGivesTheId", L"!(loc.NoSuchString)", L"NoSuchString"},
                      ResolveCase{"UnclosedStaysAsWritten", L"!(loc.WixUINext", L"!(loc.WixUINext"}),
    [](const ::testing::TestParamInfo<ResolveCase>& info) { return std::string(info.param.label); });

TEST(WixLocReference, UnknownIdLogsTheWarningWithTheId) {
  CWixLocalizationList table;
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(ResolveLocReference(&table, L"$(loc.Missing_Id)"), L"Missing_Id");
  EXPECT_EQ(ResolveLocReference(nullptr, L"!(loc.Other_Id)"), L"Other_Id");
  EXPECT_EQ(log.Count(L"WARNING:\tThe localization for the id, Missing_Id does not exist."), 1u);
  EXPECT_EQ(log.Count(L"WARNING:\tThe localization for the id, Other_Id does not exist."), 1u);
}

TEST(WixLocReference, SplitStyledTextSeparatesTheTextStyle) {
  CWixLocalizationList table;
  ASSERT_TRUE(table.AddLocalization(L"Title", L"{\\WixUI_Font_Title}Ready to install"));
  std::wstring style = L"stale";
  EXPECT_EQ(SplitStyledText(&table, L"!(loc.Title)", style), L"Ready to install");
  EXPECT_EQ(style, L"WixUI_Font_Title");
  EXPECT_EQ(SplitStyledText(&table, L"{\\Bold}Caption", style), L"Caption");
  EXPECT_EQ(style, L"Bold");
  EXPECT_EQ(SplitStyledText(&table, L"No style here", style), L"No style here");
  EXPECT_EQ(style, L"");
  // Rich text keeps its braces, and only a leading style is one.
  const std::wstring rtf = L"{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0 Text\\par}";
  EXPECT_EQ(SplitStyledText(&table, rtf, style), rtf);
  EXPECT_TRUE(style.empty());
  EXPECT_EQ(SplitStyledText(&table, L"Folder {\\x}", style), L"Folder {\\x}");
  EXPECT_TRUE(style.empty());
  EXPECT_EQ(SplitStyledText(&table, L"{&Bold}Caption", style), L"Caption");
  EXPECT_EQ(style, L"Bold");
}

class WixLocalizationReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testsupport::MakeScratchFolder(L"WixLocalization");
    record_.SetSetupFolder(folder_);
  }
  void TearDown() override { testsupport::RemoveFolder(folder_); }

  void AddLanguage(LANGID id, std::initializer_list<const wchar_t*> files) {
    auto setting = std::make_unique<CLocalizationSettingData>(id, L"", L"", L"");
    for (const wchar_t* file : files) setting->AddLocalizationFile(file);
    ASSERT_TRUE(record_.GetOrCreateLocalizationSettings()->AddLanguageSetting(std::move(setting)));
  }

  [[nodiscard]] std::wstring Text(const wchar_t* id) { return record_.GetWixLocalizationList()->GetLocalizedText(id); }

  std::wstring folder_;
  CSetupConfigData record_;
  CWixLocalizationReader reader_{record_, record_};
};

TEST_F(WixLocalizationReaderTest, ReadsTheLibraryStringsWithoutTheirComments) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  ASSERT_TRUE(reader_.ReadWixLocalizationFile(SharedWixUi(L"WixUI_en-us.wxl")));
  ASSERT_NE(record_.GetWixLocalizationList(), nullptr);
  EXPECT_GT(record_.GetWixLocalizationList()->GetCount(), 200);
  EXPECT_EQ(Text(L"WixUINext"), L"&Next");
  EXPECT_EQ(Text(L"WelcomeDlg_Title"), L"[ProductName] Setup");
  EXPECT_EQ(Text(L"VerifyReadyDlgInstallTitle"), L"{\\WixUI_Font_Title}Ready to install [ProductName]");
}

TEST_F(WixLocalizationReaderTest, FilesOfTheLanguageAreReadInOrderAndTheFirstTextWins) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  configtest::WriteXml(folder_, L"Studio.de-de.wxl",
                       "<?xml version=\"1.0\" encoding=\"utf-8\"?><WixLocalization Culture=\"de-de\">"
                       "<String Id=\"WixUINext\">Nicht diese</String>"
                       "<String Id=\"ReadmePath\">[CurrentDir]Liesmich.txt</String></WixLocalization>");
  AddLanguage(1033, {L"en.wxl"});
  std::wstring library = SharedWixUi(L"WixUI_de-de.wxl");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + L"WixUI_de-de.wxl", testsupport::ReadFileBytes(library)));
  AddLanguage(1031, {L"WixUI_de-de.wxl", L"Studio.de-de.wxl"});
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  ASSERT_TRUE(reader_.LoadWixLocalization(1031));
  EXPECT_EQ(Text(L"WixUINext"), L"&Weiter");
  EXPECT_EQ(Text(L"ReadmePath"), folder_ + L"Liesmich.txt");
  EXPECT_EQ(log.Count(L"The key WixUINext is already available with an associated value of &Weiter"), 1u);
}

// A language may move, resize or retitle single controls (the WiX library's
// Finnish and French files do): every "UI" element is kept per dialog and control.
TEST_F(WixLocalizationReaderTest, ControlSizesAndTextsOfTheLanguageAreKept) {
  configtest::WriteXml(folder_, L"ui.wxl",
                       "<?xml version=\"1.0\" encoding=\"utf-8\"?><WixLocalization Culture=\"fi-fi\">"
                       "<UI Dialog=\"FilesInUse\" Control=\"Retry\" X=\"296\" Width=\"64\" />"
                       "<UI Dialog=\"InstallDirDlg\" Control=\"Description\" Y=\"20\" Height=\"30\">Kuvaus</UI>"
                       "<UI Dialog=\"FilesInUse\" Control=\"Retry\" X=\"1\" />"
                       "<String Id=\"A\">a</String></WixLocalization>");
  modeltest::LogCapture log;
  ASSERT_TRUE(reader_.ReadWixLocalizationFile(folder_ + L"ui.wxl"));
  const IWixLocalizationList* list = record_.GetWixLocalizationList();
  ASSERT_NE(list, nullptr);
  WixControlOverride retry;
  ASSERT_TRUE(list->FindControlOverride(L"FilesInUse", L"Retry", retry));
  EXPECT_EQ(retry.x, std::optional<int>(296));  // the first entry wins
  EXPECT_EQ(retry.width, std::optional<int>(64));
  EXPECT_FALSE(retry.y.has_value());
  EXPECT_FALSE(retry.text.has_value());
  WixControlOverride description;
  ASSERT_TRUE(list->FindControlOverride(L"InstallDirDlg", L"Description", description));
  EXPECT_EQ(description.y, std::optional<int>(20));
  EXPECT_EQ(description.height, std::optional<int>(30));
  EXPECT_EQ(description.text, std::optional<std::wstring>(L"Kuvaus"));
  WixControlOverride none;
  EXPECT_FALSE(list->FindControlOverride(L"FilesInUse", L"Exit", none));
  EXPECT_EQ(log.Count(L"The control Retry of the dialog FilesInUse already has localized values"), 1u);
}

TEST_F(WixLocalizationReaderTest, MissingFileIsLoggedAndTheOtherFilesStillCount) {
  configtest::WriteXml(folder_, L"b.wxl", "<Strings><String Id=\"B\">second</String></Strings>");
  AddLanguage(1036, {L"missing.wxl", L"b.wxl"});
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_TRUE(reader_.LoadWixLocalization(1036));
  EXPECT_FALSE(reader_.ReadWixLocalizationFile(folder_ + L"missing.wxl"));
  EXPECT_EQ(log.Count(L"ERROR:\t\tError in loading the xml file," + folder_ + L"missing.wxl."), 2u);
  EXPECT_EQ(Text(L"B"), L"second");
}

TEST_F(WixLocalizationReaderTest, MalformedFileFailsWithTheLoadError) {
  configtest::WriteXml(folder_, L"bad.wxl", "<WixLocalization><String Id=\"A\">a</Strin></WixLocalization>");
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_FALSE(reader_.ReadWixLocalizationFile(folder_ + L"bad.wxl"));
  EXPECT_EQ(log.Count(L"Error in loading the xml file," + folder_ + L"bad.wxl."), 1u);
}

TEST_F(WixLocalizationReaderTest, UnknownLanguageReadsNothingAndSaysSo) {
  AddLanguage(1033, {L"en.wxl"});
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_TRUE(reader_.LoadWixLocalization(1049));
  EXPECT_EQ(log.Count(L"INFORMATION:\tThe specified language, 1049, could not be found. Kindly check the setupconfig "
                      L"file."),
            1u);
  EXPECT_EQ(log.Count(L"Error in loading the xml file"), 0u);
}

}  // namespace
