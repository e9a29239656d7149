#include "engine/RepairExecutor.h"

#include "config/IProductAttributes.h"
#include "engine/IBundleRegistrar.h"
#include "engine/ProductExitCodes.h"
#include "engine/ProductPresence.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "engine/SourceFileCheck.h"

CRepairExecutor::CRepairExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupExecutorBase(record, dispatcher) {}

bool CRepairExecutor::CheckInitialCondition(int& missing) { return CheckSourceFilesPresent(record_, missing); }

bool CRepairExecutor::UpdateRegistry() {
  IBundleRegistrar* registrar = GetBundleRegistrar();
  return registrar != nullptr && registrar->DeleteBundleEntry() && registrar->WriteBundleEntry();
}

void CRepairExecutor::BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) {
  commandLine = product.GetRepairCommand();
  // Repairing a product that is not there changes nothing and would report
  // the bundle repaired: it is installed, as an installation would.
  if (GetProductPresence(product) != ProductPresence::kAbsent) return;
  missing_.insert(&product);
  LogWarning(L"The product %s (%s) of the bundle is not installed; the repair installs it.",
             product.GetProductName().c_str(), GetPresenceProductCode(product).c_str());
  commandLine = product.GetInstallCommand();
  if (!record_.IsUIMode() && !product.GetSilentInstallCommand().empty()) {
    commandLine = product.GetSilentInstallCommand();
  }
}

bool CRepairExecutor::HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                          int& noStatus) {
  if (IsUserExit(exitCode, result, noStatus)) return false;
  if (missing_.count(&product) != 0 && GetProductPresence(product) != ProductPresence::kInstalled) {
    LogError(L"The product %s (%s) of the bundle is missing and could not be installed (exit code %lu); the bundle "
             L"is not repaired.",
             product.GetProductName().c_str(), GetPresenceProductCode(product).c_str(), exitCode);
    result = kRunFailedContinued;
    noStatus = 0;
    return true;
  }
  const int code = static_cast<int>(exitCode);
  const bool warning = product.IsWarningExitCode(code);
  const bool informational = product.IsInformationalExitCode(code);
  if (exitCode != kExitSuccess && exitCode != kExitRebootRequired && !warning && !informational) {
    result = kRunFailedContinued;
    noStatus = 0;
  }
  if ((informational && !product.IsInformationalExitCode(0)) || (warning && !product.IsWarningExitCode(0))) {
    noStatus = 0;
  }
  return true;
}
