#pragma once
// "OutOfDiskDlg": shown when the drive of INSTALLDIR has too little free
// space for the run; its volume list marks that drive.

#include "ui/host/SpawnDialog.h"

namespace ui {

class COutOfDiskDialog : public CSpawnDialog {
 public:
  COutOfDiskDialog(const CWixDialog& dialog, const DialogServices& services, int mode);

 protected:
  void OnInitDialog() override;
};

}  // namespace ui
