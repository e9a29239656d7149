#include "engine/ModifyExecutor.h"

#include "config/IProductAttributes.h"
#include "engine/IBundleRegistrar.h"
#include "engine/ProductExitCodes.h"
#include "engine/SourceFileCheck.h"

CModifyExecutor::CModifyExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupExecutorBase(record, dispatcher) {}

bool CModifyExecutor::CheckInitialCondition(int& missing) { return CheckSourceFilesPresent(record_, missing); }

bool CModifyExecutor::IsStopOnFailure(IProductAttributes& product, DWORD) { return product.IsRollback(); }

void CModifyExecutor::RecordExecuted(IProductAttributes& product) {
  if (!product.GetUninstallCommand().empty()) AddRollbackStep();
}

bool CModifyExecutor::UpdateRegistry() {
  IBundleRegistrar* registrar = GetBundleRegistrar();
  return registrar != nullptr && registrar->UpdateBundleSize();
}

void CModifyExecutor::BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) {
  commandLine = product.GetInstallCommand();
}

bool CModifyExecutor::HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                          int& noStatus) {
  if (IsUserExit(exitCode, result, noStatus)) return false;
  if (exitCode != kExitSuccess && exitCode != kExitRebootRequired) {
    return FailProduct(product, exitCode, result, noStatus);
  }
  // Marked, so a later failure with rollback undoes it.
  MarkProductRun(product);
  return true;
}
