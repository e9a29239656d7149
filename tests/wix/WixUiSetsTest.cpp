#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WixLibrarySupport.h"
#include "support/WixSetBundle.h"

// The WixUI_* dialog sets wire the library's pages with Publish elements
// written under UI; they reach their controls after every file is read.

namespace {

class WixUiSet : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(WixUiSet, ParsesWithTheLibraryAndEveryEventFindsItsControl) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  std::vector<std::wstring> files = wixtest::LibraryFiles(false);
  files.push_back(GetParam());
  auto library = wixtest::ReadLibrary(L"WixUI_en-us.wxl", files);
  EXPECT_EQ(library->failedFiles, std::vector<std::wstring>());
  EXPECT_GT(library->attachedPublishes, 0);
  // ExitDialog's Finish gets its EndDialog from every set.
  const std::vector<WixPublish>& finish = library->model.GetDialog(L"ExitDialog")->FindControl(L"Finish")->GetPublishes();
  ASSERT_FALSE(finish.empty());
  EXPECT_EQ(finish.back().event, L"EndDialog");
  EXPECT_EQ(finish.back().argument, L"Return");
}

INSTANTIATE_TEST_SUITE_P(Sets, WixUiSet,
                         ::testing::Values(L"WixUI_FeatureTree.wxs", L"WixUI_InstallDir.wxs", L"WixUI_Mondo.wxs",
                                           L"WixUI_Minimal.wxs", L"WixUI_Advanced.wxs"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           std::wstring name = info.param;
                           name = name.substr(6, name.size() - 10);
                           return std::string(name.begin(), name.end());
                         });

std::vector<std::wstring> Describe(const CWixControl& control) {
  std::vector<std::wstring> events;
  for (const WixPublish& publish : control.GetPublishes()) {
    events.push_back(publish.event + L"(" + publish.argument + L") if " + publish.condition);
  }
  return events;
}

TEST(WixUiSetInstallDir, PagesAreWiredAfterTheControlsOwnEventsByOrder) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  std::vector<std::wstring> files = wixtest::LibraryFiles(false);
  files.insert(files.begin(), L"WixUI_InstallDir.wxs");  // the set may come before the dialogs it wires
  auto library = wixtest::ReadLibrary(L"WixUI_en-us.wxl", files);
  ASSERT_EQ(library->failedFiles, std::vector<std::wstring>());
  IWixDataManager& model = library->model;
  EXPECT_EQ(Describe(*model.GetDialog(L"WelcomeDlg")->FindControl(L"Next")),
            (std::vector<std::wstring>{L"[WixUI_InstallMode](Update) if Installed AND PATCH",
                                       L"NewDialog(LicenseAgreementDlg) if NOT Installed",
                                       L"NewDialog(VerifyReadyDlg) if Installed AND PATCH"}));
  EXPECT_EQ(Describe(*model.GetDialog(L"LicenseAgreementDlg")->FindControl(L"Next")),
            (std::vector<std::wstring>{
                L"SpawnWaitDialog(WaitForCostingDlg) if 1 OR CostingComplete = 1",  // Common.wxs's opt-out value
                L"NewDialog(InstallDirDlg) if LicenseAccepted = \"1\""}));
  EXPECT_EQ(Describe(*model.GetDialog(L"BrowseDlg")->FindControl(L"OK")),
            (std::vector<std::wstring>{L"SetTargetPath([_BrowseProperty]) if 1", L"EndDialog(Return) if 1",
                                       L"DoAction(WixUIValidatePath) if 1",
                                       L"SpawnDialog(InvalidDirDlg) if NOT WIXUI_DONTVALIDATEPATH AND "
                                       L"WIXUI_INSTALLDIR_VALID<>\"1\""}));
  EXPECT_EQ(Describe(*model.GetDialog(L"VerifyReadyDlg")->FindControl(L"Back")),
            (std::vector<std::wstring>{L"NewDialog(InstallDirDlg) if NOT Installed",
                                       L"NewDialog(MaintenanceTypeDlg) if Installed AND NOT PATCH",
                                       L"NewDialog(WelcomeDlg) if Installed AND PATCH"}));
  const std::vector<WixPublish>& changeFolder =
      model.GetDialog(L"InstallDirDlg")->FindControl(L"ChangeFolder")->GetPublishes();
  ASSERT_EQ(changeFolder.size(), 2u);
  EXPECT_TRUE(changeFolder[0].isPropertyAssignment);
  EXPECT_EQ(changeFolder[0].event, L"[_BrowseProperty]");
  EXPECT_EQ(changeFolder[0].argument, L"[WIXUI_INSTALLDIR]");
  EXPECT_EQ(changeFolder[1].event, L"SpawnDialog");
}

TEST(WixUiSetMondo, OrderDecidesBeforeAuthoringOrder) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  std::vector<std::wstring> files = wixtest::LibraryFiles(false);
  files.push_back(L"WixUI_Mondo.wxs");
  auto library = wixtest::ReadLibrary(L"WixUI_en-us.wxl", files);
  // Authored with the Orders 1, 2, 3, 4, 2: the second Order 2 follows the first.
  std::vector<std::wstring> back = Describe(*library->model.GetDialog(L"VerifyReadyDlg")->FindControl(L"Back"));
  ASSERT_EQ(back.size(), 5u);
  EXPECT_EQ(back[0], L"NewDialog(CustomizeDlg) if WixUI_InstallMode = \"InstallCustom\"");
  EXPECT_EQ(back[2], L"NewDialog(WelcomeDlg) if WixUI_InstallMode = \"Update\"");
  EXPECT_EQ(back[4], L"NewDialog(MaintenanceTypeDlg) if WixUI_InstallMode = \"Repair\" OR WixUI_InstallMode = \"Remove\"");
}

TEST(WixUiWhole, EveryFileOfTheFolderReadsTogether) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  wixtest::WixLibrary& all = wixtest::Library(L"WixUI_de-de.wxl", true);
  EXPECT_EQ(all.failedFiles, std::vector<std::wstring>());
  EXPECT_EQ(all.model.GetDialogCount(), 28);
  // Every Publish under UI of the five sets names a dialog and control of the library.
  EXPECT_EQ(all.attachedPublishes, 16 + 21 + 22 + 8 + 33);
}

}  // namespace
