// The rules of the standard dialogs that need no window: the error
// question's button row and its Escape answer, the files-in-use lines, the
// message-box stand-ins for missing question dialogs, the maintenance choice
// and the unavailable-source folder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ExecutionType.h"
#include "ui/dialogs/ErrorDialog.h"
#include "ui/dialogs/FilesInUseDialog.h"
#include "ui/dialogs/MaintenanceTypeDlg.h"
#include "ui/dialogs/UnavailableSrcDialog.h"
#include "ui/host/DialogFactory.h"

namespace {

TEST(ErrorQuestion, ButtonsOfASetSitSideBySideCentredWithoutOverlap) {
  // The WiX library's ErrorDlg puts every button at the same place; the row spreads them.
  EXPECT_EQ(ui::CErrorDialog::RowLefts({84, 84}, 405, 8), (std::vector<int>{114, 206}));
  EXPECT_EQ(ui::CErrorDialog::RowLefts({84, 84, 84}, 405, 8), (std::vector<int>{68, 160, 252}));
  EXPECT_EQ(ui::CErrorDialog::RowLefts({84}, 405, 8), (std::vector<int>{160}));
  // Wider than the dialog: the row starts at its left edge.
  EXPECT_EQ(ui::CErrorDialog::RowLefts({300, 300}, 405, 8), (std::vector<int>{0, 308}));
  EXPECT_TRUE(ui::CErrorDialog::RowLefts({}, 405, 8).empty());
}

TEST(ErrorQuestion, EscapeAnswersTheSetsWayOut) {
  struct Case {
    UINT style;
    int answer;
  };
  const Case cases[] = {{MB_OK, IDOK},
                        {MB_OKCANCEL | MB_ICONWARNING, IDCANCEL},
                        {MB_ABORTRETRYIGNORE, IDABORT},
                        {MB_YESNOCANCEL, IDCANCEL},
                        {MB_YESNO, IDNO},
                        {MB_RETRYCANCEL | MB_TOPMOST, IDCANCEL}};
  for (const Case& c : cases) {
    const int answer = ui::CErrorDialog::EscapeAnswer(c.style);
    EXPECT_EQ(answer, c.answer) << c.style;
    // The answer is one of the set's own buttons' values (1 to 7).
    EXPECT_GE(answer, IDOK);
    EXPECT_LE(answer, IDNO);
  }
}

TEST(FilesInUseQuestion, OneLinePerProgram) {
  using ui::CFilesInUseDialog;
  EXPECT_EQ(CFilesInUseDialog::Lines(L"Editor, Viewer ,Player", L"Product"),
            (std::vector<std::wstring>{L"Editor", L"Viewer", L"Player"}));
  // The installer's own list, as the record handler builds it.
  EXPECT_EQ(CFilesInUseDialog::Lines(L"Notes - a.txt  ( notepad.exe ) Holder  ( holdfile.exe ) ", L"Product"),
            (std::vector<std::wstring>{L"Notes - a.txt  ( notepad.exe )", L"Holder  ( holdfile.exe )"}));
  EXPECT_EQ(CFilesInUseDialog::Lines(L"", L"Product"), (std::vector<std::wstring>{L"Product"}));
  EXPECT_EQ(CFilesInUseDialog::Lines(L" , ,", L"Product"), (std::vector<std::wstring>{L"Product"}));
}

TEST(MissingQuestionDialogs, AnswerThroughAMessageBoxWithTheSameChoices) {
  EXPECT_EQ(ui::FallbackMessageBoxStyle(L"ErrorDlg", MB_YESNO | MB_ICONWARNING),
            static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
  EXPECT_EQ(ui::FallbackMessageBoxStyle(L"FilesInUse", MB_OK) & MB_TYPEMASK, static_cast<UINT>(MB_ABORTRETRYIGNORE));
  EXPECT_EQ(ui::FallbackMessageBoxStyle(L"MessageBox_Src_Dlg", 0) & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  EXPECT_EQ(ui::FallbackMessageBoxStyle(L"WelcomeDlg", MB_OK), 0u);
  EXPECT_EQ(ui::FallbackMessageBoxStyle(L"errordlg", MB_OK), 0u);
}

TEST(MaintenanceChoice, ExactNamesSetTheExecutionType) {
  using ui::CMaintenanceTypeDlg;
  EXPECT_EQ(CMaintenanceTypeDlg::ExecutionTypeFor(L"Modify", SETUPEXECTYPE_MAINTENANCE), SETUPEXECTYPE_MODIFY);
  EXPECT_EQ(CMaintenanceTypeDlg::ExecutionTypeFor(L"Repair", SETUPEXECTYPE_MAINTENANCE), SETUPEXECTYPE_REPAIR);
  EXPECT_EQ(CMaintenanceTypeDlg::ExecutionTypeFor(L"Remove", SETUPEXECTYPE_MAINTENANCE), SETUPEXECTYPE_REMOVE);
  EXPECT_EQ(CMaintenanceTypeDlg::ExecutionTypeFor(L"repair", SETUPEXECTYPE_MAINTENANCE), SETUPEXECTYPE_MAINTENANCE);
  EXPECT_EQ(CMaintenanceTypeDlg::ExecutionTypeFor(L"", SETUPEXECTYPE_MODIFY), SETUPEXECTYPE_MODIFY);
}

TEST(UnavailableSource, TheTypedFolderEndsWithOneBackslash) {
  EXPECT_EQ(ui::CUnavailableSrcDialog::AsFolder(L"D:\\Bundle"), L"D:\\Bundle\\");
  EXPECT_EQ(ui::CUnavailableSrcDialog::AsFolder(L" D:\\Bundle\\ "), L"D:\\Bundle\\");
  EXPECT_EQ(ui::CUnavailableSrcDialog::AsFolder(L"  "), L"");
}

}  // namespace
