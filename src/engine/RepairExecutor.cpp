#include "engine/RepairExecutor.h"

#include "config/IProductAttributes.h"
#include "engine/IBundleRegistrar.h"
#include "engine/ProductExitCodes.h"
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
}

bool CRepairExecutor::HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                          int& noStatus) {
  if (IsUserExit(exitCode, result, noStatus)) return false;
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
