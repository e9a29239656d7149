// The wizard's naming rules: dialog end values, which dialog names have a
// behaviour of their own, which texts become links, which buttons an error
// question shows, and the shell's error texts.

#include <gtest/gtest.h>

#include <string>

#include "ui/controls/HyperLink.h"
#include "ui/controls/Text_BT.h"
#include "ui/dialogs/ErrorDialog.h"
#include "ui/host/DialogFactory.h"
#include "ui/host/WizardController.h"

namespace {

struct EndValueCase {
  const wchar_t* text;
  int value;
};

std::string EndValueName(const ::testing::TestParamInfo<EndValueCase>& info) {
  std::string name;
  for (const wchar_t* c = info.param.text; *c != L'\0'; ++c) name += static_cast<char>(*c);
  return (name.empty() ? std::string("Empty") : name) + "_" + std::to_string(info.index);
}

class EndValue : public ::testing::TestWithParam<EndValueCase> {};

TEST_P(EndValue, FollowsTheValueText) {
  EXPECT_EQ(ui::CWizardController::EndValueFromText(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, EndValue,
                         ::testing::Values(EndValueCase{L"Exit", 15}, EndValueCase{L"Return", 14},
                                           EndValueCase{L"ErrorYes", IDYES}, EndValueCase{L"ErrorNo", IDNO},
                                           EndValueCase{L"ErrorOk", IDOK}, EndValueCase{L"ErrorAbort", IDABORT},
                                           EndValueCase{L"ErrorRetry", IDRETRY}, EndValueCase{L"Retry", IDRETRY},
                                           EndValueCase{L"ErrorCancel", IDCANCEL},
                                           EndValueCase{L"ErrorIgnore", IDIGNORE}, EndValueCase{L"Ignore", IDIGNORE},
                                           // Names are exact: another case is "anything else".
                                           EndValueCase{L"ignore", IDCANCEL}, EndValueCase{L"WelcomeDlg", IDCANCEL},
                                           EndValueCase{L"", IDCANCEL}),
                         EndValueName);

TEST(DialogNames, CustomizeMatchesAnywhereAndOthersExactly) {
  EXPECT_EQ(ui::ClassifyDialogName(L"MyCustomizeDlgTwo"), ui::KnownDialog::kCustomize);
  EXPECT_EQ(ui::ClassifyDialogName(L"MaintenanceTypeDlg"), ui::KnownDialog::kMaintenanceType);
  EXPECT_EQ(ui::ClassifyDialogName(L"maintenancetypedlg"), ui::KnownDialog::kNone);
  EXPECT_EQ(ui::ClassifyDialogName(L"Restart_Intermediate_Dlg"), ui::KnownDialog::kRestart);
  EXPECT_EQ(ui::ClassifyDialogName(L"WelcomeDlg"), ui::KnownDialog::kNone);
}

TEST(TextControls, HyperlinksByIdPrefix) {
  EXPECT_TRUE(ui::IsHyperlinkId(L"descriptionlogfile"));
  EXPECT_TRUE(ui::IsHyperlinkId(L"HypelinkTextDescriptionHTMLpage1"));
  EXPECT_FALSE(ui::IsHyperlinkId(L"MyHypelink"));
  EXPECT_FALSE(ui::IsHyperlinkId(L"Description"));
}

TEST(ErrorQuestion, ShowsOnlyTheButtonsOfTheStyle) {
  EXPECT_EQ(ui::CErrorDialog::ButtonSet(MB_OK), L"O");
  EXPECT_EQ(ui::CErrorDialog::ButtonSet(MB_OKCANCEL | MB_ICONWARNING), L"OC");
  EXPECT_EQ(ui::CErrorDialog::ButtonSet(MB_ABORTRETRYIGNORE), L"ARI");
  EXPECT_EQ(ui::CErrorDialog::ButtonSet(MB_YESNOCANCEL), L"YNC");
  EXPECT_EQ(ui::CErrorDialog::ButtonSet(MB_YESNO | MB_TOPMOST), L"YN");
  EXPECT_EQ(ui::CErrorDialog::ButtonSet(MB_RETRYCANCEL), L"RC");
}

TEST(HyperlinkErrors, NameTheShellsReason) {
  EXPECT_EQ(ui::CHyperLink::ErrorText(2), L"Unable to open hyperlink:\n\nThe specified file was not found.");
  EXPECT_EQ(ui::CHyperLink::ErrorText(31),
            L"Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
  EXPECT_EQ(ui::CHyperLink::ErrorText(17), L"Unable to open hyperlink:\n\nUnknown Error (17) occurred.");
}

}  // namespace
