#include "engine/RemoveExecutor.h"

#include "config/IProductAttributes.h"
#include "engine/IBundleRegistrar.h"
#include "engine/ProductExitCodes.h"
#include "log/Log.h"

CRemoveExecutor::CRemoveExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupExecutorBase(record, dispatcher) {}

bool CRemoveExecutor::UpdateRegistry() {
  IBundleRegistrar* registrar = GetBundleRegistrar();
  return registrar != nullptr && registrar->RemoveBundleEntry();
}

void CRemoveExecutor::BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) {
  commandLine = product.GetUninstallCommand();
}

bool CRemoveExecutor::HandleProductResult(IProductAttributes&, DWORD exitCode, int& result, int& noStatus) {
  if (exitCode == kExitUserExit) {
    result = kRunCancelled;
    noStatus = 0;
    return false;
  }
  if (exitCode != kExitSuccess && exitCode != kExitRebootRequired) {
    result = kRunFailedContinued;
    noStatus = 0;
  }
  return true;
}
