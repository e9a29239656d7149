#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ConfigTestSupport.h"
#include "config/IIconList.h"
#include "config/SetupConfigData.h"
#include "config/SetupConfigParser.h"
#include "support/TestPaths.h"
#include "ui/style/DialogUnitConverter.h"
#include "wix/WixDataManager.h"
#include "config/WixFileContainer.h"
#include "wix/WixLocalizationReader.h"
#include "wix/WixSourceReader.h"

// The demo bundle's wizard: its WiX sources and localization files, as the
// bundle's SetupConfig.xml lists them, read in each of its three languages.

namespace {

struct DemoLanguage {
  LANGID id;
  const wchar_t* next;
  const wchar_t* pluginsFeature;
};
void PrintTo(const DemoLanguage& language, std::ostream* os) { *os << language.id; }

class WixDemoSources : public ::testing::TestWithParam<DemoLanguage> {};

TEST_P(WixDemoSources, ReadWholeWithEveryTextLocalized) {
  const std::wstring bundle = testsupport::SourceFolder() + L"examples\\demo\\";
  CSetupConfigData record;
  record.SetExecutionType(0);
  CSetupConfigParser config(record, record);
  ASSERT_TRUE(config.StartParse(bundle + L"SetupData\\Configuration\\SetupConfig.xml"));
  record.SetSetupFolder(bundle);

  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  CWixLocalizationReader strings(record, record);
  ASSERT_TRUE(strings.LoadWixLocalization(GetParam().id));
  CDialogUnitConverter converter;
  CWixDataManager model(record);
  CWixSourceReader reader(record, record, model, converter);
  CWixFileContainer* files = record.GetWixFileContainer();
  ASSERT_NE(files, nullptr);
  ASSERT_EQ(files->Rewind(), 2);
  for (std::wstring file = files->GetNextPath(); !file.empty(); file = files->GetNextPath()) {
    EXPECT_EQ(reader.ParseWixFile(bundle + file), 1);
  }
  EXPECT_EQ(reader.ParseWixFile(bundle + L"SetupData\\Wix\\PreInstallDialogs.wxs"), 1);
  EXPECT_EQ(reader.CompleteParse(), 1);
  std::wstring text = log.Text();
  EXPECT_EQ(text.find(L"does not exist"), std::wstring::npos);
  EXPECT_EQ(text.find(L"ERROR"), std::wstring::npos);

  // The pages and pop-ups the wizard looks for by name.
  for (const wchar_t* id : {L"WelcomeDlg", L"LicenseAgreementDlg", L"CustomizeDlg", L"BrowseDlg", L"VerifyReadyDlg",
                            L"PrepareDlg", L"ProgressDlg", L"MaintenanceTypeDlg", L"ExitDlg", L"UserExitDlg",
                            L"FatalErrorDlg", L"CancelDlg", L"ErrorDlg", L"OutOfDiskDlg", L"CheckProcessDlg",
                            L"Language_Dlg", L"PreInstallDlg", L"Restart_Dlg", L"Restart_Main_Dlg",
                            L"Restart_Intermediate_Dlg", L"UserInfoDlg", L"MaintenanceWelcomeDlg"}) {
    EXPECT_NE(model.GetDialog(id), nullptr);
  }
  EXPECT_EQ(model.GetDialog(L"WelcomeDlg")->FindControl(L"Next")->GetText(), GetParam().next);
  EXPECT_EQ(model.GetDialog(L"WelcomeDlg")->FindControl(L"Title")->GetTextStyle(), L"Studio_Font_Bigger");
  const std::vector<WixPublish>& repair = model.GetDialog(L"MaintenanceTypeDlg")->FindControl(L"RepairButton")->GetPublishes();
  ASSERT_EQ(repair.size(), 2u);
  EXPECT_EQ(repair[0].event, L"[WixUI_InstallMode]");
  EXPECT_EQ(repair[1].argument, L"VerifyReadyDlg");
  EXPECT_EQ(model.GetDialog(L"PreInstallDlg")->FindControl(L"BrandGroup")->GetRadioButtons().size(), 2u);
  // The page that shows every control kind of the wizard walk.
  const CWixDialog* userInfo = model.GetDialog(L"UserInfoDlg");
  EXPECT_EQ(userInfo->FindControl(L"SamplesGroup")->GetRadioButtons().size(), 2u);
  EXPECT_EQ(userInfo->FindControl(L"UnitsCombo")->GetItems().size(), 2u);
  EXPECT_EQ(userInfo->FindControl(L"TemplateList")->GetItems().size(), 3u);

  const auto& features = model.GetFeatures();
  ASSERT_EQ(features.size(), 3u);
  EXPECT_EQ(features[0]->GetChildren().at(1)->GetTitle(), GetParam().pluginsFeature);
  ASSERT_EQ(features[0]->GetChildren().size(), 3u);
  EXPECT_EQ(features[0]->GetChildren()[1]->GetChildren().size(), 2u);
  EXPECT_EQ(features[1]->GetNonFeatureProductName(), L"Halvorsk Studio Sample Projects");
  EXPECT_EQ(record.GetIconList()->GetIconPath(L"Studio_Bmp_Banner"), L"SetupData\\Wix\\Binary\\Banner.bmp");
  EXPECT_EQ(model.GetLocalizedText(L"HTMLPAGEPATHClickHere").rfind(bundle, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Languages, WixDemoSources,
                         ::testing::Values(DemoLanguage{1033, L"&Next", L"Plug-ins"},
                                           DemoLanguage{1031, L"&Weiter", L"Plug-Ins"},
                                           DemoLanguage{1036, L"&Suivant", L"Modules"}));

}  // namespace
