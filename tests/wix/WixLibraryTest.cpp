#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "WixLibrarySupport.h"
#include "wix/WixControlReader.h"
#include "support/WixSetBundle.h"

// The standard WiX UI library read whole, in English and in German: every
// dialog with its controls in document order; a representative set checked
// exactly.

namespace {

using namespace wixbits;
constexpr int V = kVisible;
constexpr int E = kEnabled;

struct ControlRow {
  const wchar_t* dialog;
  const wchar_t* id;
  int type;
  int x, y, width, height;
  int attributes;
  bool isDefault;
  bool isCancel;
};

// Taken from the dialog sources: ids, types, authored positions, style
// attributes and the Default/Cancel flags, in document order.
const ControlRow kRows[] = {
  {L"WelcomeDlg", L"Next", kWixPushButton, 236, 243, 56, 17, V|E, true, false},
  {L"WelcomeDlg", L"Cancel", kWixPushButton, 304, 243, 56, 17, V|E, false, true},
  {L"WelcomeDlg", L"Bitmap", kWixBitmap, 0, 0, 370, 234, V|E, false, false},
  {L"WelcomeDlg", L"Back", kWixPushButton, 180, 243, 56, 17, V, false, false},
  {L"WelcomeDlg", L"BottomLine", kWixLine, 0, 234, 370, 0, V|E, false, false},
  {L"WelcomeDlg", L"Description", kWixText, 135, 80, 220, 60, V|E|kTransparent|kNoPrefix, false, false},
  {L"WelcomeDlg", L"PatchDescription", kWixText, 135, 80, 220, 60, V|E|kTransparent|kNoPrefix, false, false},
  {L"WelcomeDlg", L"Title", kWixText, 135, 20, 220, 60, V|E|kTransparent|kNoPrefix, false, false},
  {L"LicenseAgreementDlg", L"BannerBitmap", kWixBitmap, 0, 0, 370, 44, V|E, false, false},
  {L"LicenseAgreementDlg", L"BannerLine", kWixLine, 0, 44, 370, 0, V|E, false, false},
  {L"LicenseAgreementDlg", L"BottomLine", kWixLine, 0, 234, 370, 0, V|E, false, false},
  {L"LicenseAgreementDlg", L"Description", kWixText, 25, 23, 340, 15, V|E|kTransparent|kNoPrefix, false, false},
  {L"LicenseAgreementDlg", L"Title", kWixText, 15, 6, 200, 15, V|E|kTransparent|kNoPrefix, false, false},
  {L"LicenseAgreementDlg", L"LicenseAcceptedCheckBox", kWixCheckBox, 20, 207, 330, 18, V|E, false, false},
  {L"LicenseAgreementDlg", L"Print", kWixPushButton, 112, 243, 56, 17, V|E, false, false},
  {L"LicenseAgreementDlg", L"Back", kWixPushButton, 180, 243, 56, 17, V|E, false, false},
  {L"LicenseAgreementDlg", L"Next", kWixPushButton, 236, 243, 56, 17, V|E, true, false},
  {L"LicenseAgreementDlg", L"Cancel", kWixPushButton, 304, 243, 56, 17, V|E, false, true},
  {L"LicenseAgreementDlg", L"LicenseText", kWixScrollableText, 20, 60, 330, 140, V|E|kSunken, false, false},
  {L"CustomizeDlg", L"Tree", kWixSelectionTree, 25, 85, 175, 115, V|E|kSunken, false, false},
  {L"CustomizeDlg", L"Browse", kWixPushButton, 294, 210, 66, 17, V|E, false, false},
  {L"CustomizeDlg", L"Reset", kWixPushButton, 10, 243, 81, 17, V|E, false, false},
  {L"CustomizeDlg", L"DiskCost", kWixPushButton, 91, 243, 100, 17, V|E, false, false},
  {L"CustomizeDlg", L"Back", kWixPushButton, 192, 243, 56, 17, V|E, false, false},
  {L"CustomizeDlg", L"Next", kWixPushButton, 248, 243, 56, 17, V|E, true, false},
  {L"CustomizeDlg", L"Cancel", kWixPushButton, 304, 243, 56, 17, V|E, false, true},
  {L"CustomizeDlg", L"BannerBitmap", kWixBitmap, 0, 0, 370, 44, V|E, false, false},
  {L"CustomizeDlg", L"Text", kWixText, 25, 55, 320, 20, V|E, false, false},
  {L"CustomizeDlg", L"BannerLine", kWixLine, 0, 44, 370, 0, V|E, false, false},
  {L"CustomizeDlg", L"BottomLine", kWixLine, 0, 234, 370, 0, V|E, false, false},
  {L"CustomizeDlg", L"Description", kWixText, 25, 23, 280, 15, V|E|kTransparent|kNoPrefix, false, false},
  {L"CustomizeDlg", L"Title", kWixText, 15, 6, 210, 15, V|E|kTransparent|kNoPrefix, false, false},
  {L"CustomizeDlg", L"Box", kWixGroupBox, 210, 81, 150, 118, V|E, false, false},
  {L"CustomizeDlg", L"ItemDescription", kWixText, 215, 90, 131, 50, V|E, false, false},
  {L"CustomizeDlg", L"ItemSize", kWixText, 215, 140, 131, 50, V|E, false, false},
  {L"CustomizeDlg", L"Location", kWixText, 90, 210, 200, 20, V|E, false, false},
  {L"CustomizeDlg", L"LocationLabel", kWixText, 25, 210, 65, 10, V|E, false, false},
  {L"BrowseDlg", L"PathEdit", kWixPathEdit, 25, 202, 320, 18, V|E|kIndirect, false, false},
  {L"BrowseDlg", L"OK", kWixPushButton, 240, 243, 56, 17, V|E, true, false},
  {L"BrowseDlg", L"Cancel", kWixPushButton, 304, 243, 56, 17, V|E, false, true},
  {L"BrowseDlg", L"ComboLabel", kWixText, 25, 58, 44, 10, V|E, false, false},
  {L"BrowseDlg", L"DirectoryCombo", kWixDirectoryCombo, 70, 55, 220, 80, V|E|kIndirect|kFixedVolume|kRemoteVolume, false, false},
  {L"BrowseDlg", L"WixUI_Bmp_Up", kWixPushButton, 298, 55, 19, 19, V|E|kIcon|kFixedSize|kIconSize16, false, false},
  {L"BrowseDlg", L"NewFolder", kWixPushButton, 325, 55, 19, 19, V|E|kIcon|kFixedSize|kIconSize16, false, false},
  {L"BrowseDlg", L"DirectoryList", kWixDirectoryList, 25, 83, 320, 98, V|E|kSunken|kIndirect, false, false},
  {L"BrowseDlg", L"PathLabel", kWixText, 25, 190, 320, 10, V|E, false, false},
  {L"BrowseDlg", L"BannerBitmap", kWixBitmap, 0, 0, 370, 44, V|E, false, false},
  {L"BrowseDlg", L"BannerLine", kWixLine, 0, 44, 370, 0, V|E, false, false},
  {L"BrowseDlg", L"BottomLine", kWixLine, 0, 234, 370, 0, V|E, false, false},
  {L"BrowseDlg", L"Description", kWixText, 25, 23, 280, 15, V|E|kTransparent|kNoPrefix, false, false},
  {L"BrowseDlg", L"Title", kWixText, 15, 6, 200, 15, V|E|kTransparent|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"Install", kWixPushButton, 212, 243, 80, 17, kElevationShield, true, false},
  {L"VerifyReadyDlg", L"InstallNoShield", kWixPushButton, 212, 243, 80, 17, 0, true, false},
  {L"VerifyReadyDlg", L"Change", kWixPushButton, 212, 243, 80, 17, kElevationShield, true, false},
  {L"VerifyReadyDlg", L"ChangeNoShield", kWixPushButton, 212, 243, 80, 17, 0, true, false},
  {L"VerifyReadyDlg", L"Repair", kWixPushButton, 212, 243, 80, 17, 0, true, false},
  {L"VerifyReadyDlg", L"Remove", kWixPushButton, 212, 243, 80, 17, kElevationShield, false, false},
  {L"VerifyReadyDlg", L"RemoveNoShield", kWixPushButton, 212, 243, 80, 17, 0, false, false},
  {L"VerifyReadyDlg", L"Update", kWixPushButton, 212, 243, 80, 17, kElevationShield, false, false},
  {L"VerifyReadyDlg", L"UpdateNoShield", kWixPushButton, 212, 243, 80, 17, 0, false, false},
  {L"VerifyReadyDlg", L"InstallTitle", kWixText, 15, 15, 300, 15, E|kTransparent|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"InstallText", kWixText, 25, 70, 320, 80, E, false, false},
  {L"VerifyReadyDlg", L"ChangeTitle", kWixText, 15, 15, 300, 15, E|kTransparent|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"ChangeText", kWixText, 25, 70, 320, 80, E, false, false},
  {L"VerifyReadyDlg", L"RepairTitle", kWixText, 15, 15, 300, 15, E|kTransparent|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"RepairText", kWixText, 25, 70, 320, 80, E|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"RemoveTitle", kWixText, 15, 15, 300, 15, E|kTransparent|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"RemoveText", kWixText, 25, 70, 320, 80, E|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"UpdateTitle", kWixText, 15, 15, 300, 15, E|kTransparent|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"UpdateText", kWixText, 25, 70, 320, 80, E|kNoPrefix, false, false},
  {L"VerifyReadyDlg", L"Cancel", kWixPushButton, 304, 243, 56, 17, V|E, false, true},
  {L"VerifyReadyDlg", L"Back", kWixPushButton, 156, 243, 56, 17, V|E, false, false},
  {L"VerifyReadyDlg", L"BannerBitmap", kWixBitmap, 0, 0, 370, 44, V|E, false, false},
  {L"VerifyReadyDlg", L"BannerLine", kWixLine, 0, 44, 370, 0, V|E, false, false},
  {L"VerifyReadyDlg", L"BottomLine", kWixLine, 0, 234, 370, 0, V|E, false, false},
  {L"ProgressDlg", L"Cancel", kWixPushButton, 304, 243, 56, 17, V|E, true, true},
  {L"ProgressDlg", L"BannerBitmap", kWixBitmap, 0, 0, 370, 44, V|E, false, false},
  {L"ProgressDlg", L"Back", kWixPushButton, 180, 243, 56, 17, V, false, false},
  {L"ProgressDlg", L"Next", kWixPushButton, 236, 243, 56, 17, V, false, false},
  {L"ProgressDlg", L"BannerLine", kWixLine, 0, 44, 370, 0, V|E, false, false},
  {L"ProgressDlg", L"BottomLine", kWixLine, 0, 234, 370, 0, V|E, false, false},
  {L"ProgressDlg", L"TextInstalling", kWixText, 20, 65, 330, 35, E|kNoPrefix, false, false},
  {L"ProgressDlg", L"TitleInstalling", kWixText, 20, 15, 330, 15, E|kTransparent|kNoPrefix, false, false},
  {L"ProgressDlg", L"TextChanging", kWixText, 20, 65, 330, 35, E|kNoPrefix, false, false},
  {L"ProgressDlg", L"TitleChanging", kWixText, 20, 15, 330, 15, E|kTransparent|kNoPrefix, false, false},
  {L"ProgressDlg", L"TextRepairing", kWixText, 20, 65, 330, 35, E|kNoPrefix, false, false},
  {L"ProgressDlg", L"TitleRepairing", kWixText, 20, 15, 330, 15, E|kTransparent|kNoPrefix, false, false},
  {L"ProgressDlg", L"TextRemoving", kWixText, 20, 65, 330, 35, E|kNoPrefix, false, false},
  {L"ProgressDlg", L"TitleRemoving", kWixText, 20, 15, 330, 15, E|kTransparent|kNoPrefix, false, false},
  {L"ProgressDlg", L"TextUpdating", kWixText, 20, 65, 330, 35, E|kNoPrefix, false, false},
  {L"ProgressDlg", L"TitleUpdating", kWixText, 20, 15, 330, 15, E|kTransparent|kNoPrefix, false, false},
  {L"ProgressDlg", L"ActionText", kWixText, 70, 100, 285, 10, V|E, false, false},
  {L"ProgressDlg", L"ProgressBar", kWixProgressBar, 20, 115, 330, 10, V|E|kProgress95, false, false},
  {L"ProgressDlg", L"StatusLabel", kWixText, 20, 100, 50, 10, V|E, false, false},
  {L"MaintenanceTypeDlg", L"ChangeButton", kWixPushButton, 40, 65, 80, 17, V|E, true, false},
  {L"MaintenanceTypeDlg", L"ChangeText", kWixText, 60, 85, 280, 20, V|E, false, false},
  {L"MaintenanceTypeDlg", L"ChangeDisabledText", kWixText, 60, 85, 280, 20, E|kNoPrefix, false, false},
  {L"MaintenanceTypeDlg", L"RepairButton", kWixPushButton, 40, 118, 80, 17, V|E, false, false},
  {L"MaintenanceTypeDlg", L"RepairText", kWixText, 60, 138, 280, 30, V|E, false, false},
  {L"MaintenanceTypeDlg", L"RepairDisabledText", kWixText, 60, 138, 280, 30, E|kNoPrefix, false, false},
  {L"MaintenanceTypeDlg", L"RemoveButton", kWixPushButton, 40, 171, 80, 17, V|E, false, false},
  {L"MaintenanceTypeDlg", L"RemoveText", kWixText, 60, 191, 280, 20, V|E|kNoPrefix, false, false},
  {L"MaintenanceTypeDlg", L"RemoveDisabledText", kWixText, 60, 191, 280, 20, E|kNoPrefix, false, false},
  {L"MaintenanceTypeDlg", L"Back", kWixPushButton, 180, 243, 56, 17, V|E, false, false},
  {L"MaintenanceTypeDlg", L"Next", kWixPushButton, 236, 243, 56, 17, V, false, false},
  {L"MaintenanceTypeDlg", L"Cancel", kWixPushButton, 304, 243, 56, 17, V|E, false, true},
  {L"MaintenanceTypeDlg", L"BannerBitmap", kWixBitmap, 0, 0, 370, 44, V|E, false, false},
  {L"MaintenanceTypeDlg", L"BannerLine", kWixLine, 0, 44, 370, 0, V|E, false, false},
  {L"MaintenanceTypeDlg", L"BottomLine", kWixLine, 0, 234, 370, 0, V|E, false, false},
  {L"MaintenanceTypeDlg", L"Title", kWixText, 15, 6, 340, 15, V|E|kTransparent|kNoPrefix, false, false},
  {L"MaintenanceTypeDlg", L"Description", kWixText, 25, 23, 340, 20, V|E|kTransparent|kNoPrefix, false, false},
  {L"ExitDialog", L"Finish", kWixPushButton, 236, 243, 56, 17, V|E, true, true},
  {L"ExitDialog", L"Cancel", kWixPushButton, 304, 243, 56, 17, V, false, false},
  {L"ExitDialog", L"Bitmap", kWixBitmap, 0, 0, 370, 234, V|E, false, false},
  {L"ExitDialog", L"Back", kWixPushButton, 180, 243, 56, 17, V, false, false},
  {L"ExitDialog", L"BottomLine", kWixLine, 0, 234, 370, 0, V|E, false, false},
  {L"ExitDialog", L"Description", kWixText, 135, 70, 220, 40, V|E|kTransparent|kNoPrefix, false, false},
  {L"ExitDialog", L"Title", kWixText, 135, 20, 220, 60, V|E|kTransparent|kNoPrefix, false, false},
  {L"ExitDialog", L"OptionalText", kWixText, 135, 110, 220, 80, E|kTransparent|kNoPrefix, false, false},
  {L"ExitDialog", L"OptionalCheckBox", kWixCheckBox, 135, 190, 220, 40, E, false, false},
};

const wchar_t* const kRepresentativeDialogs[] = {L"WelcomeDlg",     L"LicenseAgreementDlg", L"CustomizeDlg",
                                                 L"BrowseDlg",      L"VerifyReadyDlg",      L"ProgressDlg",
                                                 L"MaintenanceTypeDlg", L"ExitDialog"};

// Authored points become pixels at the test screen's 96 DPI: times 4/3, half up.
long Pixels(int points) { return static_cast<long>((points * 4 + 1) / 3); }

class WixLibraryDialog : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(WixLibraryDialog, ControlsInDocumentOrderWithGeometryAndAttributes) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  wixtest::WixLibrary& library = wixtest::Library(L"WixUI_en-us.wxl", false);
  ASSERT_EQ(library.measuredDpi, 96);
  CWixDialog* dialog = library.model.GetDialog(GetParam());
  ASSERT_NE(dialog, nullptr);
  std::vector<const ControlRow*> rows;
  for (const ControlRow& row : kRows) {
    if (std::wstring(row.dialog) == GetParam()) rows.push_back(&row);
  }
  ASSERT_EQ(dialog->GetControlCount(), static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    const ControlRow& row = *rows[i];
    CWixControl* control = dialog->GetControlAt(static_cast<int>(i));
    ASSERT_NE(control, nullptr);
    SCOPED_TRACE(testing::Message() << "control " << i);
    EXPECT_EQ(control->GetId(), row.id);
    EXPECT_EQ(control->GetType(), row.type);
    const RECT& rect = control->GetRect();
    EXPECT_EQ(rect.left, Pixels(row.x));
    EXPECT_EQ(rect.top, Pixels(row.y));
    EXPECT_EQ(rect.right, Pixels(row.x + row.width));
    EXPECT_EQ(rect.bottom, Pixels(row.y + row.height));
    EXPECT_EQ(control->GetAttributes(), row.attributes) << std::hex << control->GetAttributes();
    EXPECT_EQ(control->IsDefault(), row.isDefault);
    EXPECT_EQ(control->IsCancel(), row.isCancel);
  }
  // The dialog is 370 x 270 authored units, kept in dialog units.
  RECT expected = library.converter.ToDialogUnits(RECT{0, 0, 370, 270});
  EXPECT_EQ(dialog->GetRect().right, expected.right);
  EXPECT_EQ(dialog->GetRect().bottom, expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Representative, WixLibraryDialog, ::testing::ValuesIn(kRepresentativeDialogs),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           std::wstring name = info.param;
                           return std::string(name.begin(), name.end());
                         });

struct TextRow {
  const char* label;
  const wchar_t* dialog;
  const wchar_t* control;  // null: the dialog's title
  bool toolTip;
  const wchar_t* english;
  const wchar_t* german;
  const wchar_t* style;
};
void PrintTo(const TextRow& row, std::ostream* os) { *os << row.label; }

class WixLibraryText : public ::testing::TestWithParam<TextRow> {};

TEST_P(WixLibraryText, LocalizedInBothLanguages) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  const TextRow& row = GetParam();
  const std::pair<const wchar_t*, const wchar_t*> languages[] = {{L"WixUI_en-us.wxl", row.english},
                                                                 {L"WixUI_de-de.wxl", row.german}};
  for (const auto& language : languages) {
    CWixDialog* dialog = wixtest::Library(language.first, false).model.GetDialog(row.dialog);
    ASSERT_NE(dialog, nullptr);
    if (row.control == nullptr) {
      EXPECT_EQ(dialog->GetTitle(), language.second);
      continue;
    }
    CWixControl* control = dialog->FindControl(row.control);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(row.toolTip ? control->GetToolTip() : control->GetText(), language.second);
    if (!row.toolTip) {
      EXPECT_EQ(control->GetTextStyle(), row.style);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Representative, WixLibraryText,
    ::testing::Values(
        TextRow{"WelcomeTitle", L"WelcomeDlg", nullptr, false, L"[ProductName] Setup", L"[ProductName]-Setup", L""},
        TextRow{"WelcomeNext", L"WelcomeDlg", L"Next", false, L"&Next", L"&Weiter", L""},
        TextRow{"WelcomeHeading", L"WelcomeDlg", L"Title", false, L"Welcome to the [ProductName] Setup Wizard",
                L"Willkommen beim Setup-Assistenten von [ProductName]", L"WixUI_Font_Bigger"},
        TextRow{"WelcomeBitmap", L"WelcomeDlg", L"Bitmap", false, L"WixUI_Bmp_Dialog", L"WixUI_Bmp_Dialog", L""},
        TextRow{"LicenseHeading", L"LicenseAgreementDlg", L"Title", false, L"End-User License Agreement",
                L"Lizenzbedingungen", L"WixUI_Font_Title"},
        TextRow{"LicenseCheckBox", L"LicenseAgreementDlg", L"LicenseAcceptedCheckBox", false,
                L"I &accept the terms in the License Agreement",
                L"Ich &stimme den Bedingungen der Lizenzvereinbarung zu.", L""},
        TextRow{"CustomizeBrowse", L"CustomizeDlg", L"Browse", false, L"B&rowse...", L"Du&rchsuchen...", L""},
        TextRow{"CustomizeTree", L"CustomizeDlg", L"Tree", false, L"Tree of selections", L"Auswahlstruktur", L""},
        TextRow{"BrowseUpToolTip", L"BrowseDlg", L"WixUI_Bmp_Up", true, L"Up one level", L"Eine Ebene nach oben", L""},
        TextRow{"BrowseOk", L"BrowseDlg", L"OK", false, L"OK", L"OK", L""},
        TextRow{"VerifyInstall", L"VerifyReadyDlg", L"Install", false, L"&Install", L"&Installieren", L""},
        TextRow{"ProgressBar", L"ProgressDlg", L"ProgressBar", false, L"Progress done", L"Ausgef\x00FChrt", L""},
        TextRow{"ProgressBack", L"ProgressDlg", L"Back", false, L"&Back", L"&Zur\x00FC" L"ck", L""},
        TextRow{"RepairButton", L"MaintenanceTypeDlg", L"RepairButton", false, L"Re&pair", L"Re&parieren", L""},
        TextRow{"RepairToolTip", L"MaintenanceTypeDlg", L"RepairButton", true, L"Repair Installation",
                L"Installation reparieren", L""},
        TextRow{"ExitFinish", L"ExitDialog", L"Finish", false, L"&Finish", L"&Fertig stellen", L""},
        TextRow{"ExitHeading", L"ExitDialog", L"Title", false, L"Completed the [ProductName] Setup Wizard",
                L"Der Setup-Assistent f\x00FCr [ProductName] wurde abgeschlossen.", L"WixUI_Font_Bigger"},
        TextRow{"ExitPropertyText", L"ExitDialog", L"OptionalText", false, L"[WIXUI_EXITDIALOGOPTIONALTEXT]",
                L"[WIXUI_EXITDIALOGOPTIONALTEXT]", L""}),
    [](const ::testing::TestParamInfo<TextRow>& info) { return std::string(info.param.label); });

struct EventRow {
  const char* label;
  const wchar_t* dialog;
  const wchar_t* control;
  std::vector<WixPublish> publishes;
};
void PrintTo(const EventRow& row, std::ostream* os) { *os << row.label; }

class WixLibraryPublish : public ::testing::TestWithParam<EventRow> {};

void ExpectPublishes(const CWixControl& control, const std::vector<WixPublish>& expected) {
  const std::vector<WixPublish>& got = control.GetPublishes();
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "event " << i);
    EXPECT_EQ(got[i].event, expected[i].event);
    EXPECT_EQ(got[i].argument, expected[i].argument);
    EXPECT_EQ(got[i].condition, expected[i].condition);
    EXPECT_EQ(got[i].isPropertyAssignment, expected[i].isPropertyAssignment);
  }
}

TEST_P(WixLibraryPublish, EventsArgumentsAndConditionsInOrder) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  CWixDialog* dialog = wixtest::Library(L"WixUI_en-us.wxl", false).model.GetDialog(GetParam().dialog);
  ASSERT_NE(dialog, nullptr);
  CWixControl* control = dialog->FindControl(GetParam().control);
  ASSERT_NE(control, nullptr);
  ExpectPublishes(*control, GetParam().publishes);
}

INSTANTIATE_TEST_SUITE_P(
    Representative, WixLibraryPublish,
    ::testing::Values(
        EventRow{"WelcomeNextSetsTheMode", L"WelcomeDlg", L"Next",
                 {{L"[WixUI_InstallMode]", L"Update", L"Installed AND PATCH", true}}},
        EventRow{"WelcomeCancel", L"WelcomeDlg", L"Cancel", {{L"SpawnDialog", L"CancelDlg", L"1", false}}},
        // Common.wxs declares WixUICostingPopupOptOut as 1, bound after the last file.
        EventRow{"LicenseNext", L"LicenseAgreementDlg", L"Next",
                 {{L"SpawnWaitDialog", L"WaitForCostingDlg", L"1 OR CostingComplete = 1", false}}},
        EventRow{"LicensePrint", L"LicenseAgreementDlg", L"Print", {{L"DoAction", L"WixUIPrintEula", L"1", false}}},
        EventRow{"CustomizeReset", L"CustomizeDlg", L"Reset", {{L"Reset", L"0", L"1", false}}},
        EventRow{"BrowseOk", L"BrowseDlg", L"OK",
                 {{L"SetTargetPath", L"[_BrowseProperty]", L"1", false}, {L"EndDialog", L"Return", L"1", false}}},
        EventRow{"BrowseCancel", L"BrowseDlg", L"Cancel",
                 {{L"Reset", L"0", L"1", false}, {L"EndDialog", L"Return", L"1", false}}},
        EventRow{"VerifyInstall", L"VerifyReadyDlg", L"Install",
                 {{L"EndDialog", L"Return", L"OutOfDiskSpace <> 1", false},
                  {L"SpawnDialog", L"OutOfRbDiskDlg",
                   L"OutOfDiskSpace = 1 AND OutOfNoRbDiskSpace = 0 AND (PROMPTROLLBACKCOST=\"P\" OR NOT "
                   L"PROMPTROLLBACKCOST)",
                   false},
                  {L"EndDialog", L"Return", L"OutOfDiskSpace = 1 AND OutOfNoRbDiskSpace = 0 AND PROMPTROLLBACKCOST=\"D\"",
                   false},
                  {L"EnableRollback", L"False",
                   L"OutOfDiskSpace = 1 AND OutOfNoRbDiskSpace = 0 AND PROMPTROLLBACKCOST=\"D\"", false},
                  {L"SpawnDialog", L"OutOfDiskDlg",
                   L"(OutOfDiskSpace = 1 AND OutOfNoRbDiskSpace = 1) OR (OutOfDiskSpace = 1 AND PROMPTROLLBACKCOST=\"F\")",
                   false}}},
        EventRow{"ProgressCancel", L"ProgressDlg", L"Cancel", {{L"SpawnDialog", L"CancelDlg", L"1", false}}},
        EventRow{"RepairButton", L"MaintenanceTypeDlg", L"RepairButton",
                 {{L"[WixUI_InstallMode]", L"Repair", L"1", true}}},
        EventRow{"ExitFinishHasNoneOfItsOwn", L"ExitDialog", L"Finish", {}}),
    [](const ::testing::TestParamInfo<EventRow>& info) { return std::string(info.param.label); });

TEST(WixLibrarySubscribeAndCondition, EntriesInOrder) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  IWixDataManager& model = wixtest::Library(L"WixUI_en-us.wxl", false).model;
  struct SubscribeRow {
    const wchar_t* dialog;
    const wchar_t* control;
    std::vector<std::pair<int, int>> entries;
  };
  const SubscribeRow subscribes[] = {
      {L"CustomizeDlg", L"Location", {{kSubscribeSelectionPath, kSubscribeText}, {kSubscribeSelectionPathOn, kSubscribeVisible}}},
      {L"CustomizeDlg", L"Reset", {{kSubscribeSelectionNoItems, kSubscribeEnabled}}},
      {L"CustomizeDlg", L"ItemSize", {{kSubscribeSelectionSize, kSubscribeText}}},
      {L"BrowseDlg", L"DirectoryCombo", {{kSubscribeIgnoreChange, kSubscribeAttributeIgnoreChange}}},
      {L"ProgressDlg", L"ActionText", {{kSubscribeActionText, kSubscribeText}}},
      {L"ProgressDlg", L"ProgressBar", {{kSubscribeSetProgress, kSubscribeProgress}}},
      {L"WelcomeDlg", L"Next", {}},
  };
  for (const SubscribeRow& row : subscribes) {
    CWixControl* control = model.GetDialog(row.dialog)->FindControl(row.control);
    ASSERT_NE(control, nullptr);
    std::vector<std::pair<int, int>> got;
    for (const WixSubscribe& entry : control->GetSubscribes()) got.emplace_back(entry.event, entry.attribute);
    EXPECT_EQ(got, row.entries);
  }
  struct ConditionRow {
    const wchar_t* dialog;
    const wchar_t* control;
    std::vector<std::pair<int, std::wstring>> entries;
  };
  const ConditionRow conditions[] = {
      {L"WelcomeDlg", L"Description",
       {{kConditionShow, L"NOT Installed OR NOT PATCH"}, {kConditionHide, L"Installed AND PATCH"}}},
      {L"LicenseAgreementDlg", L"Next",
       {{kConditionDisable, L"LicenseAccepted <> \"1\""}, {kConditionEnable, L"LicenseAccepted = \"1\""}}},
      {L"CustomizeDlg", L"Browse", {{kConditionHide, L"Installed"}, {kConditionDisable, L"Installed"}}},
      // The "default" action is not one the wizard knows and is left out.
      {L"VerifyReadyDlg", L"Install",
       {{kConditionShow, L"NOT Installed AND ALLUSERS"}, {kConditionEnable, L"NOT Installed"}}},
      {L"ExitDialog", L"OptionalCheckBox",
       {{kConditionShow, L"WIXUI_EXITDIALOGOPTIONALCHECKBOXTEXT AND NOT Installed"}}},
  };
  for (const ConditionRow& row : conditions) {
    CWixControl* control = model.GetDialog(row.dialog)->FindControl(row.control);
    ASSERT_NE(control, nullptr);
    std::vector<std::pair<int, std::wstring>> got;
    for (const WixCondition& entry : control->GetConditions()) got.emplace_back(entry.action, entry.condition);
    EXPECT_EQ(got, row.entries);
  }
}

TEST(WixLibraryAttributeViews, ReadTheControlKindsBits) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  IWixDataManager& model = wixtest::Library(L"WixUI_en-us.wxl", false).model;
  CWixDialog* browse = model.GetDialog(L"BrowseDlg");
  const IButtonControlAttributes& up = *browse->FindControl(L"WixUI_Bmp_Up");
  EXPECT_TRUE(up.HasIcon());
  EXPECT_FALSE(up.HasBitmap());
  EXPECT_TRUE(up.IsFixedSize());
  EXPECT_EQ(up.GetIconSize(), 16);
  EXPECT_EQ(up.GetImageId(), L"WixUI_Bmp_Up");
  EXPECT_FALSE(up.HasElevationShield());
  const IDirectoryComboAttributes& combo = *browse->FindControl(L"DirectoryCombo");
  EXPECT_TRUE(combo.ShowsFixed());
  EXPECT_TRUE(combo.ShowsRemote());
  EXPECT_FALSE(combo.ShowsRemovable());
  EXPECT_FALSE(combo.ShowsCDROM());
  EXPECT_FALSE(combo.ShowsFloppy());
  EXPECT_EQ(browse->FindControl(L"DirectoryCombo")->GetProperty(), L"_BrowseProperty");
  const IButtonControlAttributes& install = *model.GetDialog(L"VerifyReadyDlg")->FindControl(L"Install");
  EXPECT_TRUE(install.HasElevationShield());
  EXPECT_FALSE(model.GetDialog(L"VerifyReadyDlg")->FindControl(L"InstallNoShield")->HasElevationShield());
  const ICheckBoxAttributes& accept = *model.GetDialog(L"LicenseAgreementDlg")->FindControl(L"LicenseAcceptedCheckBox");
  EXPECT_EQ(accept.GetCheckBoxValue(), L"1");
  EXPECT_FALSE(accept.IsPushLike());
  const IIconControlAttributes& bitmap = *model.GetDialog(L"WelcomeDlg")->FindControl(L"Bitmap");
  EXPECT_EQ(bitmap.GetImageId(), L"WixUI_Bmp_Dialog");
  EXPECT_EQ(bitmap.GetIconSize(), 0);
  const IEditControlAttributes& path = *browse->FindControl(L"PathEdit");
  EXPECT_FALSE(path.IsMultiline());
  EXPECT_FALSE(path.IsPassword());
  EXPECT_TRUE(model.GetDialog(L"ProgressDlg")->FindControl(L"ProgressBar")->HasAttribute(kProgress95));
  EXPECT_TRUE(model.GetDialog(L"ExitDialog")->FindControl(L"Bitmap")->GetText() == L"WixUI_Bmp_Dialog");
}

TEST(WixLibraryDialogWords, TitleFlagsOfTheDialogs) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  IWixDataManager& model = wixtest::Library(L"WixUI_en-us.wxl", false).model;
  constexpr int kDefault = kDialogVisible | kDialogModal | kDialogMinimize;
  EXPECT_EQ(model.GetDialog(L"WelcomeDlg")->GetAttributes(), kDefault);
  EXPECT_EQ(model.GetDialog(L"CustomizeDlg")->GetAttributes(), kDefault | kDialogTrackDiskSpace);
  EXPECT_EQ(model.GetDialog(L"ProgressDlg")->GetAttributes(), kDialogVisible | kDialogMinimize);
  EXPECT_EQ(model.GetDialog(L"ErrorDlg")->GetAttributes() & kDialogError, kDialogError);
}

TEST(WixLibraryRadioButtons, GroupItemsByTheControlsProperty) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  for (const wchar_t* wxl : {L"WixUI_en-us.wxl", L"WixUI_de-de.wxl"}) {
    CWixControl* group = wixtest::Library(wxl, false).model.GetDialog(L"InstallScopeDlg")->FindControl(L"BothScopes");
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetRadioButtons().size(), 2u);
    const WixRadioButton& perMachine = group->GetRadioButtons()[1];
    EXPECT_EQ(perMachine.value, L"WixPerMachineFolder");
    EXPECT_EQ(perMachine.rect.top, Pixels(60));
    EXPECT_EQ(perMachine.rect.right, Pixels(295));
    EXPECT_EQ(perMachine.rect.bottom, Pixels(76));
    // The text style leads the text in the library; the button shows the text in that style.
    EXPECT_EQ(perMachine.text, std::wstring(wxl) == L"WixUI_en-us.wxl"
                                   ? L"Install for all users of this &machine"
                                   : L"F\x00FCr alle Benutzer dieses &Computers installieren");
    EXPECT_EQ(perMachine.textStyle, L"WixUI_Font_Emphasized");
  }
}

struct DialogCount {
  const wchar_t* id;
  int controls;
};

TEST(WixLibraryWhole, EveryDialogWithAllItsControlsInBothLanguages) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  // Dialog ids and their Control elements, counted in the library sources.
  const DialogCount dialogs[] = {
      {L"AdvancedWelcomeEulaDlg", 12}, {L"BrowseDlg", 14},      {L"CancelDlg", 4},          {L"CustomizeDlg", 18},
      {L"DiskCostDlg", 8},             {L"ErrorDlg", 9},        {L"ExitDialog", 9},         {L"FatalError", 7},
      {L"FeaturesDlg", 14},            {L"FilesInUse", 10},     {L"InstallDirDlg", 11},     {L"InstallScopeDlg", 12},
      {L"InvalidDirDlg", 3},           {L"LicenseAgreementDlg", 11}, {L"MaintenanceTypeDlg", 17},
      {L"MaintenanceWelcomeDlg", 7},   {L"MsiRMFilesInUse", 10}, {L"OutOfDiskDlg", 8},      {L"OutOfRbDiskDlg", 9},
      {L"PrepareDlg", 9},              {L"ProgressDlg", 19},    {L"ResumeDlg", 8},          {L"SetupTypeDlg", 14},
      {L"UserExit", 7},                {L"VerifyReadyDlg", 24}, {L"WaitForCostingDlg", 3},  {L"WelcomeDlg", 8},
      {L"WelcomeEulaDlg", 10}};
  for (const wchar_t* wxl : {L"WixUI_en-us.wxl", L"WixUI_de-de.wxl"}) {
    wixtest::WixLibrary& library = wixtest::Library(wxl, false);
    EXPECT_EQ(library.failedFiles, std::vector<std::wstring>());
    std::vector<std::wstring> expectedIds;
    for (const DialogCount& dialog : dialogs) {
      expectedIds.push_back(dialog.id);
      CWixDialog* read = library.model.GetDialog(dialog.id);
      ASSERT_NE(read, nullptr);
      EXPECT_EQ(read->GetControlCount(), dialog.controls);
    }
    std::sort(expectedIds.begin(), expectedIds.end());
    EXPECT_EQ(library.model.GetDialogIds(), expectedIds);
  }
}

}  // namespace
