#pragma once
// The restart question ("Restart_Main_Dlg" at the end of a run,
// "Restart_Intermediate_Dlg" in the middle of one). Ending with Exit (15)
// restarts now; Return (14), Cancel or the close box restart later, which
// leaves a marker that a restart is still due.

#include <functional>

#include "ui/host/SpawnDialog.h"

namespace ui {

class CRestartDialog : public CSpawnDialog {
 public:
  // `requestRestart` tells the application to restart the machine at the end.
  CRestartDialog(const CWixDialog& dialog, const DialogServices& services, int mode,
                 std::function<void()> requestRestart);

  void OnEndDialogEvent(int value) override;

 protected:
  void OnCancel() override { OnEndDialogEvent(IDCANCEL); }

 private:
  std::function<void()> requestRestart_;
};

}  // namespace ui
