#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "config/IBrandDetailsList.h"
#include "config/IIconList.h"
#include "config/ILocalizationSetting.h"
#include "config/IPreInstallDialogList.h"
#include "config/IPreconditionProcessCheckList.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/SetupConfigData.h"
#include "config/SetupConfigParser.h"
#include "config/SilentConfigData.h"
#include "config/SilentConfigParser.h"
#include "log/ILogFileDetails.h"
#include "support/TestPaths.h"
#include "config/WixFileContainer.h"

namespace {

std::wstring DemoConfiguration(const wchar_t* file) {
  return testsupport::SourceFolder() + L"examples\\demo\\SetupData\\Configuration\\" + file;
}

class PropertyMap : public IPropertyTarget {
 public:
  void SetProperty(const std::wstring& name, const std::wstring& value, bool) override { values[name] = value; }
  std::map<std::wstring, std::wstring> values;
};

// The demo bundle is what ./dev demo runs; these checks keep it readable and meaningful.
TEST(ConfigParseDemo, SetupConfigReadsWhole) {
  CSetupConfigData record;
  record.SetExecutionType(0);
  CSetupConfigParser parser(record, record);
  ASSERT_TRUE(parser.StartParse(DemoConfiguration(L"SetupConfig.xml")));

  EXPECT_EQ(record.GetBootstrapperRegistry(), L"HalvorskStudio");
  EXPECT_EQ(record.GetStyleConfigPath(), L"SetupData\\Configuration\\StyleConfig.xml");
  EXPECT_EQ(record.GetPlatform(), L"x86");
  EXPECT_TRUE(record.IsAccumulateConditionalReboot());
  EXPECT_EQ(record.GetMSIMutexTimeout(), 30);

  const ILogFileDetails* log = record.GetLogFileDetails();
  ASSERT_NE(log, nullptr);
  wchar_t common[MAX_PATH] = {};
  ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, common, CSIDL_COMMON_APPDATA, FALSE));
  EXPECT_EQ(log->GetName(), std::wstring(common) + L"\\Halvorsk\\Logs\\Setup\\HalvorskStudio_Setup.log");
  EXPECT_EQ(log->GetLevel(), L"DEVELOPERINFO");

  ASSERT_NE(record.GetPreconditionProcessCheckList(), nullptr);
  EXPECT_EQ(record.GetPreconditionProcessCheckList()->GetCount(), 2);
  ASSERT_NE(record.GetPreInstallDialogList(), nullptr);
  EXPECT_EQ(record.GetPreInstallDialogList()->ResetIteration(), 4);
  ASSERT_NE(record.GetIconList(), nullptr);
  EXPECT_EQ(record.GetIconList()->GetIconPath(L"SetupIcon"), L"SetupData\\Images\\Setup.ico");
  ASSERT_NE(record.GetBrandDetailsList(), nullptr);
  EXPECT_TRUE(record.GetBrandDetailsList()->IsBrandConfigured(L"Express"));
  EXPECT_EQ(record.GetBrand(), L"Professional");

  // Groups in execution order with one of each kind the demo shows.
  std::vector<int> kinds;
  std::vector<std::wstring> keys;
  IProductGroupList* groups = record.GetProductGroupList();
  ASSERT_NE(groups, nullptr);
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    kinds.push_back(group->GetGroupKind());
    IProductList* products = group->GetProductList();
    ASSERT_NE(products, nullptr);
    products->ResetIteration();
    while (IProductAttributes* product = products->GetNextProduct()) keys.push_back(product->GetKey());
  }
  EXPECT_EQ(kinds, (std::vector<int>{kGroupKindPrerequisites, kGroupKindSetupInitializer, kGroupKindOrdinary,
                                     kGroupKindPostInstallProduct}));
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"1_1", L"2_1", L"3_1", L"3_2", L"4_1"}));

  IProductAttributes* main = record.GetWixSourceProduct();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->IsMainProduct());
  EXPECT_EQ(main->GetLocation(), L"SetupData\\Packages\\Studio\\HalvorskStudio.msi");
  EXPECT_TRUE(main->IsWarningExitCode(3010));
  // The demo ships no language transforms, so it names none: a named one
  // that is missing would be an error in every German or French run.
  EXPECT_EQ(main->GetTransformForLanguage(1031), L"");
  EXPECT_EQ(record.GetMainProductUninstallCommand(), L"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10} REBOOT=ReallySuppress");
  ASSERT_NE(record.GetWixFileContainer(), nullptr);
  EXPECT_EQ(record.GetWixFileContainer()->Rewind(), 2);
  ILocalizationSetting* languages = record.GetLocalizationSettings();
  ASSERT_NE(languages, nullptr);
  EXPECT_EQ(languages->GetCount(), 3);
  EXPECT_EQ(languages->GetLanguageIdByName(L"Fran\u00e7ais"), 1036);
  EXPECT_EQ(languages->GetMstFile(1031), L"");
}

TEST(ConfigParseDemo, SilentConfigReadsWhole) {
  CSetupConfigData record;
  CSetupConfigParser setupParser(record, record);
  ASSERT_TRUE(setupParser.StartParse(DemoConfiguration(L"SetupConfig.xml")));
  CSilentConfigData silent;
  CSilentConfigParser parser(silent, record);
  ASSERT_TRUE(parser.StartParse(DemoConfiguration(L"SilentConfig.xml")));
  EXPECT_FALSE(silent.IsShowIndicator());
  EXPECT_TRUE(silent.IsShowErrorDialog());
  EXPECT_EQ(record.GetBrand(), L"Professional");

  PropertyMap properties;
  silent.ApplyGeneralProperties(properties);
  EXPECT_EQ(properties.values[L"INSTALLDIR"], L"C:\\Program Files\\Halvorsk\\Studio 4");
  EXPECT_EQ(properties.values[L"INSTALLSAMPLES"], L"1");
  EXPECT_EQ(properties.values[L"SHAREDDATADIR"].find(L'%'), std::wstring::npos);

  std::wstring text;
  EXPECT_EQ(silent.GetKeyValue(L"AddInfo_3010", text), 1);
  EXPECT_EQ(text, L"Restart the computer to complete the installation.");
  ASSERT_NE(silent.GetWixFileContainer(), nullptr);
  EXPECT_EQ(silent.GetWixFileContainer()->GetNextPath(), L"SetupData\\Wix\\StudioUI.wxs");
}

}  // namespace
