#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "SetupConfigFixture.h"
#include "config/BrandDetailsList.h"
#include "config/IBrandDetailsList.h"
#include "config/IIconList.h"
#include "config/IPreInstallDialogData.h"
#include "config/IPreInstallDialogList.h"
#include "config/IPreconditionProcessCheckData.h"
#include "config/IPreconditionProcessCheckList.h"

namespace {

using configtest::SetupConfigSections;
using modeltest::LogCapture;

class ConfigParseSections : public configtest::SetupConfigTest {};

TEST_F(ConfigParseSections, ProcessChecksInDocumentOrder) {
  SetupConfigSections sections;
  sections.preCondition =
      "<PreCondition>"
      "<Process List=\"notepad.exe;wordpad.exe\" Condition=\"NOT Installed\" Extra=\"x\"/>"
      "<Process Condition=\"1\"/>"
      "<Process list=\"ignored.exe\" List=\"calc.exe\"/>"
      "</PreCondition>";
  ASSERT_TRUE(Parse(sections));
  IPreconditionProcessCheckList* checks = record_->GetPreconditionProcessCheckList();
  ASSERT_NE(checks, nullptr);
  ASSERT_EQ(checks->ResetIteration(), 3);
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"notepad.exe;wordpad.exe", L"NOT Installed"}, {L"", L"1"}, {L"calc.exe", L""}};
  for (const auto& [list, condition] : expected) {
    IPreconditionProcessCheckData* check = checks->GetNextCheck();
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->GetList(), list);
    EXPECT_EQ(check->GetCondition(), condition);
  }
}

TEST_F(ConfigParseSections, NoOrEmptyPreConditionGivesAnEmptyCheckList) {
  for (const char* preCondition : {"", "<PreCondition/>"}) {
    SCOPED_TRACE(preCondition);
    ResetRecord();
    SetupConfigSections sections;
    sections.preCondition = preCondition;
    ASSERT_TRUE(Parse(sections));
    ASSERT_NE(record_->GetPreconditionProcessCheckList(), nullptr);
    EXPECT_EQ(record_->GetPreconditionProcessCheckList()->GetCount(), 0);
  }
}

TEST_F(ConfigParseSections, ProcessWithoutAttributesStopsBeforeGeneral) {
  SetupConfigSections sections;
  sections.preCondition = "<PreCondition><Process List=\"a.exe\"/><Process/></PreCondition>";
  EXPECT_FALSE(Parse(sections));
  EXPECT_EQ(record_->GetPreconditionProcessCheckList(), nullptr);
  EXPECT_EQ(record_->GetLogFileDetails(), nullptr);
}

TEST_F(ConfigParseSections, PreInstallDialogsSortedWithDefaultCondition) {
  SetupConfigSections sections;
  sections.dialogs =
      "<PreInstallDialogs>"
      "<Dialog Sequence=\"2\" Id=\"LanguageDlg\" WixPath=\"SetupData\\Wix\\Language.wxs\"/>"
      "<Dialog Sequence=\"1\" Id=\"BrandDlg\" WixPath=\"SetupData\\Wix\\Brand.wxs\" Condition=\"NOT Installed\"/>"
      "<Dialog Sequence=\"3\" Id=\"EmptyDlg\" WixPath=\"e.wxs\" Condition=\"\"/>"
      "</PreInstallDialogs>";
  ASSERT_TRUE(Parse(sections));
  IPreInstallDialogList* dialogs = record_->GetPreInstallDialogList();
  ASSERT_NE(dialogs, nullptr);
  ASSERT_EQ(dialogs->ResetIteration(), 3);
  const struct {
    int sequence;
    const wchar_t* id;
    const wchar_t* wixPath;
    const wchar_t* condition;
  } expected[] = {{1, L"BrandDlg", L"SetupData\\Wix\\Brand.wxs", L"NOT Installed"},
                  {2, L"LanguageDlg", L"SetupData\\Wix\\Language.wxs", L"1"},
                  {3, L"EmptyDlg", L"e.wxs", L""}};
  for (const auto& e : expected) {
    IPreInstallDialogData* dialog = dialogs->GetNextDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetSequence(), e.sequence);
    EXPECT_EQ(dialog->GetId(), e.id);
    EXPECT_EQ(dialog->GetWixPath(), e.wixPath);
    EXPECT_EQ(dialog->GetCondition(), e.condition);
  }
}

TEST_F(ConfigParseSections, ImagesByNameFirstPathWins) {
  SetupConfigSections sections;
  sections.images =
      "<ImageFiles>"
      "<Image Name=\"SetupIcon\" FilePath=\"SetupData\\Images\\Setup.ico\"/>"
      "<Image Name=\"Warning\" FilePath=\"SetupData\\Images\\Warning.ico\"/>"
      "<Image Name=\"SetupIcon\" FilePath=\"SetupData\\Images\\Other.ico\"/>"
      "</ImageFiles>";
  ASSERT_TRUE(Parse(sections));
  IIconList* icons = record_->GetIconList();
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(icons->GetIconPath(L"SetupIcon"), L"SetupData\\Images\\Setup.ico");
  EXPECT_EQ(icons->GetIconPath(L"Warning"), L"SetupData\\Images\\Warning.ico");
  EXPECT_EQ(icons->GetIconPath(L"setupicon"), L"");
}

TEST_F(ConfigParseSections, BrandsNameValueDefaultAndVersionTexts) {
  SetupConfigSections sections;
  sections.brands =
      "<Brand Name=\"Acme Pro\" Value=\"PRO\" Default=\"TRUE\"><ImageFiles>"
      "<Image Name=\"splashscreen\" FilePath=\"s1.bmp\" VersionText=\"Version 1\"/>"
      "<Image Name=\"Banner\" FilePath=\"b1.bmp\" VersionText=\"Banner 1\"/>"
      "<Image Name=\"Banner\" FilePath=\"b2.bmp\" VersionText=\"Banner 2\"/>"
      "</ImageFiles></Brand>"
      "<Brand Name=\"Acme Lite\" Default=\"yes\"><ImageFiles>"
      "<Image Name=\"BillBoardImage\" FilePath=\"bb.bmp\"/>"
      "</ImageFiles></Brand>";
  ASSERT_TRUE(Parse(sections));
  IBrandDetailsList* brands = record_->GetBrandDetailsList();
  ASSERT_NE(brands, nullptr);
  EXPECT_TRUE(brands->IsBrandConfigured(L"PRO"));
  EXPECT_TRUE(brands->IsBrandConfigured(L"Acme Lite"));  // Value falls back to Name
  EXPECT_FALSE(brands->IsBrandConfigured(L"Acme Pro"));
  EXPECT_EQ(brands->GetBrandName(L"PRO"), L"Acme Pro");
  // "yes" is not a default marker, so the first brand stays the default and is selected.
  EXPECT_EQ(record_->GetBrand(), L"PRO");
  EXPECT_EQ(brands->GetSplashVersionText(), L"Version 1");
  EXPECT_EQ(brands->GetBannerVersionText(), L"Banner 2");  // a later image of the same kind replaces
  record_->SetBrand(L"Acme Lite");
  EXPECT_EQ(brands->GetSplashVersionText(), L"");
}

TEST_F(ConfigParseSections, TwoDefaultBrandsTheLastWins) {
  SetupConfigSections sections;
  const std::string images = "<ImageFiles><Image Name=\"Banner\" FilePath=\"b.bmp\"/></ImageFiles>";
  sections.brands = "<Brand Name=\"A\" Default=\"true\">" + images + "</Brand><Brand Name=\"B\" Default=\"True\">" +
                    images + "</Brand><Brand Name=\"C\">" + images + "</Brand>";
  ASSERT_TRUE(Parse(sections));
  auto* brands = dynamic_cast<CBrandDetailsList*>(record_->GetBrandDetailsList());
  ASSERT_NE(brands, nullptr);
  EXPECT_EQ(brands->GetDefaultBrand(), L"B");
  EXPECT_EQ(record_->GetBrand(), L"B");
}

TEST_F(ConfigParseSections, AConfiguredBrandChosenEarlierStays) {
  record_->SetBrand(L"C");
  SetupConfigSections sections;
  const std::string images = "<ImageFiles><Image Name=\"Banner\" FilePath=\"b.bmp\"/></ImageFiles>";
  sections.brands = "<Brand Name=\"A\" Default=\"true\">" + images + "</Brand><Brand Name=\"C\">" + images + "</Brand>";
  ASSERT_TRUE(Parse(sections));
  EXPECT_EQ(record_->GetBrand(), L"C");
}

TEST_F(ConfigParseSections, BrandFailuresStopBeforeTheProducts) {
  const struct {
    const char* name;
    const char* brands;
    const wchar_t* warning;
  } cases[] = {
      {"no brand", "", L"Brand is not configured under SetupConfig.xml. Splash screen and banner will not work correctly"},
      {"brand without images", "<Brand Name=\"A\"/>",
       L"Parsing 'Brand' has failed. Splash screen and banner will not work correctly"},
      {"brand without attributes", "<Brand><ImageFiles><Image Name=\"Banner\" FilePath=\"b\"/></ImageFiles></Brand>",
       L"Parsing 'Brand' has failed. Splash screen and banner will not work correctly"},
      {"image without attributes", "<Brand Name=\"A\"><ImageFiles><Image/></ImageFiles></Brand>",
       L"Parsing 'Brand' has failed. Splash screen and banner will not work correctly"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetRecord();
    SetupConfigSections sections;
    sections.brands = c.brands;
    LogCapture log;
    ASSERT_TRUE(log.IsActive());
    EXPECT_FALSE(Parse(sections));
    EXPECT_EQ(log.Count(L"WARNING:\t" + std::wstring(c.warning)), 1u);
    EXPECT_EQ(log.Count(L"ERROR:\t\tCSetupConfigParser::StartParse() - Error in parsing Brand details section."), 1u);
    EXPECT_EQ(record_->GetProductGroupList(), nullptr);
  }
}

}  // namespace
