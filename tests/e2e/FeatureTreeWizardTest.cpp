// The feature tree of the WixUI_FeatureTree set on a main package with three
// levels of features and two non-feature products, driven by clicks and keys
// in the real Setup.exe: the items and the icons of their states, the menu's
// commands on a subtree, a feature that may not go, a product switched off,
// and what Windows Installer installed afterwards.

#include <gtest/gtest.h>

#include <windows.h>

#include <msi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FeatureTreeBundle.h"
#include "FeatureWizardWalk.h"
#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/TestPaths.h"
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
  HWND browse = WizardWalk::Control(page, L"Browse");
  ASSERT_NE(browse, nullptr);
  EXPECT_TRUE(::IsWindowEnabled(browse));

  // The helper product is switched off.
  ASSERT_TRUE(Select(page, tree, L"Helper", L"The helper program."));
  EXPECT_TRUE(featurewalk::WaitFor(5000, [&]() { return ::IsWindowVisible(location) == FALSE; }));
  // Nothing to browse for a product without a folder.
  EXPECT_FALSE(::IsWindowEnabled(browse));
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

namespace {

// A message box of Setup.exe (not one of the wizard's dialogs), answered with OK.
std::wstring AnswerMessageBox(const WizardWalk& walk) {
  testsupport::WindowInfo box;
  const HWND frame = walk.Driver().MainFrame();
  const bool shown = walk.Driver().WaitForWindow(
      [frame](const testsupport::WindowInfo& window) {
        return window.className == L"#32770" && testsupport::DialogIdOf(window.window).empty() &&
               !window.StaticText().empty() && window.window != frame;
      },
      featurewalk::kStepTimeoutMs, box);
  if (!shown) return L"<no message box>";
  if (!testsupport::WindowDriver::PressButton(box, IDOK) && !testsupport::WindowDriver::PressButton(box, IDCANCEL) &&
      !testsupport::WindowDriver::PressButton(box, IDRETRY)) {
    return L"<no button on " + box.StaticText() + L">";
  }
  (void)testsupport::WaitUntilGone(box.window, featurewalk::kStepTimeoutMs);
  return box.StaticText();
}

std::vector<std::wstring> ListNames(HWND list) {
  std::vector<std::wstring> names;
  for (const auto& row : testsupport::ReadListViewRows(list, 1)) names.push_back(row.empty() ? L"" : row[0]);
  return names;
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
  for (const std::wstring& entry : names) {
    if (entry == name) return true;
  }
  return false;
}

// Names the list's item being edited: types into the label editor and ends with Enter.
bool NameNewFolder(HWND list, const std::wstring& name) {
  HWND editor = nullptr;
  if (!featurewalk::WaitFor(10000, [&]() {
        editor = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
        return editor != nullptr;
      })) {
    return false;
  }
  if (!testsupport::TypeText(editor, name)) return false;
  return ::PostMessageW(editor, WM_KEYDOWN, VK_RETURN, 0) != 0;
}

int FindRow(HWND list, const std::wstring& name) {
  const std::vector<std::wstring> names = ListNames(list);
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  return -1;
}

bool DoubleClickRow(HWND list, int row) {
  RECT rect = {};
  if (row < 0 || !testsupport::ListViewRowRect(list, row, rect)) return false;
  const LPARAM at = MAKELPARAM(rect.left + 24, (rect.top + rect.bottom) / 2);
  return ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && ::PostMessageW(list, WM_LBUTTONUP, 0, at) &&
         ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && ::PostMessageW(list, WM_LBUTTONUP, 0, at);
}

const std::wstring kChosenFolder = L"C:\\Program Files\\Chosen Tree\\";

TEST_F(FeatureTreeWizard, BrowseChoosesTheFeaturesFolderAndTheProductInstallsThere) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  testsupport::RemoveFolder(kChosenFolder);
  featurewalk::FeatureTreeBundle bundle(L"browse");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  WizardWalk walk(bundle.SetupExe(), bundle.Folder(), bundle.LogPath());
  ASSERT_TRUE(walk.Page(L"WelcomeDlg", {L"Next"}, featurewalk::kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"})) << walk.Trouble();
  testsupport::DialogWindow customize;
  ASSERT_TRUE(walk.Dialog(L"CustomizeDlg", customize)) << walk.Trouble();
  (void)featurewalk::WaitForTreeItems(WizardWalk::Control(customize.window, L"Tree"));
  ASSERT_TRUE(walk.Click(customize.window, L"Browse"));
  testsupport::DialogWindow browse;
  ASSERT_TRUE(walk.Dialog(L"BrowseDlg", browse)) << walk.Trouble();
  HWND edit = WizardWalk::Control(browse.window, L"PathEdit");
  HWND list = WizardWalk::Control(browse.window, L"DirectoryList");
  HWND combo = WizardWalk::Control(browse.window, L"DirectoryCombo");
  ASSERT_TRUE(edit != nullptr && list != nullptr && combo != nullptr) << walk.Describe();
  // The selected feature's folder, which does not exist yet.
  EXPECT_EQ(testsupport::ReadWindowText(edit), L"C:\\Program Files\\SetupTestFeatureTree\\");
  walk.Screenshot(L"browse_initial");

  // Up: the parent folder, its sub-folders listed, the combo down to it.
  ASSERT_TRUE(walk.Click(browse.window, L"WixUI_Bmp_Up"));
  EXPECT_TRUE(featurewalk::WaitFor(10000, [&]() { return testsupport::ReadWindowText(edit) == L"C:\\Program Files\\"; }))
      << Utf8(testsupport::ReadWindowText(edit));
  EXPECT_TRUE(featurewalk::WaitFor(10000, [&]() { return Contains(ListNames(list), L"Common Files"); }));
  const std::vector<std::wstring> entries = testsupport::ReadComboExItems(combo);
  const int chosen = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
  ASSERT_TRUE(chosen >= 0 && chosen < static_cast<int>(entries.size())) << chosen;
  EXPECT_EQ(entries[static_cast<size_t>(chosen)], L"Program Files");
  EXPECT_TRUE(std::find(entries.begin(), entries.end(), L"C:") != entries.end());

  // New Folder: a name with "|" is refused with the package's Error1324 text.
  ASSERT_TRUE(walk.Click(browse.window, L"NewFolder"));
  ASSERT_TRUE(NameNewFolder(list, L"bad|name"));
  const std::wstring refused = AnswerMessageBox(walk);
  std::wstring expectedText = testsupport::WixUiLibraryString(L"WixUI_en-us.wxl", L"Error1324");
  (void)platform::ReplaceAll(expectedText, L"[2]", L"bad|name");
  EXPECT_EQ(refused, expectedText);
  EXPECT_TRUE(featurewalk::WaitFor(5000, [&]() { return Contains(ListNames(list), L"New Folder"); }));
  EXPECT_FALSE(Contains(ListNames(list), L"bad|name"));
  EXPECT_EQ(::GetFileAttributesW(L"C:\\Program Files\\bad|name"), INVALID_FILE_ATTRIBUTES);
  // A good name is taken, and opening the new folder makes it the choice.
  ASSERT_TRUE(::SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(FindRow(list, L"New Folder")), 0) != 0);
  ASSERT_TRUE(NameNewFolder(list, L"Chosen Tree"));
  ASSERT_TRUE(featurewalk::WaitFor(10000, [&]() { return FindRow(list, L"Chosen Tree") >= 0; }))
      << ListNames(list).size();
  ASSERT_TRUE(DoubleClickRow(list, FindRow(list, L"Chosen Tree")));
  EXPECT_TRUE(featurewalk::WaitFor(10000, [&]() { return testsupport::ReadWindowText(edit) == kChosenFolder; }))
      << Utf8(testsupport::ReadWindowText(edit));
  walk.Screenshot(L"browse_chosen");
  // Only chosen: Windows Installer makes the folder when it installs.
  EXPECT_EQ(::GetFileAttributesW(kChosenFolder.c_str()), INVALID_FILE_ATTRIBUTES);

  ASSERT_TRUE(walk.Click(browse.window, L"OK"));
  ASSERT_TRUE(testsupport::WaitUntilGone(browse.window, featurewalk::kStepTimeoutMs)) << walk.Describe();
  EXPECT_TRUE(featurewalk::WaitFor(10000, [&]() {
    return WizardWalk::Text(customize.window, L"Location") == kChosenFolder;
  })) << Utf8(WizardWalk::Text(customize.window, L"Location"));
  ASSERT_TRUE(walk.Click(customize.window, L"Next"));
  ASSERT_TRUE(walk.Page(L"VerifyReadyDlg", {L"Install"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"ExitDialog", {L"Finish"})) << walk.Trouble();
  const testsupport::ProcessResult result = walk.Process().Wait(featurewalk::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << walk.Describe();
  EXPECT_EQ(result.exitCode, 0u) << walk.Describe();
  EXPECT_NE(::GetFileAttributesW((kChosenFolder + L"app.txt").c_str()), INVALID_FILE_ATTRIBUTES) << walk.Describe();
  EXPECT_NE(::GetFileAttributesW((kChosenFolder + L"Docs\\manual.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  featurewalk::RemoveFeatureTreeProduct();
  testsupport::RemoveFolder(kChosenFolder);
}

// A bundle limits the folder's length: a longer one is refused with the
// bundle's message and the browse dialog stays; PathLength 0 sets no limit
// of its own.
TEST_F(FeatureTreeWizard, BrowseRefusesAFolderAsLongAsThePathLength) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  featurewalk::FeatureTreeBundle bundle(L"pathlength", "<PathLength Value=\"30\"/>");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  WizardWalk walk(bundle.SetupExe(), bundle.Folder(), bundle.LogPath());
  ASSERT_TRUE(walk.Page(L"WelcomeDlg", {L"Next"}, featurewalk::kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"})) << walk.Trouble();
  testsupport::DialogWindow customize;
  ASSERT_TRUE(walk.Dialog(L"CustomizeDlg", customize)) << walk.Trouble();
  ASSERT_TRUE(walk.Click(customize.window, L"Browse"));
  testsupport::DialogWindow browse;
  ASSERT_TRUE(walk.Dialog(L"BrowseDlg", browse)) << walk.Trouble();
  HWND edit = WizardWalk::Control(browse.window, L"PathEdit");
  ASSERT_NE(edit, nullptr);
  const std::wstring thirty = L"C:\\abcdefghij\\abcdefghij\\abcd\\";  // 30 characters
  ASSERT_EQ(thirty.size(), 30u);
  ASSERT_TRUE(testsupport::TypeText(edit, thirty));
  ASSERT_TRUE(walk.Click(browse.window, L"OK"));
  const std::wstring message = AnswerMessageBox(walk);
  EXPECT_NE(message.find(L"30"), std::wstring::npos) << Utf8(message);
  EXPECT_EQ(message.find(L"KV_ErrorPathLength"), std::wstring::npos) << Utf8(message);
  EXPECT_TRUE(::IsWindowVisible(browse.window)) << "the refused folder ended the dialog";
  // One character shorter is taken.
  ASSERT_TRUE(testsupport::TypeText(edit, thirty.substr(0, 29)));
  ASSERT_TRUE(walk.Click(browse.window, L"OK"));
  ASSERT_TRUE(testsupport::WaitUntilGone(browse.window, featurewalk::kStepTimeoutMs)) << walk.Describe();
  EXPECT_TRUE(featurewalk::WaitFor(10000, [&]() {
    return WizardWalk::Text(customize.window, L"Location") == thirty.substr(0, 29) + L"\\";
  })) << Utf8(WizardWalk::Text(customize.window, L"Location"));
  ASSERT_TRUE(walk.Click(customize.window, L"Cancel"));
  testsupport::DialogWindow cancel;
  ASSERT_TRUE(walk.Dialog(L"CancelDlg", cancel)) << walk.Trouble();
  ASSERT_TRUE(walk.Click(cancel.window, L"Yes"));
  ASSERT_TRUE(walk.Page(L"UserExit", {L"Finish"})) << walk.Trouble();
  EXPECT_FALSE(walk.Process().Wait(featurewalk::kStepTimeoutMs).timedOut);
  EXPECT_FALSE(featurewalk::IsFeatureTreeProductInstalled());
}

}  // namespace

namespace {

// A real click (through the window system) at a point of a window's client area.
bool ClickAt(HWND window, POINT client) {
  POINT screen = client;
  if (!::ClientToScreen(window, &screen) || !::SetCursorPos(screen.x, screen.y)) return false;
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return ::SendInput(2, inputs, sizeof(INPUT)) == 2;
}

HWND VisibleMenu() {
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  return menu != nullptr && ::IsWindowVisible(menu) ? menu : nullptr;
}

// The menu opens from a click on an item's icon, not from one on its label.
TEST_F(FeatureTreeWizard, AClickOnTheIconOpensTheMenuAClickOnTheLabelOnlySelects) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  featurewalk::FeatureTreeBundle bundle(L"click");
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  WizardWalk walk(bundle.SetupExe(), bundle.Folder(), bundle.LogPath());
  ASSERT_TRUE(walk.Page(L"WelcomeDlg", {L"Next"}, featurewalk::kFirstPageTimeoutMs)) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"})) << walk.Trouble();
  testsupport::DialogWindow customize;
  ASSERT_TRUE(walk.Dialog(L"CustomizeDlg", customize)) << walk.Trouble();
  HWND tree = WizardWalk::Control(customize.window, L"Tree");
  ASSERT_NE(tree, nullptr);
  std::vector<TreeItemInfo> items = featurewalk::WaitForTreeItems(tree);
  const TreeItemInfo* tools = FindItem(items, L"Tools");
  ASSERT_NE(tools, nullptr);
  RECT label = {};
  ASSERT_TRUE(testsupport::TreeItemRect(tree, tools->item, true, label));

  ASSERT_TRUE(ClickAt(tree, {label.left + 6, (label.top + label.bottom) / 2}));
  EXPECT_TRUE(featurewalk::WaitFor(10000, [&]() {
    return WizardWalk::Text(customize.window, L"ItemDescription") == L"Command-line tools.";
  }));
  ::Sleep(500);
  EXPECT_EQ(VisibleMenu(), nullptr) << "a click on the label opened the menu";

  // The icon lies just left of the label.
  ASSERT_TRUE(ClickAt(tree, {label.left - 9, (label.top + label.bottom) / 2}));
  HWND menu = nullptr;
  EXPECT_TRUE(featurewalk::WaitFor(10000, [&]() { return (menu = VisibleMenu()) != nullptr; }));
  walk.Screenshot(L"featuretree_menu");
  if (menu != nullptr) {
    // Tools has a subfeature: "this feature and all subfeatures" is offered.
    RECT shown = {};
    ::GetWindowRect(menu, &shown);
    EXPECT_GT(shown.bottom - shown.top, 3 * 16) << "three entries and a separator";
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(testsupport::WaitUntilGone(menu, 10000));
  }
  items = testsupport::ReadTreeItems(tree);
  EXPECT_EQ(FindItem(items, L"Tools")->image, kLocal);

  ASSERT_TRUE(walk.Click(customize.window, L"Cancel"));
  ASSERT_TRUE(walk.Page(L"CancelDlg", {L"Yes"})) << walk.Trouble();
  ASSERT_TRUE(walk.Page(L"UserExit", {L"Finish"})) << walk.Trouble();
  EXPECT_FALSE(walk.Process().Wait(featurewalk::kStepTimeoutMs).timedOut);
}

}  // namespace
