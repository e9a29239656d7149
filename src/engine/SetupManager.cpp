#include "engine/SetupManager.h"

#include <set>

#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "config/ProductWalk.h"
#include "engine/ArpBundleRegistrar.h"
#include "engine/MinorUpgradeExecutor.h"
#include "engine/ModifyExecutor.h"
#include "engine/PatchExecutor.h"
#include "engine/ProductExitCodes.h"
#include "engine/RebootManager.h"
#include "engine/RemoveExecutor.h"
#include "engine/RepairExecutor.h"
#include "engine/SetupLauncherInstall.h"
#include "engine/SetupLauncherMaintenance.h"
#include "engine/SetupLauncherMinorUpgrade.h"
#include "engine/SetupLauncherPatch.h"
#include "log/Log.h"
#include "msi/ISetupLauncher.h"
#include "msi/MSIManager.h"

CSetupManager::CSetupManager(ISetupConfigData& record, bool silent, SetupStartData start, Hooks hooks)
    : record_(record), silent_(silent), start_(std::move(start)), hooks_(std::move(hooks)) {
  msiManager_ = std::make_unique<CMSIManager>(record_, silent_);
  msiManager_->SetLauncher(CreateLauncher(record_, *msiManager_, start_, hooks_));
  rebootManager_ = std::make_unique<CRebootManager>();
  registrar_ = std::make_unique<CArpBundleRegistrar>(record_);
}

CSetupManager::~CSetupManager() {
  msiManager_.reset();
  executor_.reset();
  rebootManager_.reset();
}

void CSetupManager::SetBundleRegistrar(std::unique_ptr<IBundleRegistrar> registrar) {
  registrar_ = std::move(registrar);
  if (executor_) executor_->SetBundleRegistrar(registrar_.get());
}

std::unique_ptr<ISetupLauncher> CSetupManager::CreateLauncher(ISetupConfigData& record, CMSIManager& manager,
                                                              const SetupStartData& start, const Hooks& hooks) {
  switch (record.GetExecutionType()) {
    case SETUPEXECTYPE_INSTALLATION:
      if (record.IsRestoreMode()) {
        return std::make_unique<CSetupLauncherReboot>(record, manager, start, hooks.restoreRunState);
      }
      return std::make_unique<CSetupLauncherInstall>(record, manager, start);
    case SETUPEXECTYPE_MAINTENANCE:
    case SETUPEXECTYPE_REPAIR:
    case SETUPEXECTYPE_REMOVE:
      return std::make_unique<CSetupLauncherMaintenance>(record, manager, start);
    case SETUPEXECTYPE_PATCH:
      return std::make_unique<CSetupLauncherPatch>(record, manager, start);
    case SETUPEXECTYPE_MINORUPGRADE:
      return std::make_unique<CSetupLauncherMinorUpgrade>(record, manager, start);
    default:
      return nullptr;
  }
}

std::unique_ptr<CSetupExecutorBase> CSetupManager::CreateExecutor(int executionType) {
  std::unique_ptr<CSetupExecutorBase> executor;
  CInstallExecutor* install = nullptr;
  switch (executionType) {
    case SETUPEXECTYPE_INSTALLATION: {
      auto created = std::make_unique<CInstallExecutor>(record_, dispatcher_);
      install = created.get();
      executor = std::move(created);
      break;
    }
    case SETUPEXECTYPE_MINORUPGRADE: {
      auto created = std::make_unique<CMinorUpgradeExecutor>(record_, dispatcher_);
      install = created.get();
      executor = std::move(created);
      break;
    }
    case SETUPEXECTYPE_PATCH: {
      auto created = std::make_unique<CPatchExecutor>(record_, dispatcher_);
      install = created.get();
      executor = std::move(created);
      break;
    }
    case SETUPEXECTYPE_MODIFY:
      executor = std::make_unique<CModifyExecutor>(record_, dispatcher_);
      break;
    case SETUPEXECTYPE_REPAIR:
      executor = std::make_unique<CRepairExecutor>(record_, dispatcher_);
      break;
    case SETUPEXECTYPE_REMOVE:
      executor = std::make_unique<CRemoveExecutor>(record_, dispatcher_);
      break;
    default:
      return nullptr;
  }
  if (install != nullptr) {
    if (hooks_.freeSpaceQuery) install->SetFreeSpaceQuery(hooks_.freeSpaceQuery);
    if (hooks_.featureDriveCost) install->SetFeatureDriveCost(hooks_.featureDriveCost);
  }
  executor->SetBundleRegistrar(registrar_.get());
  executor->SetSilentConfigData(start_.silentConfig);
  return executor;
}

int CSetupManager::LaunchInitializer(IEventDispatcher* dispatcher) {
  dispatcher_ = dispatcher;
  if (!msiManager_->LaunchInitializer(dispatcher)) {
    LogError(L"Error in lauching the Initializer. Exiting the setup..");
    return 0;
  }
  return 1;
}

int CSetupManager::PrepareExecution(int& blocked) {
  if (hooks_.updateProductProperties) hooks_.updateProductProperties();
  // What the launcher takes from the product list is known only now.
  if (ISetupLauncher* launcher = msiManager_->GetLauncher()) launcher->PrepareRun();
  // In a resumed run the products that ran before the restart keep their
  // results and are not run again.
  rebootManager_->ApplyToProducts(record_);
  record_.SetMajorUpgradeValue(msiManager_->GetProperty(L"MAJORUPGRADE", false));
  if (!executor_) executor_ = CreateExecutor(record_.GetExecutionType());
  if (!executor_) {
    LogError(L"Unable to get the executor");
    return 0;
  }
  return executor_->CheckInitialCondition(blocked) ? 1 : 0;
}

int CSetupManager::Execute(int executionType) {
  record_.SetInstallProperties(msiManager_->GetPropertyString());
  if (record_.GetSelectedFeatures().empty() && dispatcher_ != nullptr && hooks_.computeDefaultFeatureSelection) {
    hooks_.computeDefaultFeatureSelection();
  }
  msiManager_->CloseHandles();
  if (!executor_) executor_ = CreateExecutor(executionType);
  if (!executor_) return 3;
  const int result = executor_->Execute();
  LogResult(executionType, result);
  LogSummary();
  exitCode_ = result;
  LogInformation(L"The setup exit code is %d", result);
  if (hooks_.onExitCode) hooks_.onExitCode(result);
  return result;
}

// Deliberate texts ("!!", "The remove of", "The Minor upgrade"): kept as written.
void CSetupManager::LogResult(int executionType, int result) const {
  switch (result) {
    case kRunFailedStopped:
    case kRunFailedContinued:
      LogError(L"Setup installation failed. Some of the configured product has failed while installation!!");
      return;
    case kRunCancelled:
      LogInformation(L"The execution of products is terminated by user intervention!!");
      return;
    case kRunRestartNeeded:
      LogInformation(L"Setup execution needs a reboot in between to continue with the execution!!");
      return;
    default:
      break;
  }
  switch (executionType) {
    case SETUPEXECTYPE_INSTALLATION:
      LogInformation(L"The installation of the setup has been completed successfully!!");
      break;
    case SETUPEXECTYPE_MODIFY:
      LogInformation(L"The modify of the setup has been completed successfully!!");
      break;
    case SETUPEXECTYPE_REPAIR:
      LogInformation(L"The repair of the setup has been completed successfully!!");
      break;
    case SETUPEXECTYPE_REMOVE:
      LogInformation(L"The remove of the setup has been completed successfully!!");
      break;
    case SETUPEXECTYPE_MINORUPGRADE:
      LogInformation(L"The Minor upgrade of the setup has been completed successfully!!");
      break;
    default:
      break;
  }
}

void CSetupManager::LogSummary() const {
  const int errors = executor_->GetErrorCount();
  const int warnings = executor_->GetWarningCount();
  const int informations = executor_->GetInformationCount();
  // Deliberate text ("Informations", the blank before the first comma in the last two): kept as written.
  if (errors > 0) {
    LogError(L"Setup ended with (%d) Errors, (%d) Warnings and (%d) Informations", errors, warnings, informations);
  } else if (warnings > 0) {
    LogWarning(L"Setup ended with (%d) Errors , (%d) Warnings and (%d) Informations", errors, warnings,
               informations);
  } else {
    LogInformation(L"Setup ended with (%d) Errors , (%d) Warnings and (%d) Informations", errors, warnings,
                   informations);
  }
}

void CSetupManager::Cancel() {
  if (executor_) executor_->Cancel();
}

bool CSetupManager::IsRebootRequired() {
  const std::wstring letters = record_.GetRebootInstallMode();
  bool allowed = true;
  if (!letters.empty()) {
    switch (record_.GetExecutionType()) {
      case SETUPEXECTYPE_INSTALLATION: allowed = letters.find(L'I') != std::wstring::npos; break;
      case SETUPEXECTYPE_MODIFY: allowed = letters.find(L'M') != std::wstring::npos; break;
      case SETUPEXECTYPE_REPAIR: allowed = letters.find(L'R') != std::wstring::npos; break;
      case SETUPEXECTYPE_REMOVE: allowed = letters.find(L'U') != std::wstring::npos; break;
      default: break;
    }
  }
  if (executor_ && executor_->IsConditionalRebootAccumulated()) {
    LogInformation(L"Reboot is set by conditional reboot accumulation.");
    return true;
  }
  if (!allowed || !record_.IsRebootEnabled()) return false;
  // The products skipped in a resumed run carry the results from before the
  // intermediate restart: the restart they asked for has happened. A nested
  // setup that was run again has a result of this run.
  std::set<std::wstring> restartDone;
  (void)ForEachProduct(record_.GetProductGroupList(), [&restartDone](IProductGroup&, IProductAttributes& product) {
    if (product.IsExecutedBeforeReboot() &&
        static_cast<DWORD>(product.GetResultBeforeReboot()) != kChildSetupRebootExitCode) {
      restartDone.insert(product.GetKey());
    }
    return true;
  });
  // A product asked for a restart when it ended with 3010 or handed its restart to this setup.
  for (const auto& [key, code] : rebootManager_->GetProductResults()) {
    if (restartDone.count(key) != 0) continue;
    if (code == kExitRebootRequired || code == kChildSetupRebootExitCode) return true;
  }
  return false;
}
