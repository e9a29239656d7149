#include "ui/dialogs/BrandDialog.h"

#include "config/IBrandDetailsList.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IMSIManager.h"
#include "ui/host/WizardController.h"

namespace ui {

void CBrandDialog::OnEndDialogEvent(int value) {
  if (value != kEndReturn) {
    CSpawnDialog::OnEndDialogEvent(value);
    return;
  }
  CSpawnDialog::OnEndDialogEvent(1);
  ApplyBrand();
}

void CBrandDialog::ApplyBrand() {
  IMSIManager* msi = services_.dispatcher != nullptr ? services_.dispatcher->GetMSIManager() : nullptr;
  if (msi == nullptr || services_.record == nullptr) {
    LogError(L"Unable to set the brand related information");
    LogDebug(L"unable to get the MsiManager instance");
    return;
  }
  const std::wstring brand = msi->GetProperty(L"BRAND", false);
  if (brand.empty()) return;
  services_.record->SetBrand(brand);
  if (IBrandDetailsList* brands = services_.record->GetBrandDetailsList()) {
    const std::wstring name = brands->GetBrandName(brand);
    if (!name.empty()) services_.record->SetProductName(name);
  }
  // Deliberate text (the trailing blank): kept as written.
  LogInformation(L"Brand is set to %s ", brand.c_str());
}

}  // namespace ui
