#include "engine/SetupLauncherMaintenance.h"

#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "config/ProductCode.h"
#include "log/Log.h"
#include "msi/InstalledProduct.h"
#include "msi/MSIManager.h"

std::wstring CSetupLauncherMaintenance::MaintenanceLocation(const std::wstring& productCode,
                                                            const std::wstring& location,
                                                            const wchar_t* launcherName) {
  if (record_.GetWixSourceProduct() == nullptr) {
    LogError(L"%s : Unable to get the 'WixSource' product from SetupConfig.xml", launcherName);
    return {};
  }
  if (record_.IsLaunchedFromARP()) return GetCachedPackagePath(productCode);
  return JoinToFolder(record_.GetSetupFolder(), location);
}

std::wstring CSetupLauncherMaintenance::GetPackageLocation() {
  IProductAttributes* wixSource = record_.GetWixSourceProduct();
  return MaintenanceLocation(wixSource != nullptr ? ExtractProductCode(wixSource->GetUninstallCommand()) : L"",
                             wixSource != nullptr ? wixSource->GetLocation() : L"", L"CSetupLauncherMaintenance");
}

std::wstring CSetupLauncherMaintenance::GetMainProductLocation() {
  return MaintenanceLocation(ExtractProductCode(record_.GetMainProductUninstallCommand()),
                             record_.GetMainProductLocation(), L"CSetupLauncherMaintenance");
}

void CSetupLauncherMaintenance::ApplySpecificProperties() {
  manager_.SetProperty(L"INSTALLDIR", record_.GetInstalledLocation(), false);
  if (record_.IsUIMode()) return;
  if (record_.GetExecutionType() == SETUPEXECTYPE_REPAIR) {
    manager_.SetProperty(L"REINSTALL", L"ALL", false);
    manager_.SetProperty(L"REINSTALLMODE", L"pecms", false);
  } else if (record_.GetExecutionType() == SETUPEXECTYPE_REMOVE) {
    manager_.SetProperty(L"REMOVE", L"ALL", false);
  }
}
