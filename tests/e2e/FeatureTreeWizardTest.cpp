// The feature tree of the WixUI_FeatureTree set on a main package with three
// levels of features and two non-feature products, driven by clicks and keys
// in the real Setup.exe: the items and the icons of their states, the menu's
// commands on a subtree, a feature that may not go, a product switched off,
// and what Windows Installer installed afterwards.

#include <gtest/gtest.h>

#include <windows.h>

#include <msi.h>

#include <string>
#include <vector>

#include "FeatureTreeBundle.h"
#include "FeatureWizardWalk.h"
#include "support/BundleFixture.h"
#include "support/WixSetBundle.h"

namespace {

using featurewalk::Utf8;
using featurewalk::WizardWalk;
using testsupport::TreeItemInfo;

// Image indexes: the tree state, three more for a locked feature.
constexpr int kPartial = 0;
constexpr int kAbsent = 1;
constexpr int kLocal = 2;
constexpr int kLockedLocal = 5;
// Menu entries as the keyboard reaches them (the separator is skipped).
constexpr int kEntryLocal = 0;
constexpr int kEntryAbsentOfLeaf = 1;
constexpr int kEntryAbsentOfParent = 2;

struct ItemRow {
  const wchar_t* text;
  int level;
  int image;
};

const TreeItemInfo* FindItem(const std::vector<TreeItemInfo>& items, const std::wstring& text) {
  for (const TreeItemInfo& item : items) {
    if (item.text == text) return &item;
  }
  return nullptr;
}

std::string DescribeItems(const std::vector<TreeItemInfo>& items) {
  std::string text;
  for (const TreeItemInfo& item : items) {
    text += std::string(static_cast<size_t>(item.level) * 2, ' ') + Utf8(item.text) + " image " +
            std::to_string(item.image) + (item.expanded ? " expanded" : "") + "\n";
  }
  return text;
}

// Waits until every named item shows the image.
bool WaitForImages(HWND tree, const std::vector<std::pair<const wchar_t*, int>>& wanted,
                   std::vector<TreeItemInfo>& items) {
  return featurewalk::WaitFor(10000, [&]() {
    items = testsupport::ReadTreeItems(tree);
    for (const auto& [text, image] : wanted) {
      const TreeItemInfo* item = FindItem(items, text);
      if (item == nullptr || item->image != image) return false;
    }
    return true;
  });
}

class FeatureTreeWizard : public ::testing::Test {
 protected:
  void SetUp() override { featurewalk::RemoveFeatureTreeProduct(); }
  void TearDown() override { featurewalk::RemoveFeatureTreeProduct(); }

  // Selects the item with the text and waits until its description shows.
  static bool Select(HWND page, HWND tree, const std::wstring& text, const std::wstring& description) {
    const TreeItemInfo* item = nullptr;
    std::vector<TreeItemInfo> items = testsupport::ReadTreeItems(tree);
    item = FindItem(items, text);
    if (item == nullptr || !testsupport::SelectTreeItem(tree, item->item)) return false;
    return featurewalk::WaitFor(10000, [&]() { return WizardWalk::Text(page, L"ItemDescription") == description; });
  }
};

TEST_F(FeatureTreeWizard, TreeShowsTheFeaturesAndTheChoicesReachWindowsInstaller) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  featurewalk::FeatureTreeBundle bundle(L"tree");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  WizardWalk walk(bundle.SetupExe(), bundle.Folder(), bundle.LogPath());
  ASSERT_TRUE(walk.Page(L"WelcomeDlg", {L"Next"}, featurewalk::kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"})) << walk.Trouble();
  testsupport::DialogWindow customize;
  ASSERT_TRUE(walk.Dialog(L"CustomizeDlg", customize)) << walk.Trouble();
  HWND page = customize.window;
  HWND tree = WizardWalk::Control(page, L"Tree");
  ASSERT_NE(tree, nullptr);
  std::vector<TreeItemInfo> items = featurewalk::WaitForTreeItems(tree);
  walk.Screenshot(L"featuretree_initial");

  // The hidden feature is left out; Documentation is expanded, Tools collapsed;
  // Samples (level 1000) is not installed, so its parents are partly; the
  // runtime, already there, is locked.
  const ItemRow expected[] = {{L"Application", 0, kPartial}, {L"Core files", 1, kLocal},
                              {L"Documentation", 1, kPartial}, {L"Manual", 2, kLocal},
                              {L"Samples", 2, kAbsent},        {L"Tools", 0, kLocal},
                              {L"Plugins", 1, kLocal},         {L"Helper", 0, kLocal},
                              {L"Runtime", 0, kLockedLocal}};
  ASSERT_EQ(items.size(), std::size(expected)) << DescribeItems(items);
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].text, expected[i].text) << DescribeItems(items);
    EXPECT_EQ(items[i].level, expected[i].level) << Utf8(items[i].text);
    EXPECT_EQ(items[i].image, expected[i].image) << Utf8(items[i].text);
  }
  EXPECT_TRUE(FindItem(items, L"Application")->expanded);
  EXPECT_TRUE(FindItem(items, L"Documentation")->expanded);
  EXPECT_FALSE(FindItem(items, L"Tools")->expanded);
  EXPECT_EQ(WizardWalk::Text(page, L"ItemDescription"), L"The application itself.");

  // "Not available" for the Documentation subtree, then "will be installed":
  // each feature below gets its earlier state back.
  ASSERT_TRUE(Select(page, tree, L"Documentation", L"Manual and samples.")) << DescribeItems(items);
  const std::wstring parentSize = WizardWalk::Text(page, L"ItemSize");
  EXPECT_NE(parentSize.find(L"subfeatures"), std::wstring::npos) << Utf8(parentSize);
  ASSERT_TRUE(featurewalk::ChooseMenuEntry(tree, kEntryAbsentOfParent));
  EXPECT_TRUE(WaitForImages(tree, {{L"Documentation", kAbsent}, {L"Manual", kAbsent}, {L"Samples", kAbsent},
                                   {L"Application", kPartial}}, items))
      << DescribeItems(items);
  const std::wstring absentSize = WizardWalk::Text(page, L"ItemSize");
  EXPECT_NE(absentSize, parentSize);
  EXPECT_EQ(absentSize.find(L"subfeatures"), std::wstring::npos) << Utf8(absentSize);
  walk.Screenshot(L"featuretree_docs_absent");
  ASSERT_TRUE(featurewalk::ChooseMenuEntry(tree, kEntryLocal));
  EXPECT_TRUE(WaitForImages(tree, {{L"Documentation", kPartial}, {L"Manual", kLocal}, {L"Samples", kAbsent}}, items))
      << DescribeItems(items);
  EXPECT_EQ(WizardWalk::Text(page, L"ItemSize"), parentSize);

  // The package forbids "not available" for the core files: nothing changes.
  ASSERT_TRUE(Select(page, tree, L"Core files", L"What the application cannot run without."));
  ASSERT_TRUE(featurewalk::ChooseMenuEntry(tree, kEntryAbsentOfLeaf));
  ::Sleep(500);
  items = testsupport::ReadTreeItems(tree);
  EXPECT_EQ(FindItem(items, L"Core files")->image, kLocal);

  // A feature with its own folder shows it; a product without one hides it.
  ASSERT_TRUE(Select(page, tree, L"Tools", L"Command-line tools."));
  HWND location = WizardWalk::Control(page, L"Location");
  ASSERT_NE(location, nullptr);
  EXPECT_TRUE(featurewalk::WaitFor(5000, [&]() { return ::IsWindowVisible(location) != FALSE; }));
  EXPECT_NE(testsupport::ReadWindowText(location).find(L"SetupTestFeatureTools"), std::wstring::npos)
      << Utf8(testsupport::ReadWindowText(location));

  // The helper product is switched off.
  ASSERT_TRUE(Select(page, tree, L"Helper", L"The helper program."));
  EXPECT_TRUE(featurewalk::WaitFor(5000, [&]() { return ::IsWindowVisible(location) == FALSE; }));
  ASSERT_TRUE(featurewalk::ChooseMenuEntry(tree, kEntryAbsentOfLeaf));
  EXPECT_TRUE(WaitForImages(tree, {{L"Helper", kAbsent}}, items)) << DescribeItems(items);
  walk.Screenshot(L"featuretree_before_install");

  ASSERT_TRUE(walk.Click(page, L"Next"));
  ASSERT_TRUE(walk.Page(L"VerifyReadyDlg", {L"Install"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"ExitDialog", {L"Finish"})) << walk.Trouble();
  const testsupport::ProcessResult result = walk.Process().Wait(featurewalk::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  EXPECT_EQ(result.exitCode, 0u) << walk.Describe();

  // What Windows Installer installed: the choices, feature by feature.
  ASSERT_TRUE(featurewalk::IsFeatureTreeProductInstalled()) << walk.Describe();
  const std::pair<const wchar_t*, int> states[] = {
      {L"Main", INSTALLSTATE_LOCAL},    {L"Core", INSTALLSTATE_LOCAL},  {L"Secret", INSTALLSTATE_LOCAL},
      {L"Manual", INSTALLSTATE_LOCAL},  {L"Samples", INSTALLSTATE_ABSENT}, {L"Tools", INSTALLSTATE_LOCAL},
      {L"Plugins", INSTALLSTATE_LOCAL}};
  for (const auto& [feature, state] : states) {
    EXPECT_EQ(featurewalk::InstalledFeatureState(featurewalk::kFeatureTreeProductCode, feature), state)
        << Utf8(feature);
  }
  const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
  EXPECT_NE(log.find(L"DeSelected Features are : Samples"), std::wstring::npos) << walk.Describe();
  // The product switched off did not run.
  EXPECT_EQ(bundle.MarkerText().find(L"/name:Helper"), std::wstring::npos) << Utf8(bundle.MarkerText());
}

}  // namespace
