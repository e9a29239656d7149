#include "engine/SetupExecutorBase.h"

#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "engine/IBundleRegistrar.h"
#include "engine/InstallerFactory.h"
#include "engine/MsiBusyWait.h"
#include "engine/ProductExitCodes.h"
#include "engine/RollbackExecutor.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IEventMapper.h"
#include "msi/IMSIManager.h"
#include "msi/SetupInstallerBase.h"
#include "platform/StringUtil.h"

namespace {

constexpr int kStatusNone = 0;
constexpr int kStatusError = 1;
constexpr int kStatusWarning = 2;
constexpr int kStatusInformation = 3;

// Windows Installer's key of the bundle's kept packages, removed with the bundle.
constexpr wchar_t kTempPackagesKey[] = L"TempPackages";

const std::wstring& StarLine() {
  static const std::wstring line = L"\n" + std::wstring(135, L'*');
  return line;
}

// Error beats warning beats information.
int StrongerStatus(int current, int next) {
  auto rank = [](int status) {
    switch (status) {
      case kStatusError: return 3;
      case kStatusWarning: return 2;
      case kStatusInformation: return 1;
      default: return 0;
    }
  };
  return rank(next) > rank(current) ? next : current;
}

}  // namespace

CSetupExecutorBase::CSetupExecutorBase(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : record_(record),
      dispatcher_(dispatcher),
      eventMapper_(dispatcher != nullptr ? dispatcher->GetEventMapper() : nullptr),
      installerFactory_(std::make_unique<CInstallerFactory>(record, dispatcher)) {}

CSetupExecutorBase::~CSetupExecutorBase() = default;

void CSetupExecutorBase::SetSilentConfigData(const ISilentConfigData* silentConfig) {
  installerFactory_->SetSilentConfigData(silentConfig);
}

IBundleRegistrar* CSetupExecutorBase::GetBundleRegistrar() const {
  if (registrar_ == nullptr) LogError(L"No writer for the Add/Remove Programs entry is set.");
  return registrar_;
}

void CSetupExecutorBase::MarkProductRun(IProductAttributes& product) {
  product.SetExecutionStatus(kExecutionStatusRun);
  RecordExecuted(product);
}

void CSetupExecutorBase::MarkProductFailed(IProductAttributes& product) {
  if (product.GetProductType() == kProductTypeMsi || product.GetProductType() == kProductTypeMsp) {
    product.SetExecutionStatus(kExecutionStatusFailed);
  } else {
    MarkProductRun(product);
  }
}

bool CSetupExecutorBase::IsUserExit(DWORD exitCode, int& result, int& noStatus) {
  if (exitCode != kExitUserExit) return false;
  result = kRunCancelled;
  noStatus = 0;
  return true;
}

bool CSetupExecutorBase::FailProduct(IProductAttributes& product, DWORD exitCode, int& result, int& noStatus) {
  MarkProductFailed(product);
  result = kRunFailedContinued;
  noStatus = 0;
  if (!IsStopOnFailure(product, exitCode)) return true;
  result = kRunFailedStopped;
  return false;
}

void CSetupExecutorBase::Cancel() {
  cancelled_ = true;
  if (currentInstaller_ != nullptr) currentInstaller_->Cancel();
}

void CSetupExecutorBase::SetSessionProperty(const std::wstring& name, const std::wstring& value) {
  IMSIManager* manager = dispatcher_ != nullptr ? dispatcher_->GetMSIManager() : nullptr;
  if (manager != nullptr) manager->SetProperty(name, value, false);
}

int CSetupExecutorBase::Execute() {
  if (eventMapper_ != nullptr) eventMapper_->OnRun(0);
  PrepareRun();
  IProductGroupList* groups = record_.GetProductGroupList();
  if (groups == nullptr) {
    LogDebug(L"CSetupExecutorBase::ExecuteProdcuts failed. pProductGroupList instance is NULL");
    return kRunSuccess;
  }
  int result = kRunSuccess;
  bool goOn = true;
  if (record_.GetExecutionType() == SETUPEXECTYPE_REMOVE) {
    groups->ResetReverseIteration();
  } else {
    groups->ResetIteration();
  }
  while (IProductGroup* group = groups->GetNextGroup()) {
    if (group->GetGroupKind() == kGroupKindSetupInitializer) continue;
    goOn = RunGroup(*group, result);
    if (!goOn) break;
  }
  if (result == kRunRestartNeeded) {
    if (eventMapper_ != nullptr) eventMapper_->OnRun(1);
    return result;
  }
  if (!goOn) {
    StartRollback();
  } else {
    if (RunSetupInitializerGroup(result)) RegisterBundle(result);
    if (eventMapper_ != nullptr) eventMapper_->OnRun(1);
  }
  FinishRun(result);
  return result;
}

bool CSetupExecutorBase::RunGroup(IProductGroup& group, int& result) {
  LogUserLine(StarLine());
  LogInformation(L"Execution of product group %d, %s Started", group.GetSequence(),
                 group.GetDisplayName().c_str());
  if (eventMapper_ != nullptr) eventMapper_->OnProductGroup(0, &group, 0);
  if (group.IsSkipped()) {
    if (eventMapper_ != nullptr) eventMapper_->OnProductGroup(1, &group, 0);
    LogInformation(L"The execution of the product group %s is skipped.", group.GetDisplayName().c_str());
    LogUserLine(StarLine());
    return true;
  }
  IProductList* products = group.GetProductList();
  if (products == nullptr) {
    LogInformation(L"No products configured under product group %s", group.GetDisplayName().c_str());
    return true;
  }
  if (record_.GetExecutionType() == SETUPEXECTYPE_REMOVE) {
    products->ResetReverseIteration();
  } else {
    products->ResetIteration();
  }
  bool goOn = true;
  int groupStatus = kStatusNone;
  while (IProductAttributes* product = products->GetNextProduct()) {
    // Deliberate text (the blanks around the comma and before the parenthesis): kept as written.
    LogInformation(L"Execution of product %s (Product Group Sequence:%ld ,Product Sequence:%ld ) started",
                   product->GetProductName().c_str(), static_cast<long>(group.GetSequence()),
                   static_cast<long>(product->GetSequence()));
    int status = kStatusNone;
    goOn = RunProduct(*product, result, status);
    groupStatus = StrongerStatus(groupStatus, status);
    if (!goOn) break;
  }
  if (eventMapper_ != nullptr) eventMapper_->OnProductGroup(1, &group, groupStatus);
  LogInformation(L"Execution of product group %s is completed.", group.GetDisplayName().c_str());
  LogUserLine(StarLine());
  return goOn;
}

bool CSetupExecutorBase::RunProduct(IProductAttributes& product, int& result, int& status) {
  status = kStatusNone;
  if (product.IsSkipped()) {
    LogInformation(L"The execution of the product %s is skipped.", product.GetProductName().c_str());
    return true;
  }
  if (IsAlreadyInPlace(product)) return true;
  // A cancel that came after the last product's result was handled stops the
  // run here, before anything more is started.
  if (cancelled_) {
    LogInformation(L"The execution of products is cancelled before the product %s.",
                   product.GetProductName().c_str());
    result = kRunCancelled;
    return false;
  }
  int noStatus = 1;
  if (eventMapper_ != nullptr) eventMapper_->OnProduct(0, &product, 1);
  DWORD exitCode = ExecuteProduct(product);
  if (eventMapper_ != nullptr) eventMapper_->SetProductRebootState(&product, exitCode);
  bool goOn = HandleProductResult(product, exitCode, result, noStatus);
  if (noStatus == 0) {
    int code = static_cast<int>(exitCode);
    status = product.IsWarningExitCode(code)         ? kStatusWarning
             : product.IsInformationalExitCode(code) ? kStatusInformation
                                                     : kStatusError;
    if (eventMapper_ != nullptr) eventMapper_->OnProduct(1, &product, status);
  }
  return goOn;
}

DWORD CSetupExecutorBase::ExecuteProduct(IProductAttributes& product) {
  bool rerunAfterRestart = false;
  if (product.IsExecutedBeforeReboot()) {
    DWORD earlier = static_cast<DWORD>(product.GetResultBeforeReboot());
    if (earlier != kChildSetupRebootExitCode) {
      LogInformation(L"The product %s was already executed before intermediate reboot, hence skipped.",
                     product.GetProductName().c_str());
      return earlier;
    }
    rerunAfterRestart = true;
  }
  CSetupInstallerBase* installer = installerFactory_->GetInstaller(product.GetProductType());
  currentInstaller_ = installer;
  std::wstring commandLine;
  BuildCommandLine(product, commandLine);
  if (rerunAfterRestart) commandLine += L" /RESTORE";

  DWORD exitCode = 0;
  if (!CheckForMutex(product)) {
    LogInformation(L"MSI could not grab the mutex to execute the product %s; hence the product execution is skipped.",
                   product.GetProductName().c_str());
    exitCode = kExitInstallerBusy;
  } else if (installer == nullptr) {
    LogError(L"No installer exists for the product %s of type %d", product.GetProductName().c_str(),
             product.GetProductType());
    exitCode = kExitNotStarted;
  } else {
    exitCode = installer->Execute(product, commandLine);
    LogInformation(L"Execution of product %s is completed\n\n", product.GetProductName().c_str());
  }
  CountResult(product, exitCode);
  return exitCode;
}

void CSetupExecutorBase::CountResult(IProductAttributes& product, DWORD exitCode) {
  if (exitCode == 0) return;
  int code = static_cast<int>(exitCode);
  if (product.IsRollback()) {
    if (product.IsWarningExitCode(code)) {
      ++warningCount_;
    } else if (product.IsInformationalExitCode(code)) {
      ++informationCount_;
    } else {
      ++errorCount_;
    }
  } else if (product.IsInformationalExitCode(code)) {
    ++informationCount_;
  } else {
    ++warningCount_;
  }
}

bool CSetupExecutorBase::CheckForMutex(IProductAttributes& product) {
  if (!product.IsCheckMSIMutex()) return true;
  LogDebug(L"Bootstrapper checking MSI mutex before execution of product: %s", product.GetProductName().c_str());
  CMsiBusyWait busyWait(record_, dispatcher_);
  return busyWait.Wait();
}

bool CSetupExecutorBase::RunSetupInitializerGroup(int& result) {
  if (eventMapper_ != nullptr) eventMapper_->EnableCancel(false);
  IProductGroupList* groups = record_.GetProductGroupList();
  IProductGroup* group = groups != nullptr ? groups->GetSetupInitializerGroup() : nullptr;
  bool goOn = true;
  if (group != nullptr) {
    if (warningCount_ != 0) SetSessionProperty(L"WARNINGEXITCODE", L"1");
    goOn = RunGroup(*group, result);
  }
  if (!goOn) StartRollback();
  if (record_.GetExecutionType() == SETUPEXECTYPE_REMOVE) {
    // The packages the bundle kept for its maintenance go with it.
    if (IBundleRegistrar* registrar = GetBundleRegistrar()) (void)registrar->DeleteInstallerKey(kTempPackagesKey);
  }
  return goOn;
}

void CSetupExecutorBase::RegisterBundle(int& result) {
  if (record_.IsRegisterableSetup() && !UpdateRegistry()) {
    LogError(L"Failed to update registry entry...");
    result = kRunFailedContinued;
  }
}

void CSetupExecutorBase::StartRollback() {
  LogInformation(L"Starting the rollback...");
  if (!rollbackExecutor_) {
    rollbackExecutor_ = std::make_unique<CRollbackExecutor>(record_, dispatcher_, eventMapper_, *installerFactory_,
                                                            *this, rollbackCount_);
  }
  rollbackExecutor_->Run();
}

bool CSetupExecutorBase::HandleProductReboot(IProductAttributes& product, DWORD exitCode) {
  if (product.IsExecutedBeforeReboot()) return false;
  std::wstring reboot = product.GetReboot();
  bool restart = false;
  if (platform::EqualsNoCase(reboot, L"FORCE") || exitCode == kChildSetupRebootExitCode) {
    restart = true;
  } else if (platform::EqualsNoCase(reboot, L"CONDITIONAL") && exitCode == kExitRebootRequired) {
    if (record_.IsAccumulateConditionalReboot()) {
      conditionalRebootAccumulated_ = true;
      LogInformation(L"Conditional reboot accumulate is enabled. Reboot will be done end of setup");
    } else {
      restart = true;
    }
  }
  if (restart && dispatcher_ != nullptr) {
    if (!record_.IsNested()) {
      dispatcher_->IntermediateReboot();
    } else {
      dispatcher_->RequestParentReboot();
    }
  }
  return restart;
}
