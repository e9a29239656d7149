#include "app/ExecutionType.h"

#include "app/CommandLineParser.h"
#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/InstalledProduct.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "registry/ArpEntry.h"

namespace {

// Windows Installer reports a package code in its braced form, while the
// registry data (and older installers) use the packed form: compare packed.
std::wstring PackedUpper(const std::wstring& code) {
  std::wstring packed = code.find(L'-') != std::wstring::npos ? PackCode(code) : code;
  return platform::ToUpper(packed);
}

// Only a bundle that registers itself tells by its entry whether an earlier
// run completed.
bool RegistersItself(ISetupConfigData& record) {
  return record.IsRegisterableSetup() && !platform::Trim(record.GetBootstrapperRegistry()).empty();
}

// The interrupted states, told apart by the main product and the bundle's
// entry: an installation that stopped before the entry was written, and a
// removal that stopped after the main product was gone. Returns the system
// type with them taken into account.
int CompleteInterruptedRun(ISetupConfigData& record, const CCommandLineParser& parser, int systemType) {
  if (parser.IsRestore() || !RegistersItself(record)) return systemType;
  const bool silent = parser.IsSilentMode() != 0;
  const int requested = parser.GetRequestedExecutionType();
  const std::wstring key = platform::Trim(record.GetBootstrapperRegistry());
  const bool installing = !silent || requested == SETUPEXECTYPE_INSTALLATION;
  if (systemType == SETUPEXECTYPE_MAINTENANCE && installing && !CArpEntry().IsBundleEntryPresent(key)) {
    LogInformation(L"The earlier installation of the bundle was not completed: the main product is installed, but "
                   L"the Add/Remove Programs entry %s is missing. The installation is completed now.",
                   key.c_str());
    return SETUPEXECTYPE_INSTALLATION;
  }
  if (systemType == SETUPEXECTYPE_INSTALLATION && silent && requested == SETUPEXECTYPE_REMOVE &&
      CArpEntry().IsBundleEntryPresent(key)) {
    LogInformation(L"The earlier removal of the bundle was not completed: the Add/Remove Programs entry %s is still "
                   L"there, but the main product is not installed. The removal is completed now.",
                   key.c_str());
    return SETUPEXECTYPE_MAINTENANCE;
  }
  return systemType;
}

}  // namespace

DWORD SilentMismatchExitCode(int requestedType, int systemType) {
  // Nothing to do is not a failure: the bundle is already as asked.
  if (requestedType == SETUPEXECTYPE_INSTALLATION && systemType == SETUPEXECTYPE_MAINTENANCE) return ERROR_SUCCESS;
  if (requestedType == SETUPEXECTYPE_REMOVE && systemType == SETUPEXECTYPE_INSTALLATION) return ERROR_SUCCESS;
  if (requestedType == SETUPEXECTYPE_REPAIR && systemType == SETUPEXECTYPE_INSTALLATION) return ERROR_UNKNOWN_PRODUCT;
  return ERROR_INSTALL_FAILURE;
}

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
                            const std::function<void()>& onSilentMismatch, DWORD* stopExitCode) {
  if (stopExitCode != nullptr) *stopExitCode = ERROR_INSTALL_FAILURE;
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
    type = CompleteInterruptedRun(record, parser, type);
    std::wstring mismatch;
    const int systemType = type;
    type = DecideSilentExecutionType(parser.GetRequestedExecutionType(), systemType, mismatch);
    if (!mismatch.empty()) {
      LogError(mismatch);
      if (stopExitCode != nullptr) {
        *stopExitCode = SilentMismatchExitCode(parser.GetRequestedExecutionType(), systemType);
      }
      // The failure window names what the administrator asked for (the
      // installation of /si, the removal of /sx), not a run kind never set;
      // the refused run itself keeps no run kind.
      if (onSilentMismatch) {
        const int decided = record.GetExecutionType();
        record.SetExecutionType(parser.GetRequestedExecutionType());
        onSilentMismatch();
        record.SetExecutionType(decided);
      }
    }
  } else {
    type = CompleteInterruptedRun(record, parser, type);
  }
  if (type == SETUPEXECTYPE_NOTSET) {
    LogDebug(std::wstring(L"Execution type not set!"));
    return false;
  }
  record.SetExecutionType(type);
  LogInformation(L"Based on system configuration the execution type set is: %s", GetExecutionTypeName(type).c_str());
  return true;
}
