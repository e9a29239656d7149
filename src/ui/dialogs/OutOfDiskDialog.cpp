#include "ui/dialogs/OutOfDiskDialog.h"

#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "ui/controls/VolumeCostList_BT.h"
#include "wix/WixDialog.h"

namespace ui {

COutOfDiskDialog::COutOfDiskDialog(const CWixDialog& dialog, const DialogServices& services, int mode)
    : CSpawnDialog(dialog, services, mode) {}

void COutOfDiskDialog::OnInitDialog() {
  CSpawnDialog::OnInitDialog();
  const std::wstring installDir = context_.msi != nullptr ? context_.msi->GetProperty(L"INSTALLDIR", false)
                                                           : std::wstring();
  const std::wstring drive = installDir.substr(0, 2);
  LogDebug(L"The disk %s does not have sufficient memory", drive.c_str());
  for (const auto& control : dialog_.GetControls()) {
    if (control->GetType() != kWixVolumeCostList) continue;
    if (auto* list = dynamic_cast<CVolumeCostList_BT*>(FindControl(control->GetId()))) list->MarkInsufficientDrive(drive);
  }
}

}  // namespace ui
