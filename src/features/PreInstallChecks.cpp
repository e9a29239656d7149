#include "features/PreInstallChecks.h"

#include <windows.h>

#include <vector>

#include "config/ExecutionType.h"
#include "config/IPreconditionProcessCheckData.h"
#include "config/IPreconditionProcessCheckList.h"
#include "config/ISetupConfigData.h"
#include "engine/CommonUtility.h"
#include "features/ProductChecks.h"
#include "features/WindowsInstallerUpdate.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/ProcessSnapshot.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "registry/RegistryUtil.h"

bool CPreInstallChecks::IsCheckProcessDlgToBeShown(ISetupConfigData& record, IMSIManager* msiManager,
                                                   const std::wstring& condition) {
  if (msiManager == nullptr) {
    LogError(L"CPreInstallConditionEvaluator::IsCheckProcessDlgToBeShown - IMSIManager instance is NULL.");
    return false;
  }
  if (!condition.empty() && !msiManager->EvaluateCondition(condition)) return false;

  IPreconditionProcessCheckList* checks = record.GetPreconditionProcessCheckList();
  if (checks == nullptr || checks->GetCount() == 0) return false;
  std::wstring processes;
  checks->ResetIteration();
  while (IPreconditionProcessCheckData* check = checks->GetNextCheck()) {
    if (!CheckProductCondition(*msiManager, check->GetCondition())) continue;
    if (!processes.empty() && processes.back() != L';') processes += L";";
    processes += check->GetList();
  }
  if (processes.empty()) return false;

  record.SetRunningProcessesText(processes);
  const std::wstring running = GetRunningProcesses(processes);
  if (running.empty()) return false;
  LogWarning(L"The following processes \n%s are still running, which may not enable you to proceed with the setup !",
             running.c_str());
  msiManager->SetProperty(L"RUNNING_PROCESSES", running, false);
  return true;
}

std::wstring CPreInstallChecks::GetRunningProcesses(const std::wstring& list) {
  const std::vector<std::wstring> running = platform::GetRunningProcessNames();
  std::wstring result;
  for (const std::wstring& piece : platform::Split(list, L";")) {
    const std::wstring name = platform::Trim(piece);
    if (name.empty()) continue;
    for (const std::wstring& process : running) {
      if (platform::EqualsNoCase(process, name)) {
        result += name + L"\n";
        break;
      }
    }
  }
  return result;
}

bool CPreInstallChecks::IsRestartDlgToBeShown(const ISetupConfigData& record) {
  // Without a bundle key no marker is ever written for this bundle.
  const std::wstring bundleKey = platform::Trim(record.GetBootstrapperRegistry());
  if (bundleKey.empty()) return false;
  platform::UniqueHKey runOnce;
  if (registry::OpenKey(registry::kRunOnceKey, KEY_QUERY_VALUE, registry::View::Default, runOnce) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring name = CCommonUtility::kRestartPendingPrefix + bundleKey;
  if (::RegQueryValueExW(runOnce.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LogInformation(L"Setup is triggered without restarting the system.");
  LogInformation(L"You must restart your system before running this setup.");
  return true;
}

bool CPreInstallChecks::IsPrepareMsgDlgToBeShown(ISetupConfigData& record) {
  if (record.GetExecutionType() != SETUPEXECTYPE_INSTALLATION || !record.HasWindowsInstallerPath()) return false;
  const std::wstring msiDll = platform::SystemFilePath(L"msi.dll");
  if (::GetFileAttributesW(msiDll.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  WORD major = 0xFFFF;
  WORD minor = 0xFFFF;
  GetFileVersion(msiDll, major, minor);
  if (major == 0xFFFF) return false;
  return major < 3 || (major == 3 && minor == 0);
}
