// The MSI manager on real main packages opened by the launchers: the captured
// first dialog, the property string and cache, texts with property
// references, the Feature and Control tables and feature costs.

#include <gtest/gtest.h>

#include <memory>

#include "PackageCodes.h"
#include "SetupManagerFixture.h"
#include "config/ExecutionType.h"
#include "msi/MSIManager.h"
#include "wix/WixDataManager.h"
#include "wix/WixFeature.h"

namespace enginetest {
namespace {

TEST_F(SetupManagerTest, WizardLaunchCapturesTheFirstDialogWithoutInstalling) {
  ASSERT_TRUE(LoadMainBundle("SetupMainUI", kMainUICode, SETUPEXECTYPE_INSTALLATION));
  auto manager = MakeManager(false);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  EXPECT_EQ(manager->GetMSIManager()->GetFirstDialogName(), L"WelcomeDlg");
  const std::vector<std::wstring> expected = {L"EnableCloseCommand(0)", L"ShowDialog(PrepareDlg)", L"EndCurrentDialog",
                                              L"EnableCloseCommand(1)", L"ShowDialog(WelcomeDlg)"};
  std::vector<std::wstring> calls;
  for (const std::wstring& line : dispatcher_.Log().Lines()) {
    if (line.rfind(L"EnableClose", 0) == 0 || line.rfind(L"ShowDialog", 0) == 0 || line == L"EndCurrentDialog") {
      calls.push_back(line);
    }
  }
  EXPECT_EQ(calls, expected);
  EXPECT_TRUE(InstalledProductName(kMainUICode).empty());
  // The package's Control table answers the wizard's text question; the last match wins.
  EXPECT_EQ(manager->GetMSIManager()->GetControlText(L"next"), L"Next from the package");
  EXPECT_EQ(manager->GetMSIManager()->GetControlText(L"NoSuchControl"), L"");
}

TEST_F(SetupManagerTest, WizardLaunchOfAPackageWithoutDialogsFailsWithoutInstalling) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  auto manager = MakeManager(false);
  EXPECT_EQ(manager->LaunchInitializer(&dispatcher_), 0);
  EXPECT_TRUE(InstalledProductName(kMainCode).empty());
  const std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"Unable to get the first dialog name from the initializer setup"), std::wstring::npos);
  EXPECT_NE(log.find(L"Failed to show the dialog sequence"), std::wstring::npos);
}

TEST_F(SetupManagerTest, PropertyStringCollectsPublicNamesAndTheCacheOutlivesTheHandles) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  SetupStartData start;
  start.commandLineProperties[L"INSTALLDIR"] = InstallFolder();
  start.commandLineProperties[L"GREETING"] = L"say \"hi\" now";
  auto manager = MakeManager(true, start);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  CMSIManager& session = *manager->GetMSIManager();
  const std::wstring text = session.GetPropertyString();
  // Windows Installer's command-line syntax: a quote inside a value is doubled.
  EXPECT_NE(text.find(L"GREETING=\"say \"\"hi\"\" now\""), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"PUBLICPROP=\"public value\""), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"INSTALLDIR=\"" + InstallFolder() + L"\""), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"FOUNDVALUE=\"\""), std::wstring::npos) << text;  // from AppSearch
  EXPECT_EQ(text.find(L"privateProp"), std::wstring::npos) << text;
  EXPECT_EQ(text.find(L"lowerDir"), std::wstring::npos) << text;

  session.CloseHandles();
  EXPECT_EQ(session.GetPackageHandle(), 0u);
  EXPECT_EQ(session.GetProperty(L"PUBLICPROP", false), L"public value");
  EXPECT_EQ(session.GetProperty(L"privateProp", false), L"private value");  // read, not in the string
  EXPECT_EQ(session.GetProperty(L"lowerDir", false), L"");
  EXPECT_EQ(session.GetProperty(L"NEVERREAD", false), L"");
}

struct FormatCase {
  const char* name;
  const wchar_t* text;
  const wchar_t* expected;
};

class FormatTextTest : public SetupManagerTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatTextTest, ReplacesReferencesAndEnds) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  auto manager = MakeManager(true);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  manager->GetMSIManager()->SetProperty(L"LOOP", L"again [LOOP]", false);
  std::wstring text = GetParam().text;
  manager->GetMSIManager()->FormatText(text);
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, FormatTextTest,
                         ::testing::Values(FormatCase{"PublicAndPrivateProperty", L"[ProductName] uses [PUBLICPROP].",
                                                      L"Setup Test Bundle uses public value."},
                                           FormatCase{"NamesAreCaseSensitive", L"[productname] and [PRODUCTNAME]",
                                                      L"Setup Test Bundle and Setup Test Bundle"},
                                           FormatCase{"UnknownPropertyIsEmpty", L"gone:[NOSUCHPROPERTY].", L"gone:."},
                                           FormatCase{"LoneClosingBracket", L"a]b [PUBLICPROP]", L"a]b public value"},
                                           FormatCase{"UnclosedReference", L"open [PUBLICPROP", L"open [PUBLICPROP"}),
                         [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST_F(FormatTextTest, SelfReferenceEnds) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  auto manager = MakeManager(true);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  manager->GetMSIManager()->SetProperty(L"LOOP", L"again [LOOP]", false);
  std::wstring text = L"[LOOP]";
  manager->GetMSIManager()->FormatText(text);
  EXPECT_NE(text.find(L"again"), std::wstring::npos);
}

// Each pass doubles the text: the passes alone would not stop it in time.
TEST_F(FormatTextTest, DoublingSelfReferenceIsCutAtTheLengthBound) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  auto manager = MakeManager(true);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  manager->GetMSIManager()->SetProperty(L"TWICE", L"[TWICE][TWICE]", false);
  std::wstring text = L"[TWICE]";
  manager->GetMSIManager()->FormatText(text);
  EXPECT_EQ(text.size(), CMSIManager::kMaxFormattedTextLength);
  EXPECT_EQ(log_->Count(L"WARNING:\tThe text grew beyond 65536 characters while its property references were "
                        L"resolved; it is cut there."),
            1u);
}

TEST_F(SetupManagerTest, FeatureDisplayAndCostsComeFromThePackageAndTheBundle) {
  const std::string tools = "<Product Sequence=\"2\" Type=\"EXE\" ProductName=\"Tool\" SpaceRequired=\"5\"/>"
                            "<Product Sequence=\"3\" Type=\"EXE\" ProductName=\"tool\" SpaceRequired=\"7\"/>";
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION, tools));
  CWixDataManager model(*record_);
  auto main = std::make_unique<CWixFeature>(L"Main");
  main->AddChild(std::make_unique<CWixFeature>(L"Extra"));
  CWixFeature* mainFeature = main.get();
  CWixFeature* extraFeature = main->GetChildren()[0].get();
  model.AddFeature(std::move(main));
  model.AddFeature(std::make_unique<CWixFeature>(L"NonFeature_Tool"));
  auto unknown = std::make_unique<CWixFeature>(L"NoSuchFeature");
  unknown->SetCost(-1);
  CWixFeature* unknownFeature = unknown.get();
  model.AddFeature(std::move(unknown));
  mainFeature->SetCost(-1);
  extraFeature->SetCost(-1);
  auto manager = MakeManager(true);
  manager->GetMSIManager()->SetWixDataManager(&model);

  ASSERT_TRUE(manager->GetMSIManager()->SetFeaturesCost());
  EXPECT_EQ(model.GetFeatures()[1]->GetCost(), 12582912);
  // Windows Installer answered for the package's features (Wine reports 0
  // bytes for them); a feature the package lacks keeps no cost.
  EXPECT_GE(mainFeature->GetCost(), 0);
  EXPECT_GE(extraFeature->GetCost(), 0);
  EXPECT_EQ(mainFeature->GetCost() % 512, 0);
  EXPECT_EQ(unknownFeature->GetCost(), -1);
  // The costing closed its package again.
  EXPECT_EQ(manager->GetMSIManager()->GetPackageHandle(), 0u);

  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  ASSERT_TRUE(manager->GetMSIManager()->LoadFeatureDisplay(mainFeature));
  ASSERT_TRUE(manager->GetMSIManager()->LoadFeatureDisplay(extraFeature));
  EXPECT_EQ(mainFeature->GetDisplay(), L"expand");
  EXPECT_EQ(extraFeature->GetDisplay(), L"hidden");
  int installed = -9, action = -9;
  ASSERT_TRUE(manager->GetMSIManager()->GetFeatureState(L"Main", installed, action));
  EXPECT_EQ(installed, INSTALLSTATE_ABSENT);
  EXPECT_EQ(action, INSTALLSTATE_LOCAL);
  EXPECT_FALSE(manager->GetMSIManager()->GetFeatureState(L"NoSuchFeature", installed, action));
  EXPECT_TRUE(manager->GetMSIManager()->EvaluateCondition(L"PUBLICPROP = \"public value\""));
  const std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"MsiGetFeatureCostStub API failed for feature, NoSuchFeature"), std::wstring::npos);
  EXPECT_EQ(log.find(L"MsiGetFeatureCostStub API failed for feature, Main"), std::wstring::npos);
  EXPECT_NE(log.find(L"Costing of features completed successfully."), std::wstring::npos);
  EXPECT_FALSE(manager->GetMSIManager()->EvaluateCondition(L"PUBLICPROP = \"other\""));
}

// Where the initializer pass's session is the run's only one, the costing
// waits for it: nothing is costed while the WiX sources are read, and the
// pass's package is costed right after the pass. Elsewhere it is costed at once.
struct CostingRoad {
  const char* name;
  bool silent;
  bool costedAfterThePass;
};

class CostingRoadTest : public SetupManagerTest, public ::testing::WithParamInterface<CostingRoad> {};

TEST_P(CostingRoadTest, CostsWhenTheRoadOpensThePackage) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  CWixDataManager model(*record_);
  auto main = std::make_unique<CWixFeature>(L"Main");
  CWixFeature* mainFeature = main.get();
  mainFeature->SetCost(-1);
  model.AddFeature(std::move(main));
  SetupStartData start;
  start.commandLineProperties[L"INSTALLDIR"] = InstallFolder();
  auto manager = MakeManager(GetParam().silent, start);
  CMSIManager& session = *manager->GetMSIManager();
  session.SetWixDataManager(&model);

  session.OpenInitializerPackageAhead();
  session.WaitForInitializerPackage();
  ASSERT_TRUE(session.SetFeaturesCost());
  EXPECT_EQ(mainFeature->GetCost() == -1, GetParam().costedAfterThePass);
  EXPECT_EQ(log_->Text().find(L"Costing of features initiated.") == std::wstring::npos, GetParam().costedAfterThePass);

  if (GetParam().silent) {
    ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  }
  EXPECT_GE(mainFeature->GetCost(), 0);
  EXPECT_EQ(mainFeature->GetCost() % 512, 0);
  // The pass's session stays open for the run; a costing session of its own is closed again.
  EXPECT_EQ(session.GetPackageHandle() != 0, GetParam().costedAfterThePass);
  EXPECT_TRUE(InstalledProductName(kMainCode).empty());
}

INSTANTIATE_TEST_SUITE_P(Roads, CostingRoadTest,
                         ::testing::Values(CostingRoad{"SilentFirstInstallation", true, true},
                                           CostingRoad{"Wizard", false, false}),
                         [](const ::testing::TestParamInfo<CostingRoad>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace enginetest
