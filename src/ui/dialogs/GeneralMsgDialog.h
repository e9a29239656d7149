#pragma once
// A plain message of the execution side in WiX form (MessageBox_Src_Dlg): the
// text goes into the "UText1" control; the button pressed ends the dialog
// with its value. An empty text leaves the authored one.

#include <string>

#include "ui/host/SpawnDialog.h"

namespace ui {

class CGeneralMsgDialog : public CSpawnDialog {
 public:
  CGeneralMsgDialog(const CWixDialog& dialog, const DialogServices& services, int mode, std::wstring text);

 protected:
  void OnInitDialog() override;

 private:
  std::wstring text_;
};

}  // namespace ui
