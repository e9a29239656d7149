// The customize page of the standard WiX UI sets that show a feature tree
// (WixUI_FeatureTree and WixUI_Mondo), reached by clicks in the real
// Setup.exe: the package's features in the tree with the icons of their
// states, the selected feature's description and size beside it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FeatureWizardWalk.h"
#include "platform/StringUtil.h"
#include "support/WixSetBundle.h"

namespace {

using featurewalk::Utf8;
using testsupport::TreeItemInfo;

struct CustomizeCase {
  const char* set;
  std::vector<std::pair<const wchar_t*, std::vector<std::wstring>>> steps;  // up to the customize page
};
void PrintTo(const CustomizeCase& c, std::ostream* os) { *os << c.set; }

const testsupport::WixUiSet* FindSet(const char* name) {
  for (const testsupport::WixUiSet& set : testsupport::WixUiSets()) {
    if (std::string(set.name) == name) return &set;
  }
  return nullptr;
}

class WixSetCustomizePage : public ::testing::TestWithParam<CustomizeCase> {
 protected:
  void SetUp() override {
    set_ = FindSet(GetParam().set);
    if (set_ != nullptr) testsupport::RemoveWixSetProductIfInstalled(set_->productCode);
  }
  void TearDown() override {
    if (set_ != nullptr) testsupport::RemoveWixSetProductIfInstalled(set_->productCode);
  }
  const testsupport::WixUiSet* set_ = nullptr;
};

TEST_P(WixSetCustomizePage, ShowsThePackagesFeaturesWithTheIconsOfTheirStates) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  ASSERT_NE(set_, nullptr);
  testsupport::WixSetBundle bundle(*set_, L"customize_" + platform::Utf8ToWide(set_->name));
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  featurewalk::WizardWalk walk(bundle.SetupExe(), bundle.Folder(), bundle.LogPath());
  DWORD timeout = featurewalk::kFirstPageTimeoutMs;
  for (const auto& [page, clicks] : GetParam().steps) {
    ASSERT_TRUE(walk.Page(page, clicks, timeout)) << walk.Trouble();
    timeout = featurewalk::kStepTimeoutMs;
  }
  testsupport::DialogWindow customize;
  ASSERT_TRUE(walk.Dialog(L"CustomizeDlg", customize)) << walk.Trouble();
  HWND tree = featurewalk::WizardWalk::Control(customize.window, L"Tree");
  ASSERT_NE(tree, nullptr) << walk.Describe();
  const std::vector<TreeItemInfo> items = featurewalk::WaitForTreeItems(tree);
  walk.Screenshot(L"customize_" + platform::Utf8ToWide(set_->name));

  // Program (expanded) with Documentation (installed by default) and Extras
  // (level 1000: left out): partly installed, local, not available.
  ASSERT_EQ(items.size(), 3u) << walk.Describe();
  const struct {
    const wchar_t* text;
    int level;
    int image;
  } expected[] = {{L"Program", 0, 0}, {L"Documentation", 1, 2}, {L"Extras", 1, 1}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(items[i].text, expected[i].text);
    EXPECT_EQ(items[i].level, expected[i].level) << Utf8(items[i].text);
    EXPECT_EQ(items[i].image, expected[i].image) << Utf8(items[i].text);
    EXPECT_EQ(items[i].selectedImage, expected[i].image) << Utf8(items[i].text);
  }
  EXPECT_TRUE(items[0].expanded);
  EXPECT_TRUE(items[0].selected);
  EXPECT_EQ(featurewalk::WizardWalk::Text(customize.window, L"ItemDescription"), L"The program files.");
  // The selected feature has a folder: its path and label show.
  HWND location = featurewalk::WizardWalk::Control(customize.window, L"Location");
  ASSERT_NE(location, nullptr);
  EXPECT_TRUE(::IsWindowVisible(location));
  EXPECT_NE(testsupport::ReadWindowText(location).find(L"SetupTestWixUI"), std::wstring::npos);

  // Another feature: its description replaces the first.
  ASSERT_TRUE(testsupport::SelectTreeItem(tree, items[1].item));
  EXPECT_TRUE(featurewalk::WaitFor(10000, [&]() {
    return featurewalk::WizardWalk::Text(customize.window, L"ItemDescription") == L"The user guide.";
  })) << Utf8(featurewalk::WizardWalk::Text(customize.window, L"ItemDescription"));
  walk.Screenshot(L"customize_" + platform::Utf8ToWide(set_->name) + L"_docs");

  ASSERT_TRUE(walk.Click(customize.window, L"Cancel"));
  testsupport::DialogWindow cancel;
  ASSERT_TRUE(walk.Dialog(L"CancelDlg", cancel)) << walk.Trouble();
  ASSERT_TRUE(walk.Click(cancel.window, L"Yes"));
  ASSERT_TRUE(walk.Page(L"UserExit", {L"Finish"})) << walk.Trouble();
  const testsupport::ProcessResult result = walk.Process().Wait(featurewalk::kStepTimeoutMs);
  EXPECT_FALSE(result.timedOut) << walk.Describe();
  EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set_->productCode));
}

INSTANTIATE_TEST_SUITE_P(
    Sets, WixSetCustomizePage,
    ::testing::Values(CustomizeCase{"FeatureTree",
                                    {{L"WelcomeDlg", {L"Next"}},
                                     {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}}}},
                      CustomizeCase{"Mondo",
                                    {{L"WelcomeDlg", {L"Next"}},
                                     {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}},
                                     {L"SetupTypeDlg", {L"CustomButton"}}}}),
    [](const ::testing::TestParamInfo<CustomizeCase>& info) { return std::string(info.param.set); });

}  // namespace
