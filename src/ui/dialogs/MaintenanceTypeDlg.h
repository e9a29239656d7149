#pragma once
// The maintenance choice page (MaintenanceTypeDlg, MaintenanceTypeNoModifyDlg):
// however it ends, the Windows Installer property MAINTENANCETYPE decides
// the run's execution type (Modify, Repair or Remove, exactly so spelled).

#include <string>

#include "ui/host/MSIDialog.h"

namespace ui {

class CMaintenanceTypeDlg : public CMSIDialog {
 public:
  using CMSIDialog::CMSIDialog;

  // The execution type for a MAINTENANCETYPE value; `current` for any other value.
  [[nodiscard]] static int ExecutionTypeFor(const std::wstring& maintenanceType, int current);

  void OnEndDialogEvent(int value) override;
};

}  // namespace ui
