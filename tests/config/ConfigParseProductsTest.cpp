#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "SetupConfigFixture.h"
#include "config/ILocalizationSetting.h"
#include "config/WixFileContainer.h"

namespace {

using configtest::SetupConfigSections;
using modeltest::LogCapture;

std::string ProductList(const std::string& groups) { return "<ProductList>" + groups + "</ProductList>"; }

class ConfigParseProducts : public configtest::SetupConfigTest {
 protected:
  // Parses a list holding one ordinary group with this product element.
  IProductAttributes* ParseOne(const std::string& product, const std::string& groupAttributes = "Sequence=\"1\"") {
    ResetRecord();
    SetupConfigSections sections;
    sections.products = ProductList("<ProductGroup " + groupAttributes + ">" + product + "</ProductGroup>");
    if (!Parse(sections)) return nullptr;
    auto products = Products();
    return products.size() == 1 ? products[0] : nullptr;
  }
};

TEST_F(ConfigParseProducts, GroupsAndProductsSortedWithKeysFromTheSequenceTexts) {
  SetupConfigSections sections;
  sections.products = ProductList(
      "<ProductGroup DisplayName=\"Second\" Sequence=\"2\" ShowInUI=\"YES\">"
      "<Product Sequence=\"02\" ProductName=\"B2\"/><Product Sequence=\"1\" ProductName=\"B1\"/></ProductGroup>"
      "<ProductGroup DisplayName=\"First\" Sequence=\"1\"><Product Sequence=\"7\" ProductName=\"A7\"/></ProductGroup>");
  ASSERT_TRUE(Parse(sections));
  auto groups = Groups();
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0]->GetDisplayName(), L"First");
  EXPECT_FALSE(groups[0]->IsShownInUI());
  EXPECT_EQ(groups[1]->GetDisplayName(), L"Second");
  EXPECT_TRUE(groups[1]->IsShownInUI());
  EXPECT_TRUE(groups[1]->GetConfiguredShowInUI());
  auto products = Products();
  ASSERT_EQ(products.size(), 3u);
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {{L"A7", L"1_7"}, {L"B1", L"2_1"}, {L"B2", L"2_02"}};
  for (size_t i = 0; i < products.size(); ++i) {
    EXPECT_EQ(products[i]->GetProductName(), expected[i].first);
    EXPECT_EQ(products[i]->GetKey(), expected[i].second);
  }
}

TEST_F(ConfigParseProducts, GroupKindFromItsAttributes) {
  const struct {
    const char* attributes;
    int kind;
  } cases[] = {
      {"", kGroupKindOrdinary},
      {"Prerequisites=\"\"", kGroupKindPrerequisites},
      {"SetupInitializer=\"no\"", kGroupKindSetupInitializer},
      {"PostInstallProduct=\"1\"", kGroupKindPostInstallProduct},
      {"UninstallProducts=\"true\"", kGroupKindUninstallProducts},
      {"Prerequisites=\"1\" UninstallProducts=\"1\"", kGroupKindUninstallProducts},
      {"UninstallProducts=\"1\" Prerequisites=\"1\"", kGroupKindPrerequisites},
      {"prerequisites=\"1\"", kGroupKindOrdinary},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attributes);
    ResetRecord();
    SetupConfigSections sections;
    sections.products = ProductList(std::string("<ProductGroup Sequence=\"1\" ") + c.attributes +
                                    "><Product Sequence=\"1\"/></ProductGroup>");
    ASSERT_TRUE(Parse(sections));
    IProductGroupList* groups = record_->GetProductGroupList();
    ASSERT_NE(groups, nullptr);
    groups->ResetIteration();
    IProductGroup* group = groups->GetNextGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetGroupKind(), c.kind);
  }
}

TEST_F(ConfigParseProducts, EveryProductAttributeReachesTheProduct) {
  IProductAttributes* p = ParseOne(
      "<Product MainProduct=\"yes\" Rollback=\"TRUE\" WixSource=\"false\" Id=\"{11111111-2222-3333-4444-555555555555}\" "
      "MainProductPatch=\"true\" Type=\"msp\" Sequence=\"3\" SpaceRequired=\"2048\" TimeOut=\"600|120\" "
      "ProductName=\"Acme Core\" Location=\"Packages\\Core.msp\" InstallCommand=\"REINSTALL=ALL\" "
      "UninstallCommand=\"REMOVE=ALL\" RepairCommand=\"REINSTALLMODE=omus\" PropertyName=\"CORE\" "
      "Condition=\"VersionNT &gt;= 600\" Reboot=\"CONDITIONAL\" FailureExitCode=\"1603\" EnableCancel=\"no\" "
      "ShowAbortDialog=\"Yes\" SilentInstallCommand=\"/quiet\" CheckMSIMutex=\"true\" "
      "WarningExitCode=\"reboot&lt;&gt;3010,,busy&lt;&gt;1618\" InformationalExitCode=\"info&lt;&gt;5\" "
      "Unknown=\"x\"/>");
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->IsMainProduct());
  EXPECT_TRUE(p->IsRollback());
  EXPECT_FALSE(p->IsWixSource());
  EXPECT_TRUE(p->IsMainProductPatch());
  EXPECT_EQ(p->GetId(), L"{11111111-2222-3333-4444-555555555555}");
  EXPECT_EQ(p->GetProductType(), kProductTypeMsp);
  EXPECT_EQ(p->GetSequence(), 3);
  EXPECT_EQ(p->GetSpaceRequired(), 2048);
  EXPECT_EQ(p->GetTimeOut(), 600);
  EXPECT_EQ(p->GetProgressTimeOut(), 120);
  EXPECT_EQ(p->GetProductName(), L"Acme Core");
  EXPECT_EQ(p->GetLocation(), L"Packages\\Core.msp");
  EXPECT_EQ(p->GetInstallCommand(), L"REINSTALL=ALL");
  EXPECT_EQ(p->GetUninstallCommand(), L"REMOVE=ALL");
  EXPECT_EQ(p->GetRepairCommand(), L"REINSTALLMODE=omus");
  EXPECT_EQ(p->GetPropertyName(), L"CORE");
  EXPECT_EQ(p->GetCondition(), L"VersionNT >= 600");
  EXPECT_EQ(p->GetReboot(), L"CONDITIONAL");
  EXPECT_EQ(p->GetFailureExitCode(), L"1603");
  EXPECT_FALSE(p->IsCancelEnabled());
  EXPECT_TRUE(p->IsShowAbortDialog());
  EXPECT_EQ(p->GetSilentInstallCommand(), L"/quiet");
  EXPECT_TRUE(p->IsCheckMSIMutex());
  EXPECT_TRUE(p->IsWarningExitCode(3010));
  EXPECT_TRUE(p->IsWarningExitCode(1618));
  EXPECT_TRUE(p->IsInformationalExitCode(5));
  EXPECT_FALSE(p->IsInformationalExitCode(3010));
  EXPECT_EQ(record_->GetMainProductUninstallCommand(), L"REMOVE=ALL");
  EXPECT_EQ(record_->GetMainProductLocation(), L"Packages\\Core.msp");
}

TEST_F(ConfigParseProducts, TimeOutForms) {
  const struct {
    const char* attribute;
    int timeOut;
    int progressTimeOut;
  } cases[] = {
      {"", -1, -1},
      {"TimeOut=\"600\"", 600, 600},
      {"TimeOut=\"600|120\"", 600, 120},
      {"TimeOut=\"|600||120|\"", 600, 120},
      {"TimeOut=\"\"", -1, -1},
      {"TimeOut=\"abc|5\"", 0, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attribute);
    IProductAttributes* p = ParseOne(std::string("<Product Sequence=\"1\" ") + c.attribute + "/>");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetTimeOut(), c.timeOut);
    EXPECT_EQ(p->GetProgressTimeOut(), c.progressTimeOut);
  }
}

TEST_F(ConfigParseProducts, TypeTexts) {
  const struct {
    const char* attribute;
    int type;
  } cases[] = {
      {"", kProductTypeMsi},           {"Type=\"exe\"", kProductTypeExe},         {"Type=\"EXE\"", kProductTypeExe},
      {"Type=\"registry\"", kProductTypeRegistry}, {"Type=\"Msp\"", kProductTypeMsp}, {"Type=\"MSI\"", kProductTypeMsi},
      {"Type=\"Script\"", kProductTypeMsi},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attribute);
    IProductAttributes* p = ParseOne(std::string("<Product Sequence=\"1\" ") + c.attribute + "/>");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetProductType(), c.type);
  }
}

TEST_F(ConfigParseProducts, CancelDefaultsByGroupKind) {
  const struct {
    const char* groupAttributes;
    const char* enableCancel;
    bool cancelEnabled;
  } cases[] = {
      {"Sequence=\"1\" Prerequisites=\"1\"", "", false},
      {"Sequence=\"1\" PostInstallProduct=\"1\"", "", false},
      {"Sequence=\"1\" SetupInitializer=\"1\"", "", false},
      {"Sequence=\"1\" UninstallProducts=\"1\"", "", true},
      {"Sequence=\"1\"", "", true},
      {"Sequence=\"1\" Prerequisites=\"1\"", "EnableCancel=\"Yes\"", true},
      {"Sequence=\"1\"", "EnableCancel=\"false\"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.groupAttributes) + " " + c.enableCancel);
    IProductAttributes* p = ParseOne(std::string("<Product Sequence=\"1\" ") + c.enableCancel + "/>", c.groupAttributes);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->IsCancelEnabled(), c.cancelEnabled);
  }
}

TEST_F(ConfigParseProducts, ProductTransformsPerLanguage) {
  IProductAttributes* p = ParseOne(
      "<Product Sequence=\"1\"><LocalizationSetting>"
      "<Language Id=\"1031\" Name=\"Deutsch\" MstFile=\"Transforms\\1031.mst\"/>"
      "<Language Id=\"1031\" MstFile=\"Transforms\\second.mst\"/>"
      "<Language Id=\"1036\"/>"
      "</LocalizationSetting></Product>");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetTransformForLanguage(1031), L"Transforms\\1031.mst");
  EXPECT_EQ(p->GetTransformForLanguage(1036), L"");
  // Languages of a product that is not the WiX source are not wizard languages.
  EXPECT_EQ(record_->GetLocalizationSettings(), nullptr);
  EXPECT_EQ(record_->GetWixSourceProduct(), nullptr);
}

TEST_F(ConfigParseProducts, WixSourceProductGivesSourcesAndWizardLanguages) {
  IProductAttributes* p = ParseOne(
      "<Product Sequence=\"1\" WixSource=\"true\" ProductName=\"Main\">"
      "<WixSrc><WixFile Path=\"SetupData\\Wix\\UI.wxs\"/><WixFile Path=\"SetupData\\Wix\\Features.wxs\"/></WixSrc>"
      "<LocalizationSetting>"
      "<Language Id=\"1033\" Name=\"English\" Codepage=\"1252\">"
      "<LocalizationFiles FileName=\"SetupData\\Wix\\en-us.wxl\"/><LocalizationFiles FileName=\"SetupData\\Wix\\x.wxl\"/>"
      "</Language>"
      "<Language Id=\"1031\" Name=\"Deutsch\" MstFile=\"de.mst\" Codepage=\"1252\">"
      "<LocalizationFiles FileName=\"SetupData\\Wix\\de-de.wxl\"/></Language>"
      "</LocalizationSetting></Product>");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(record_->GetWixSourceProduct(), p);

  CWixFileContainer* files = record_->GetWixFileContainer();
  ASSERT_NE(files, nullptr);
  ASSERT_EQ(files->Rewind(), 2);
  EXPECT_EQ(files->GetNextPath(), L"SetupData\\Wix\\UI.wxs");
  EXPECT_EQ(files->GetNextPath(), L"SetupData\\Wix\\Features.wxs");

  ILocalizationSetting* languages = record_->GetLocalizationSettings();
  ASSERT_NE(languages, nullptr);
  ASSERT_EQ(languages->GetCount(), 2);
  EXPECT_EQ(languages->GetLanguageIdByName(L"deutsch"), 1031);
  EXPECT_EQ(languages->GetMstFile(1031), L"de.mst");
  EXPECT_EQ(languages->GetCodepage(1033), L"1252");
  ILocalizationSettingData* english = languages->GetLanguageSettingAt(0);
  ASSERT_NE(english, nullptr);
  EXPECT_EQ(english->GetLanguageId(), 1033);
  ASSERT_EQ(english->ResetIteration(), 2);
  std::wstring file;
  ASSERT_TRUE(english->GetNextLocalizationFile(file));
  EXPECT_EQ(file, L"SetupData\\Wix\\en-us.wxl");
  EXPECT_EQ(p->GetTransformForLanguage(1031), L"de.mst");
}

TEST_F(ConfigParseProducts, WixSourceWithoutFilesHasNoWizardLanguages) {
  IProductAttributes* p = ParseOne(
      "<Product Sequence=\"1\" WixSource=\"yes\"><LocalizationSetting><Language Id=\"1033\" Name=\"English\">"
      "<LocalizationFiles FileName=\"en-us.wxl\"/></Language></LocalizationSetting></Product>");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(record_->GetWixSourceProduct(), p);
  EXPECT_EQ(record_->GetWixFileContainer(), nullptr);
  EXPECT_EQ(record_->GetLocalizationSettings(), nullptr);
}

TEST_F(ConfigParseProducts, GroupWithoutProductsAndProductWithoutAttributesAreSkipped) {
  SetupConfigSections sections;
  sections.products = ProductList(
      "<ProductGroup Sequence=\"1\" DisplayName=\"Empty\"/>"
      "<ProductGroup Sequence=\"2\"><Product/><Product Sequence=\"1\" ProductName=\"Kept\"/></ProductGroup>");
  ASSERT_TRUE(Parse(sections));
  auto groups = Groups();
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0]->GetProductList(), nullptr);
  auto products = Products();
  ASSERT_EQ(products.size(), 1u);
  EXPECT_EQ(products[0]->GetProductName(), L"Kept");
}

TEST_F(ConfigParseProducts, ProductListFailures) {
  const struct {
    const char* name;
    std::string products;
    const wchar_t* extraError;
  } cases[] = {
      {"no ProductList", "", L"No product groups configured in SetupConfig.xml"},
      {"no groups", "<ProductList/>", L"No product groups configured in SetupConfig.xml"},
      {"group without attributes", ProductList("<ProductGroup><Product Sequence=\"1\"/></ProductGroup>"), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetRecord();
    SetupConfigSections sections;
    sections.products = c.products;
    LogCapture log;
    ASSERT_TRUE(log.IsActive());
    EXPECT_FALSE(Parse(sections));
    EXPECT_EQ(log.Count(L"ERROR:\t\tCSetupConfigParser::StartParse() - Error in parsing ProductList section."), 1u);
    if (c.extraError) {
      EXPECT_EQ(log.Count(L"ERROR:\t\t" + std::wstring(c.extraError)), 1u);
    }
    // Earlier sections stay in the record_->
    EXPECT_NE(record_->GetBrandDetailsList(), nullptr);
  }
}

}  // namespace
