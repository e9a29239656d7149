// Installing, repairing and removing by clicks only, with the real Setup.exe
// on a bundle whose wizard is a standard WiX UI dialog set of the shared
// library (../shared/wixui): the pages come in the set's order, the
// installation runs from the set's last page to its exit page, and a second
// start offers the set's maintenance pages: Repair puts back a file that was
// deleted, Remove takes the product away again.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <msi.h>

#include <string>
#include <vector>

#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/WixSetBundle.h"
#include "support/WixSetRun.h"

using testsupport::WixSetRun;
using testsupport::WixSetStep;
using testsupport::WixUiSet;

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

const WixUiSet* FindSet(const char* name) {
  for (const WixUiSet& set : testsupport::WixUiSets()) {
    if (std::string(set.name) == name) return &set;
  }
  return nullptr;
}

// The package's components (tests/packages/wixsets): <nn> is the set's number.
std::wstring ComponentCode(const WixUiSet& set, int component) {
  const std::wstring product = set.productCode;  // {6B1D0C3A-5E70-4000-8000-0000000057nn}
  const std::wstring number = product.substr(product.size() - 3, 2);
  return platform::Format(L"{6B1D0C3A-5E72-4000-8000-00000057%s%02d}", number.c_str(), component);
}
constexpr int kMainFile = 1;  // readme.txt in the installation folder

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> PageNames(const std::vector<WixSetStep>& steps) {
  std::vector<std::wstring> names;
  for (const WixSetStep& step : steps) names.push_back(step.page);
  return names;
}

// Repair and Remove from the maintenance pages, as every set offers them.
const std::vector<WixSetStep>& RepairSteps() {
  static const std::vector<WixSetStep> steps = {{L"MaintenanceWelcomeDlg", {L"Next"}},
                                                {L"MaintenanceTypeDlg", {L"RepairButton"}},
                                                {L"VerifyReadyDlg", {L"Repair"}},
                                                {L"ExitDialog", {L"Finish"}}};
  return steps;
}
const std::vector<WixSetStep>& RemoveSteps() {
  static const std::vector<WixSetStep> steps = {{L"MaintenanceWelcomeDlg", {L"Next"}},
                                                {L"MaintenanceTypeDlg", {L"RemoveButton"}},
                                                {L"VerifyReadyDlg", {L"Remove"}},
                                                {L"ExitDialog", {L"Finish"}}};
  return steps;
}

struct InstallCase {
  const char* label;
  const char* set;
  std::vector<WixSetStep> install;  // ends on the page whose click starts the installation
  // The installed state of the package's Docs and Extras features afterwards.
  int docs;
  int extras;
};
void PrintTo(const InstallCase& c, std::ostream* os) { *os << c.label; }

// A test on one set's bundle: its product is removed before and after, so
// every case starts from a clean machine.
template <typename Case>
class WixSetCase : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    set_ = FindSet(SetName(this->GetParam()));
    if (set_ != nullptr) testsupport::RemoveWixSetProductIfInstalled(set_->productCode);
  }
  void TearDown() override {
    if (set_ != nullptr) testsupport::RemoveWixSetProductIfInstalled(set_->productCode);
  }
  const WixUiSet* set_ = nullptr;
};

const char* SetName(const InstallCase& c) { return c.set; }
class WixSetInstall : public WixSetCase<InstallCase> {};

TEST_P(WixSetInstall, InstallsThroughTheSetsPagesThenRepairsAndRemovesFromItsMaintenancePages) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  ASSERT_NE(set_, nullptr);
  const InstallCase& c = GetParam();
  testsupport::WixSetBundle bundle(*set_, L"install_" + platform::Utf8ToWide(c.label));
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  std::vector<WixSetStep> install = c.install;
  install.push_back({L"ExitDialog", {L"Finish"}});
  {
    WixSetRun run(bundle);
    ASSERT_TRUE(run.FollowToTheEnd(install)) << run.Trouble();
    EXPECT_EQ(run.Seen(), PageNames(install));
    ASSERT_TRUE(testsupport::IsWixSetProductInstalled(set_->productCode)) << run.Describe();
    const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
    EXPECT_NE(log.find(L"Setup ended with (0) Errors"), std::wstring::npos) << Utf8(log);
  }
  EXPECT_EQ(testsupport::InstalledFeatureState(set_->productCode, L"Main"), INSTALLSTATE_LOCAL);
  EXPECT_EQ(testsupport::InstalledFeatureState(set_->productCode, L"Docs"), c.docs);
  EXPECT_EQ(testsupport::InstalledFeatureState(set_->productCode, L"Extras"), c.extras);

  // Repair: the file a user deleted is back.
  const std::wstring readme = testsupport::ComponentPath(set_->productCode, ComponentCode(*set_, kMainFile));
  ASSERT_FALSE(readme.empty()) << "no installed readme.txt";
  ASSERT_TRUE(::DeleteFileW(readme.c_str())) << Utf8(readme);
  {
    WixSetRun run(bundle);
    ASSERT_TRUE(run.FollowToTheEnd(RepairSteps())) << run.Trouble();
    EXPECT_TRUE(Exists(readme)) << "Repair did not restore " << Utf8(readme) << "\n" << run.Describe();
    // The bundle's repair command names no REINSTALL: the set's Reinstall and
    // ReinstallMode events on the Repair button are what reached the package.
    bool passed = false;
    for (const std::wstring& line : platform::Split(testsupport::ReadUtf16File(bundle.LogPath()), L"\n")) {
      passed = passed || (line.find(L"SetupCommand") != std::wstring::npos &&
                          line.find(L"REINSTALL=\"All\"") != std::wstring::npos &&
                          line.find(L"REINSTALLMODE=\"ecmus\"") != std::wstring::npos);
    }
    EXPECT_TRUE(passed) << run.Describe();
    EXPECT_TRUE(testsupport::IsWixSetProductInstalled(set_->productCode));
  }

  {
    WixSetRun run(bundle);
    ASSERT_TRUE(run.FollowToTheEnd(RemoveSteps())) << run.Trouble();
    EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set_->productCode)) << run.Describe();
  }
}

const std::vector<WixSetStep> kLicense = {{L"WelcomeDlg", {L"Next"}},
                                          {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}}};
std::vector<WixSetStep> AfterLicense(std::vector<WixSetStep> rest) {
  std::vector<WixSetStep> steps = kLicense;
  steps.insert(steps.end(), rest.begin(), rest.end());
  return steps;
}

// Extras has level 1000: the default install level (1) and Mondo's Typical
// (3) leave it out, Mondo's Complete (1000) installs it.
INSTANTIATE_TEST_SUITE_P(
    Sets, WixSetInstall,
    ::testing::Values(
        InstallCase{"Minimal", "Minimal", {{L"WelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Install"}}},
                    INSTALLSTATE_LOCAL, INSTALLSTATE_ABSENT},
        InstallCase{"InstallDir", "InstallDir",
                    AfterLicense({{L"InstallDirDlg", {L"Next"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                    INSTALLSTATE_LOCAL, INSTALLSTATE_ABSENT},
        InstallCase{"FeatureTree", "FeatureTree",
                    AfterLicense({{L"CustomizeDlg", {L"Next"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                    INSTALLSTATE_LOCAL, INSTALLSTATE_ABSENT},
        InstallCase{"MondoTypical", "Mondo",
                    AfterLicense({{L"SetupTypeDlg", {L"TypicalButton"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                    INSTALLSTATE_LOCAL, INSTALLSTATE_ABSENT},
        InstallCase{"MondoComplete", "Mondo",
                    AfterLicense({{L"SetupTypeDlg", {L"CompleteButton"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                    INSTALLSTATE_LOCAL, INSTALLSTATE_LOCAL},
        // Install on the first page: per machine, the set's default.
        InstallCase{"Advanced", "Advanced", {{L"AdvancedWelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Install"}}},
                    INSTALLSTATE_LOCAL, INSTALLSTATE_ABSENT}),
    [](const ::testing::TestParamInfo<InstallCase>& info) { return std::string(info.param.label); });

// WixUI_Advanced's scope page: "just for you" installs per user into the
// user's own Apps folder with ALLUSERS empty; "all users" installs per
// machine (ALLUSERS 1) into the folder its InstallDirDlg shows.
struct ScopeCase {
  const char* label;
  const wchar_t* scopeText;  // WixUI_en-us.wxl id of the radio button
  std::vector<WixSetStep> afterScope;
  MSIINSTALLCONTEXT context;  // where Windows Installer keeps the installed product
};

// The product's state in one installation context ("5": installed), empty
// when it is not installed there.
std::wstring InstalledIn(const wchar_t* productCode, MSIINSTALLCONTEXT context) {
  wchar_t state[16] = {};
  DWORD length = 16;
  if (::MsiGetProductInfoExW(productCode, nullptr, context, INSTALLPROPERTY_PRODUCTSTATE, state, &length) != 0) {
    return {};
  }
  return state;
}
void PrintTo(const ScopeCase& c, std::ostream* os) { *os << c.label; }

const char* SetName(const ScopeCase&) { return "Advanced"; }
class WixSetAdvancedScope : public WixSetCase<ScopeCase> {};

std::wstring EnvironmentFolder(const wchar_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

TEST_P(WixSetAdvancedScope, TheScopeChoiceSetsAllUsersAndTheFolderThenMaintenanceRemoves) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  ASSERT_NE(set_, nullptr);
  const ScopeCase& c = GetParam();
  testsupport::WixSetBundle bundle(*set_, L"scope_" + platform::Utf8ToWide(c.label));
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  {
    WixSetRun run(bundle);
    ASSERT_TRUE(run.Follow({{L"AdvancedWelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Advanced"}}}))
        << run.Trouble();
    testsupport::DialogWindow scope;
    ASSERT_TRUE(run.Driver().WaitForPage(L"InstallScopeDlg", WixSetRun::kStepTimeoutMs, scope)) << run.Describe();
    // The radio button's text names the logged-on user: found by its start.
    std::wstring label = testsupport::PlainText(
        testsupport::WithoutTextStyle(testsupport::WixUiLibraryString(L"WixUI_en-us.wxl", c.scopeText)));
    label = label.substr(0, label.find(L'['));
    HWND radio = nullptr;
    std::string shown;
    for (const testsupport::ControlInfo& control : testsupport::DialogControls(scope.window)) {
      if (control.visible && platform::StartsWith(testsupport::PlainText(control.text), label)) radio = control.window;
      shown += Utf8(control.controlId) + (control.visible ? " visible \"" : " hidden \"") + Utf8(control.text) + "\"\n";
    }
    ASSERT_NE(radio, nullptr) << "no radio button \"" << Utf8(label) << "\" among\n" << shown << run.Describe();
    ASSERT_TRUE(testsupport::Click(radio));
    ASSERT_TRUE(run.Click(scope.window, L"Next"));
    std::vector<WixSetStep> rest = c.afterScope;
    rest.push_back({L"ExitDialog", {L"Finish"}});
    ASSERT_TRUE(run.FollowToTheEnd(rest)) << run.Trouble();
  }
  ASSERT_TRUE(testsupport::IsWixSetProductInstalled(set_->productCode));
  const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
  std::string told;
  for (const std::wstring& line : platform::Split(log, L"\n")) {
    if (line.find(L"ALLUSERS") != std::wstring::npos || line.find(L"SetupCommand") != std::wstring::npos) {
      told += Utf8(line) + "\n";
    }
  }
  EXPECT_EQ(InstalledIn(set_->productCode, c.context), L"5") << told;
  EXPECT_EQ(InstalledIn(set_->productCode, c.context == MSIINSTALLCONTEXT_MACHINE ? MSIINSTALLCONTEXT_USERUNMANAGED
                                                                                  : MSIINSTALLCONTEXT_MACHINE),
            L"")
      << told;
  const std::wstring readme = testsupport::ComponentPath(set_->productCode, ComponentCode(*set_, kMainFile));
  const std::wstring expectedFolder =
      c.context == MSIINSTALLCONTEXT_USERUNMANAGED
          ? EnvironmentFolder(L"LOCALAPPDATA") + L"\\Apps\\Setup Test WixUI Advanced\\"
          : EnvironmentFolder(L"ProgramW6432") + L"\\Setup Test WixUI Advanced\\";
  EXPECT_TRUE(platform::EqualsNoCase(readme, expectedFolder + L"readme.txt")) << Utf8(readme);
  EXPECT_NE(log.find(L"WIXUI_INSTALLDIR names"), std::wstring::npos) << Utf8(log);

  WixSetRun removal(bundle);
  ASSERT_TRUE(removal.FollowToTheEnd(RemoveSteps())) << removal.Trouble();
  EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set_->productCode)) << removal.Describe();
  // Wine's removal resolves the folders anew from the removal session's
  // properties, where the set's folder actions pick the per-machine folder
  // again (ALLUSERS 2, privileged): it leaves a per-user installation's
  // files, which Windows removes from where the product registered them.
  if (c.context == MSIINSTALLCONTEXT_MACHINE) {
    EXPECT_FALSE(Exists(readme));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scopes, WixSetAdvancedScope,
    ::testing::Values(ScopeCase{"PerUser", L"InstallScopeDlgPerUser", {{L"FeaturesDlg", {L"InstallNoShield"}}},
                                MSIINSTALLCONTEXT_USERUNMANAGED},
                      ScopeCase{"PerMachine",
                                L"InstallScopeDlgPerMachine",
                                {{L"InstallDirDlg", {L"Next"}}, {L"FeaturesDlg", {L"Install"}}},
                                MSIINSTALLCONTEXT_MACHINE}),
    [](const ::testing::TestParamInfo<ScopeCase>& info) { return std::string(info.param.label); });

// A package with no installation folder at all (started with an empty
// WIXUI_INSTALLDIR, so neither INSTALLDIR nor the folder property it would
// name exists): Install must not start a run that cannot exist; the set's
// failure page says so.
TEST(WixSetAdvancedWithoutFolder, InstallEndsOnTheFailurePageWithTheReasonLoggedAndInstallsNothing) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet* set = FindSet("Advanced");
  ASSERT_NE(set, nullptr);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
  testsupport::WixSetBundle bundle(*set, L"nofolder_Advanced");
  ASSERT_EQ(Utf8(bundle.Problem()), "");

  WixSetRun run(bundle, L"WIXUI_INSTALLDIR=NOSUCHFOLDER");
  ASSERT_TRUE(run.Follow({{L"AdvancedWelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Install"}},
                          {L"FatalError", {L"Finish"}}}))
      << run.Trouble();
  const testsupport::ProcessResult result = run.Process().Wait(WixSetRun::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << "Finish did not end Setup.exe\n" << run.Describe();
  EXPECT_NE(result.exitCode, 0u);
  EXPECT_FALSE(testsupport::IsWixSetProductInstalled(set->productCode));
  const std::wstring log = testsupport::ReadUtf16File(bundle.LogPath());
  EXPECT_NE(log.find(L"Install directory is not configured correctly. Exiting the setup"), std::wstring::npos)
      << Utf8(log);
  testsupport::RemoveWixSetProductIfInstalled(set->productCode);
}

}  // namespace

namespace {

// Change from the maintenance pages of the sets with a feature tree: the user
// selects the Extras feature in the tree with the arrow keys, opens its menu
// with the blank and picks "installed on local hard drive"; the change run
// installs it (Windows Installer's feature state shows it afterwards).
struct ChangeCase {
  const char* set;
  std::vector<WixSetStep> install;
  const wchar_t* treePage;
  const wchar_t* treeClick;           // what goes on from the tree page
  std::vector<WixSetStep> afterTree;  // the pages after it, before the exit page
};
void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.set; }

const char* SetName(const ChangeCase& c) { return c.set; }
class WixSetChange : public WixSetCase<ChangeCase> {};

bool PostKey(HWND window, UINT key) {
  return ::PostMessageW(window, WM_KEYDOWN, key, 1) != 0 && ::PostMessageW(window, WM_KEYUP, key, 0xC0000001) != 0;
}

// Waits until the control's text is `expected`.
bool WaitForText(HWND dialog, const std::wstring& id, const std::wstring& expected) {
  const ULONGLONG deadline = ::GetTickCount64() + WixSetRun::kStepTimeoutMs;
  while (::GetTickCount64() < deadline) {
    if (WixSetRun::Text(dialog, id) == expected) return true;
    ::Sleep(25);
  }
  return false;
}

TEST_P(WixSetChange, ChangeInstallsAFeatureChosenInTheTree) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  ASSERT_NE(set_, nullptr);
  const ChangeCase& c = GetParam();
  testsupport::WixSetBundle bundle(*set_, L"change_" + platform::Utf8ToWide(c.set));
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  {
    std::vector<WixSetStep> install = c.install;
    install.push_back({L"ExitDialog", {L"Finish"}});
    WixSetRun run(bundle);
    ASSERT_TRUE(run.FollowToTheEnd(install)) << run.Trouble();
  }
  ASSERT_EQ(testsupport::InstalledFeatureState(set_->productCode, L"Extras"), INSTALLSTATE_ABSENT);

  WixSetRun run(bundle);
  ASSERT_TRUE(run.Follow({{L"MaintenanceWelcomeDlg", {L"Next"}},
                          {L"MaintenanceTypeDlg", {L"ChangeButton"}},
                          {c.treePage, {}}}))
      << run.Trouble();
  const HWND page = run.LastPage().window;
  testsupport::ControlInfo tree;
  ASSERT_TRUE(testsupport::FindControl(page, L"Tree", tree)) << run.Describe();
  // Program, Documentation, Extras: the third item.
  ASSERT_TRUE(PostKey(tree.window, VK_HOME) && PostKey(tree.window, VK_DOWN) && PostKey(tree.window, VK_DOWN));
  ASSERT_TRUE(WaitForText(page, L"ItemDescription", L"Sample files."))
      << Utf8(WixSetRun::Text(page, L"ItemDescription")) << "\ntree items: "
      << ::SendMessageW(tree.window, TVM_GETCOUNT, 0, 0) << ", selected "
      << ::SendMessageW(tree.window, TVM_GETNEXTITEM, TVGN_CARET, 0) << ", class " << Utf8(tree.className) << "\n"
      << run.Describe();
  // The context-menu key: the menu of the selected feature.
  ASSERT_TRUE(::PostMessageW(tree.window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.window), -1));
  testsupport::WindowInfo menu;
  ASSERT_TRUE(run.Driver().WaitForWindow([](const testsupport::WindowInfo& w) { return w.className == L"#32768"; },
                                         WixSetRun::kStepTimeoutMs, menu))
      << "the feature's menu did not open\n" << run.Describe();
  // The first entry: "This feature will be installed on local hard drive."
  ASSERT_TRUE(PostKey(menu.window, VK_DOWN) && PostKey(menu.window, VK_RETURN));
  ASSERT_TRUE(testsupport::WaitUntilGone(menu.window, WixSetRun::kStepTimeoutMs)) << run.Describe();
  std::vector<WixSetStep> rest = c.afterTree;
  rest.push_back({L"ExitDialog", {L"Finish"}});
  ASSERT_TRUE(run.Click(page, c.treeClick)) << run.Describe();
  ASSERT_TRUE(run.FollowToTheEnd(rest)) << run.Trouble();
  std::string told;
  for (const std::wstring& line : platform::Split(testsupport::ReadUtf16File(bundle.LogPath()), L"\n")) {
    if (line.find(L"SetupCommand") != std::wstring::npos || line.find(L"Selected Features") != std::wstring::npos) {
      told += Utf8(line) + "\n";
    }
  }
  EXPECT_EQ(testsupport::InstalledFeatureState(set_->productCode, L"Extras"), INSTALLSTATE_LOCAL) << told;
  EXPECT_EQ(testsupport::InstalledFeatureState(set_->productCode, L"Docs"), INSTALLSTATE_LOCAL);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, WixSetChange,
    ::testing::Values(
        ChangeCase{"FeatureTree", AfterLicense({{L"CustomizeDlg", {L"Next"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                   L"CustomizeDlg", L"Next", {{L"VerifyReadyDlg", {L"Change|ChangeNoShield"}}}},
        ChangeCase{"Mondo", AfterLicense({{L"SetupTypeDlg", {L"TypicalButton"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                   L"CustomizeDlg", L"Next", {{L"VerifyReadyDlg", {L"Change|ChangeNoShield"}}}},
        // FeaturesDlg's own Change starts the change run.
        ChangeCase{"Advanced", {{L"AdvancedWelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Install"}}},
                   L"FeaturesDlg", L"Change|ChangeNoShield", {}}),
    [](const ::testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.set); });

}  // namespace

namespace {

// The same installation with the German localization of the library
// (WixUI_de-de.wxl, chosen with /L 1031): the pages read German, the clicks
// (by WiX Id) are the same, and the product is installed.
struct GermanCase {
  const char* set;
  std::vector<WixSetStep> install;
  const wchar_t* textId;  // a string of the first page's Title, in both files
};
void PrintTo(const GermanCase& c, std::ostream* os) { *os << c.set; }

const char* SetName(const GermanCase& c) { return c.set; }
class WixSetGerman : public WixSetCase<GermanCase> {};

std::wstring LibraryPageText(const wchar_t* wxl, const std::wstring& id, const std::wstring& productName) {
  std::wstring text = testsupport::WithoutTextStyle(testsupport::WixUiLibraryString(wxl, id));
  (void)platform::ReplaceAll(text, L"[ProductName]", productName);
  return text;
}

TEST_P(WixSetGerman, InstallsWithGermanPages) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  ASSERT_NE(set_, nullptr);
  const GermanCase& c = GetParam();
  testsupport::WixSetBundle bundle(*set_, L"german_" + platform::Utf8ToWide(c.set));
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  const std::wstring productName = testsupport::WixSetProductName(*set_);
  const std::wstring german = LibraryPageText(L"WixUI_de-de.wxl", c.textId, productName);
  ASSERT_NE(german, LibraryPageText(L"WixUI_en-us.wxl", c.textId, productName));

  WixSetRun run(bundle, L"/L 1031");
  ASSERT_TRUE(run.Follow({{c.install.front().page, {}}})) << run.Trouble();
  EXPECT_EQ(WixSetRun::Text(run.LastPage().window, L"Title"), german);
  std::vector<WixSetStep> install = c.install;
  install.push_back({L"ExitDialog", {}});
  ASSERT_TRUE(run.Follow(install)) << run.Trouble();
  EXPECT_EQ(WixSetRun::Text(run.LastPage().window, L"Title"),
            LibraryPageText(L"WixUI_de-de.wxl", L"ExitDialogTitle", productName));
  ASSERT_TRUE(run.Click(run.LastPage().window, L"Finish"));
  const testsupport::ProcessResult result = run.Process().Wait(WixSetRun::kStepTimeoutMs);
  ASSERT_FALSE(result.timedOut) << run.Describe();
  EXPECT_EQ(result.exitCode, 0u) << run.Describe();
  EXPECT_TRUE(testsupport::IsWixSetProductInstalled(set_->productCode)) << run.Describe();
}

INSTANTIATE_TEST_SUITE_P(
    Sets, WixSetGerman,
    ::testing::Values(
        GermanCase{"Minimal", {{L"WelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Install"}}}, L"WelcomeEulaDlgTitle"},
        GermanCase{"InstallDir", AfterLicense({{L"InstallDirDlg", {L"Next"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                   L"WelcomeDlgTitle"},
        GermanCase{"FeatureTree", AfterLicense({{L"CustomizeDlg", {L"Next"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                   L"WelcomeDlgTitle"},
        GermanCase{"Mondo", AfterLicense({{L"SetupTypeDlg", {L"TypicalButton"}}, {L"VerifyReadyDlg", {L"Install"}}}),
                   L"WelcomeDlgTitle"},
        GermanCase{"Advanced", {{L"AdvancedWelcomeEulaDlg", {L"LicenseAcceptedCheckBox", L"Install"}}},
                   L"AdvancedWelcomeEulaDlgTitle"}),
    [](const ::testing::TestParamInfo<GermanCase>& info) { return std::string(info.param.set); });

}  // namespace
