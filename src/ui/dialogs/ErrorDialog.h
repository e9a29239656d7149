#pragma once
// The question the installation asks (ErrorDlg, FilesInUse, MessageBox_Src_Dlg):
// the message goes into the dialog's text control, only the buttons of the
// message-box style's set stay, moved together to the right, and the button
// pressed ends the dialog with the Windows dialog result.

#include "ui/host/SpawnDialog.h"

namespace ui {

class CErrorDialog : public CSpawnDialog {
 public:
  CErrorDialog(const CWixDialog& dialog, const DialogServices& services, int mode, std::wstring text, UINT style);

  // The WiX button ids ("O", "C", "A", "R", "I", "Y", "N") of a style's set, in order.
  [[nodiscard]] static std::wstring ButtonSet(UINT style);

 protected:
  void OnInitDialog() override;

 private:
  void ShowOnlyButtonsOfSet();

  std::wstring text_;
  UINT style_;
};

}  // namespace ui
