#pragma once
// The question the installation asks in WiX form (ErrorDlg): the message goes
// into the "ErrorText" control, "ErrorIcon" shows the package's warning or
// information icon, only the buttons of the message-box style's set stay,
// side by side in one row, and the button pressed ends the dialog with the
// Windows dialog result (1 to 7).

#include <string>
#include <vector>

#include "ui/host/SpawnDialog.h"

namespace ui {

class CErrorDialog : public CSpawnDialog {
 public:
  CErrorDialog(const CWixDialog& dialog, const DialogServices& services, int mode, std::wstring text, UINT style);

  // The WiX button ids ("O", "C", "A", "R", "I", "Y", "N") of a style's set, in order.
  [[nodiscard]] static std::wstring ButtonSet(UINT style);
  // What Escape or the close box answers for a style: the set's way out.
  [[nodiscard]] static int EscapeAnswer(UINT style);
  // Left edges of buttons of these widths put in one row, centred in a
  // client area `clientWidth` wide, `gap` apart.
  [[nodiscard]] static std::vector<int> RowLefts(const std::vector<int>& widths, int clientWidth, int gap);

 protected:
  void OnInitDialog() override;
  void OnCancel() override;

 private:
  void ShowIcon();
  void ShowOnlyButtonsOfSet();

  std::wstring text_;
  UINT style_;
};

}  // namespace ui
