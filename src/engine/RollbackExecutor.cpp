#include "engine/RollbackExecutor.h"

#include <vector>

#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "engine/InstallerFactory.h"
#include "engine/ProductExitCodes.h"
#include "engine/SetupExecutorBase.h"
#include "log/Log.h"
#include "msi/IEventMapper.h"
#include "msi/SetupInstallerBase.h"

CRollbackExecutor::CRollbackExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher,
                                     IEventMapper* eventMapper, CInstallerFactory& installers,
                                     CSetupExecutorBase& executor, int rollbackCount)
    : record_(record),
      dispatcher_(dispatcher),
      eventMapper_(eventMapper),
      installers_(installers),
      executor_(executor),
      rollbackCount_(rollbackCount) {}

void CRollbackExecutor::Run() {
  const int executionType = record_.GetExecutionType();
  record_.SetExecutionType(SETUPEXECTYPE_REMOVE);
  if (eventMapper_ != nullptr) eventMapper_->OnRollback(0, rollbackCount_);
  IProductGroupList* groups = record_.GetProductGroupList();
  if (groups == nullptr) {
    LogDebug(L"StartRollback failed. pProductGroupList instance is NULL");
    record_.SetExecutionType(executionType);
    return;
  }
  groups->ResetReverseIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    std::vector<IProductAttributes*> toUndo;
    if (IProductList* products = group->GetProductList()) {
      products->ResetReverseIteration();
      while (IProductAttributes* product = products->GetNextProduct()) {
        int status = product->GetExecutionStatus();
        if (product->IsSkipped() || status == kExecutionStatusNotRun || status == kExecutionStatusFailed) continue;
        if (product->GetUninstallCommand().empty()) continue;
        toUndo.push_back(product);
      }
    } else {
      LogInformation(L"No products configured under product group %s", group->GetDisplayName().c_str());
    }
    if (toUndo.empty()) {
      if (eventMapper_ != nullptr) eventMapper_->OnRollbackGroup(1, group, 0);
      continue;
    }
    if (eventMapper_ != nullptr) eventMapper_->OnRollbackGroup(0, group, 1);
    bool anyFailed = false;
    for (IProductAttributes* product : toUndo) {
      if (eventMapper_ != nullptr) eventMapper_->OnRollbackProduct(0, product, 1);
      CSetupInstallerBase* installer = installers_.GetInstaller(product->GetProductType());
      DWORD result = kExitNotStarted;
      if (!executor_.CheckForMutex(*product)) {
        result = kExitInstallerBusy;
      } else if (installer != nullptr) {
        result = installer->Execute(*product, product->GetUninstallCommand());
      }
      LogInformation(L"Rollback of the product %s ended with %d", product->GetProductName().c_str(),
                     static_cast<int>(result));
      if (result != 0) anyFailed = true;
      if (eventMapper_ != nullptr) eventMapper_->OnRollbackProduct(1, product, result != 0 ? 1 : 0);
    }
    if (eventMapper_ != nullptr) eventMapper_->OnRollbackGroup(1, group, anyFailed ? 1 : 0);
  }
  if (eventMapper_ != nullptr) eventMapper_->OnRollback(1, rollbackCount_);
  record_.SetExecutionType(executionType);
}
