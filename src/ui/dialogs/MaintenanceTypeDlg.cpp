#include "ui/dialogs/MaintenanceTypeDlg.h"

#include "config/ExecutionType.h"
#include "config/ISetupConfigData.h"
#include "msi/IEventDispatcher.h"
#include "msi/IMSIManager.h"

namespace ui {

int CMaintenanceTypeDlg::ExecutionTypeFor(const std::wstring& maintenanceType, int current) {
  if (maintenanceType == L"Modify") return SETUPEXECTYPE_MODIFY;
  if (maintenanceType == L"Repair") return SETUPEXECTYPE_REPAIR;
  if (maintenanceType == L"Remove") return SETUPEXECTYPE_REMOVE;
  return current;
}

void CMaintenanceTypeDlg::OnEndDialogEvent(int value) {
  IMSIManager* msi = services_.dispatcher != nullptr ? services_.dispatcher->GetMSIManager() : nullptr;
  if (msi != nullptr && services_.record != nullptr) {
    const int current = services_.record->GetExecutionType();
    const int chosen = ExecutionTypeFor(msi->GetProperty(L"MAINTENANCETYPE", false), current);
    if (chosen != current) services_.record->SetExecutionType(chosen);
  }
  CMSIDialog::OnEndDialogEvent(value);
}

}  // namespace ui
