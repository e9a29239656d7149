#include "app/ExecutionType.h"

#include "app/CommandLineParser.h"
#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/InstalledProduct.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"

namespace {

// Windows Installer reports a package code in its braced form, while the
// registry data (and older installers) use the packed form: compare packed.
std::wstring PackedUpper(const std::wstring& code) {
  std::wstring packed = code.find(L'-') != std::wstring::npos ? PackCode(code) : code;
  return platform::ToUpper(packed);
}

}  // namespace

std::wstring GetExecutionTypeName(int type) {
  switch (type) {
    case SETUPEXECTYPE_INSTALLATION: return L"SETUPEXECTYPE_INSTALLATION";
    case SETUPEXECTYPE_MAINTENANCE: return L"SETUPEXECTYPE_MAINTENANCE";
    case SETUPEXECTYPE_MODIFY: return L"SETUPEXECTYPE_MODIFY";
    case SETUPEXECTYPE_REPAIR: return L"SETUPEXECTYPE_REPAIR";
    case SETUPEXECTYPE_REMOVE: return L"SETUPEXECTYPE_REMOVE";
    case SETUPEXECTYPE_PATCH: return L"SETUPEXECTYPE_PATCH";
    case SETUPEXECTYPE_MAJORUPGRADE: return L"SETUPEXECTYPE_MAJORUPGRADE";
    case SETUPEXECTYPE_MINORUPGRADE: return L"SETUPEXECTYPE_MINORUPGRADE";
    default: return {};
  }
}

std::wstring GetWixSourceProductCode(ISetupConfigData& record) {
  IProductAttributes* product = record.GetWixSourceProduct();
  return product != nullptr ? ExtractProductCode(product->GetUninstallCommand()) : std::wstring();
}

int IdentifySystemExecutionType(ISetupConfigData& record) {
  IProductAttributes* product = record.GetWixSourceProduct();
  if (product != nullptr && product->GetProductType() == kProductTypeMsp) return SETUPEXECTYPE_PATCH;

  LoadMsiLibrary();
  std::wstring productCode = GetWixSourceProductCode(record);
  std::wstring value;
  if (GetProductInfoText(productCode, L"InstalledProductName", value) == ERROR_UNKNOWN_PRODUCT) {
    return SETUPEXECTYPE_INSTALLATION;
  }
  std::wstring packageCode;
  UINT result = GetProductInfoText(productCode, L"PackageCode", packageCode);
  if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) {
    LogWarning(L"GetProductInfo failed...");
    return SETUPEXECTYPE_MAINTENANCE;
  }
  std::wstring ours = product != nullptr ? PackedUpper(product->GetId()) : std::wstring();
  if (!ours.empty() && ours != PackedUpper(packageCode)) return SETUPEXECTYPE_MINORUPGRADE;
  return SETUPEXECTYPE_MAINTENANCE;
}

int DecideSilentExecutionType(int requestedType, int systemType, std::wstring& mismatchMessage) {
  mismatchMessage.clear();
  switch (requestedType) {
    case SETUPEXECTYPE_INSTALLATION:
      if (systemType == SETUPEXECTYPE_INSTALLATION || systemType == SETUPEXECTYPE_PATCH ||
          systemType == SETUPEXECTYPE_MINORUPGRADE) {
        return systemType;
      }
      mismatchMessage =
          L"The system configuration and the command line execution option does not match. Installation cannot "
          L"progress, the setup is aborted.";
      return SETUPEXECTYPE_NOTSET;
    case SETUPEXECTYPE_REPAIR:
      if (systemType == SETUPEXECTYPE_MAINTENANCE) return SETUPEXECTYPE_REPAIR;
      mismatchMessage =
          L"The system configuration and the command line execution option does not match. The product may not "
          L"have been installed. Repair cannot progress, the setup is aborted.";
      return SETUPEXECTYPE_NOTSET;
    case SETUPEXECTYPE_REMOVE:
      if (systemType == SETUPEXECTYPE_MAINTENANCE) return SETUPEXECTYPE_REMOVE;
      mismatchMessage =
          L"The system configuration and the command line execution option does not match. The product may not "
          L"have been installed.Remove cannot progress, the setup is aborted.";
      return SETUPEXECTYPE_NOTSET;
    default:
      return systemType;
  }
}

bool DetermineExecutionType(ISetupConfigData& record, const CCommandLineParser& parser,
                            const std::function<void()>& onSilentMismatch) {
  int type = IdentifySystemExecutionType(record);
  const bool installing = !parser.IsSilentMode() || parser.GetRequestedExecutionType() == SETUPEXECTYPE_INSTALLATION;
  if (parser.IsRestore() && installing && type == SETUPEXECTYPE_MAINTENANCE) {
    // The main product may have been installed before the intermediate
    // restart: the resumed run still finishes that installation.
    LogInformation(L"The setup resumes an installation after intermediate reboot; the main product is already "
                   L"installed.");
    type = SETUPEXECTYPE_INSTALLATION;
  }
  if (parser.IsSilentMode()) {
    // Without the WiX-source product, or without its product code, nothing can
    // tell whether the bundle is installed: a silent run says what the
    // configuration lacks instead of reporting a mismatch with its option.
    IProductAttributes* wixSource = record.GetWixSourceProduct();
    if (wixSource == nullptr) {
      LogError(L"SetupConfig.xml names no main product with WixSource=\"true\"; the setup cannot run.");
      if (onSilentMismatch) onSilentMismatch();
      return false;
    }
    if (wixSource->GetProductType() != kProductTypeMsp && GetWixSourceProductCode(record).empty()) {
      LogError(L"The UninstallCommand of the main product %s in SetupConfig.xml holds no product code in braces; the "
               L"setup cannot tell whether it is installed.",
               wixSource->GetProductName().c_str());
      if (onSilentMismatch) onSilentMismatch();
      return false;
    }
    LogInformation(L"The system identified execution type is %d", type);
    std::wstring mismatch;
    type = DecideSilentExecutionType(parser.GetRequestedExecutionType(), type, mismatch);
    if (!mismatch.empty()) {
      LogError(mismatch);
      if (onSilentMismatch) onSilentMismatch();
    }
  }
  if (type == SETUPEXECTYPE_NOTSET) {
    LogDebug(std::wstring(L"Execution type not set!"));
    return false;
  }
  record.SetExecutionType(type);
  LogInformation(L"Based on system configuration the execution type set is: %s", GetExecutionTypeName(type).c_str());
  return true;
}
