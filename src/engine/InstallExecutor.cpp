#include "engine/InstallExecutor.h"

#include "config/IProductAttributes.h"
#include "config/IProductGroupList.h"
#include "config/ISetupConfigData.h"
#include "engine/CommonUtility.h"
#include "engine/IBundleRegistrar.h"
#include "engine/ProductExitCodes.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IMSIManager.h"

namespace {

constexpr int kExecutionStatusRun = 0;
constexpr int kExecutionStatusFailed = 2;

bool IsInstallerPackage(const IProductAttributes& product) {
  return product.GetProductType() == kProductTypeMsi || product.GetProductType() == kProductTypeMsp;
}

}  // namespace

CInstallExecutor::CInstallExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupExecutorBase(record, dispatcher) {}

bool CInstallExecutor::CheckInitialCondition(int& outOfSpace) {
  IMSIManager* manager = dispatcher_ != nullptr ? dispatcher_->GetMSIManager() : nullptr;
  std::wstring installDir = manager != nullptr ? manager->GetProperty(L"INSTALLDIR", false) : std::wstring();
  if (installDir.empty()) {
    LogError(L"Install directory is not configured correctly. Exiting the setup");
    return false;
  }
  record_.SetInstalledLocation(installDir);
  IProductGroupList* groups = record_.GetProductGroupList();
  if (groups == nullptr) {
    LogError(L"Failed to get the product group list from the config");
    return false;
  }
  int totalKilobytes = 0;
  groups->GetTotalSpaceRequired(totalKilobytes);
  ULONGLONG required = static_cast<ULONGLONG>(totalKilobytes < 0 ? 0 : totalKilobytes) * 1024;
  LogInformation(L"Installation Directory is %s", installDir.c_str());
  std::wstring drive = installDir.substr(0, 2) + L"\\";
  ULARGE_INTEGER freeToCaller = {}, totalBytes = {}, totalFree = {};
  if (!::GetDiskFreeSpaceExW(drive.c_str(), &freeToCaller, &totalBytes, &totalFree)) {
    LogError(L"Unable to get the free space of the installation directory");
    return false;
  }
  if (totalFree.QuadPart <= required) {
    LogError(L"Space is not available for the installation in the install directory %s", installDir.c_str());
    outOfSpace = 1;
    return false;
  }
  return true;
}

bool CInstallExecutor::IsStopOnFailure(IProductAttributes& product, DWORD exitCode) {
  if (!product.IsRollback()) return false;
  if (product.IsShowAbortDialog() && dispatcher_ != nullptr) {
    dispatcher_->ShowSourceMessageDialog(CCommonUtility::GetErrorMessageText(exitCode, record_.GetLanguageId()));
  }
  return true;
}

void CInstallExecutor::RecordExecuted(IProductAttributes& product) {
  if (!product.GetUninstallCommand().empty()) AddRollbackStep();
}

bool CInstallExecutor::UpdateRegistry() {
  IBundleRegistrar* registrar = GetBundleRegistrar();
  return registrar != nullptr && registrar->WriteBundleEntry();
}

void CInstallExecutor::BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) {
  commandLine = product.GetInstallCommand();
  if (!record_.IsUIMode() && !product.GetSilentInstallCommand().empty()) {
    commandLine = product.GetSilentInstallCommand();
  }
}

bool CInstallExecutor::HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                           int& noStatus) {
  const int code = static_cast<int>(exitCode);
  if (IsCancelled()) {
    result = kRunCancelled;
    product.SetExecutionStatus(IsInstallerPackage(product) && exitCode == kExitUserExit ? kExecutionStatusFailed
                                                                                        : kExecutionStatusRun);
    RecordExecuted(product);
    noStatus = exitCode == kExitSuccess ? 1 : 0;
    return false;
  }
  const bool warning = product.IsWarningExitCode(code);
  const bool informational = product.IsInformationalExitCode(code);
  if (exitCode != kExitSuccess && exitCode != kExitRebootRequired && exitCode != kChildSetupRebootExitCode &&
      !warning && !informational) {
    if (IsInstallerPackage(product)) {
      product.SetExecutionStatus(kExecutionStatusFailed);
    } else {
      product.SetExecutionStatus(kExecutionStatusRun);
      RecordExecuted(product);
    }
    result = kRunFailedContinued;
    noStatus = 0;
    if (IsStopOnFailure(product, exitCode)) {
      SetSessionProperty(L"FAILEDCOMPONENT", product.GetProductName());
      result = kRunFailedStopped;
      return false;
    }
    return true;
  }
  if ((informational && !product.IsInformationalExitCode(0)) || (warning && !product.IsWarningExitCode(0))) {
    noStatus = 0;
  }
  if (HandleProductReboot(product, exitCode)) {
    result = kRunRestartNeeded;
    return false;
  }
  product.SetExecutionStatus(kExecutionStatusRun);
  RecordExecuted(product);
  return true;
}
