#include "engine/RemoveExecutor.h"

#include "config/IProductAttributes.h"
#include "engine/IBundleRegistrar.h"
#include "engine/ProductExitCodes.h"
#include "log/Log.h"

CRemoveExecutor::CRemoveExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupExecutorBase(record, dispatcher) {}

bool CRemoveExecutor::UpdateRegistry() {
  if (registrar_ == nullptr) {
    LogError(L"No writer for the Add/Remove Programs entry is set; the bundle's entry is not removed.");
    return false;
  }
  return registrar_->RemoveBundleEntry();
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
