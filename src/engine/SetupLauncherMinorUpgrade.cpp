#include "engine/SetupLauncherMinorUpgrade.h"

#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "config/ProductCode.h"
#include "log/Log.h"
#include "msi/InstalledProduct.h"
#include "msi/MSIManager.h"
#include "platform/StringUtil.h"

namespace {
constexpr DWORD kRecachePackage = REINSTALLMODE_PACKAGE;  // 0x400
constexpr UINT kMessageStyle = MB_ICONWARNING;
}  // namespace

bool CSetupLauncherMinorUpgrade::RunInitializer(IEventDispatcher*) {
  IProductAttributes* wixSource = record_.GetWixSourceProduct();
  if (wixSource == nullptr) {
    LogError(L"CSetupLauncherMinorUpgrade : Unable to get the 'WixSource' product from SetupConfig.xml");
    return false;
  }
  const std::wstring code = ExtractProductCode(wixSource->GetUninstallCommand());
  const UINT result = MsiReinstallProductStub(code.c_str(), kRecachePackage);
  // 1602: the captured run stopped at the package's first dialog after the
  // package was re-cached. A package without dialogs runs to its end and
  // returns 0, with the package re-cached just the same.
  if (result != ERROR_INSTALL_USEREXIT && result != ERROR_SUCCESS) {
    ShowErrorText(platform::SystemErrorText(result), kMessageStyle);
    return false;
  }
  manager_.CloseHandles();
  if (OpenPackage(GetCachedPackagePath(code)) != 0) {
    manager_.ReadHiddenProperties();
    manager_.RunCosting();
    ApplyInitializerProperties();
  }
  return true;
}
