#include "engine/InstallExecutor.h"

#include "config/ExecutionType.h"
#include "config/ILocalizationSetting.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroupList.h"
#include "config/ISetupConfigData.h"
#include "config/ProductCode.h"
#include "engine/CommonUtility.h"
#include "engine/DiskSpaceCheck.h"
#include "engine/IBundleRegistrar.h"
#include "engine/PatchEntry.h"
#include "engine/ProductExitCodes.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IMSIManager.h"
#include "engine/ProductPresence.h"
#include "platform/DriveSpace.h"
#include "platform/StringUtil.h"

namespace {

bool QueryDiskFreeSpace(const std::wstring& drive, ULONGLONG& freeBytes) {
  // The volume list asks the same function, so both see the same free space.
  ULONGLONG totalBytes = 0;
  return platform::QueryDriveSpace(drive, totalBytes, freeBytes);
}

// A package without INSTALLDIR may name its folder property the way the WiX
// dialog sets do: WIXUI_INSTALLDIR holds the name of the property the folder
// page edits (WixUI_Advanced: APPLICATIONFOLDER). That folder is where the
// package installs, so it is the one whose drive must have room.
std::wstring InstallFolderOf(IMSIManager& manager) {
  std::wstring folder = manager.GetProperty(L"INSTALLDIR", false);
  if (!folder.empty()) return folder;
  const std::wstring named = platform::Trim(manager.GetProperty(L"WIXUI_INSTALLDIR", false));
  if (named.empty() || platform::EqualsNoCase(named, L"INSTALLDIR")) return folder;
  folder = manager.GetProperty(named, false);
  if (!folder.empty()) {
    LogInformation(L"The package has no INSTALLDIR; it installs into %s, the folder property WIXUI_INSTALLDIR names.",
                   named.c_str());
  }
  return folder;
}

bool IsInstallerPackage(const IProductAttributes& product) {
  return product.GetProductType() == kProductTypeMsi || product.GetProductType() == kProductTypeMsp;
}

}  // namespace

CInstallExecutor::CInstallExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupExecutorBase(record, dispatcher), freeSpace_(QueryDiskFreeSpace) {}

bool CInstallExecutor::IsInstallFolderAcceptable(const std::wstring& folder) {
  // A drive letter, a colon and a backslash: a relative folder would land
  // wherever the current folder happens to be, and a device or a "\\?\\"
  // path is no folder at all. ".." would climb out of what the author named.
  if (folder.size() < 3 || !iswalpha(folder[0]) || folder[1] != L':' || folder[2] != L'\\') return false;
  if (folder.find_first_of(L"<>\"|?*", 0) != std::wstring::npos || folder.find(L':', 2) != std::wstring::npos) {
    return false;
  }
  for (const std::wstring& part : platform::Split(folder, L"\\")) {
    if (platform::Trim(part) == L"..") return false;
  }
  return true;
}

bool CInstallExecutor::CheckInitialCondition(int& outOfSpace) {
  IMSIManager* manager = dispatcher_ != nullptr ? dispatcher_->GetMSIManager() : nullptr;
  std::wstring installDir = manager != nullptr ? InstallFolderOf(*manager) : std::wstring();
  if (!IsInstallFolderAcceptable(installDir)) {
    if (!installDir.empty()) LogError(L"The install directory \"%s\" is not an absolute local folder.", installDir.c_str());
    LogError(L"Install directory is not configured correctly. Exiting the setup");
    return false;
  }
  record_.SetInstalledLocation(installDir);
  IProductGroupList* groups = record_.GetProductGroupList();
  if (groups == nullptr) {
    LogError(L"Failed to get the product group list from the config");
    return false;
  }
  int totalMegabytes = 0;
  groups->GetTotalSpaceRequired(totalMegabytes);
  ULONGLONG required = SpaceRequiredToBytes(totalMegabytes);
  const std::wstring drive = installDir.substr(0, 2);
  if (featureDriveCost_) required += featureDriveCost_(drive);
  LogInformation(L"Installation Directory is %s", installDir.c_str());
  ULONGLONG freeBytes = 0;
  if (!freeSpace_ || !freeSpace_(drive + L"\\", freeBytes)) {
    LogError(L"Unable to get the free space of the installation directory");
    return false;
  }
  if (!FindShortDrive({DriveSpace{drive, required, freeBytes}}).empty()) {
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
  if (registrar == nullptr || !registrar->WriteBundleEntry()) return false;
  (void)RegisterAppliedPatches();
  return true;
}

void CInstallExecutor::AddAppliedPatch(IProductAttributes& product) {
  if (product.GetProductType() == kProductTypeMsp && product.IsMainProductPatch()) {
    appliedPatches_.push_back(&product);
  }
}

bool CInstallExecutor::RegisterAppliedPatches() {
  IBundleRegistrar* registrar = GetBundleRegistrar();
  if (registrar == nullptr) return false;
  bool all = true;
  const std::wstring mainProduct = ExtractProductCode(record_.GetMainProductUninstallCommand());
  for (IProductAttributes* patch : appliedPatches_) {
    const std::wstring key = PatchEntryKey(record_, *patch);
    if (key.empty()) {
      all = false;
      continue;
    }
    all = registrar->AddPatchEntry(key, patch->GetProductName(), mainProduct) && all;
  }
  return all;
}

void CInstallExecutor::PrepareRun() {
  // A resumed run knows its products from the resume data instead.
  IProductAttributes* mainProduct = record_.GetWixSourceProduct();
  completingEarlierRun_ = record_.GetExecutionType() == SETUPEXECTYPE_INSTALLATION && !record_.IsRestoreMode() &&
                          mainProduct != nullptr && GetProductPresence(*mainProduct) == ProductPresence::kInstalled;
  if (record_.GetMajorUpgradeValue().empty() || record_.GetBootstrapperRegistry().empty()) return;
  if (IBundleRegistrar* registrar = GetBundleRegistrar()) earlierInstallFolder_ = registrar->ReadBundleInstallFolder();
  earlierKeyName_ = record_.GetBootstrapperRegistry();
}

bool CInstallExecutor::IsAlreadyInPlace(IProductAttributes& product) {
  if (!completingEarlierRun_ || GetProductPresence(product) != ProductPresence::kInstalled) return false;
  LogInformation(L"The product %s (%s) is already installed by the earlier, unfinished installation; it is not "
                 L"installed again.",
                 product.GetProductName().c_str(), GetPresenceProductCode(product).c_str());
  return true;
}

void CInstallExecutor::FinishRun(int result) {
  if (record_.GetMajorUpgradeValue().empty() || result != kRunSuccess) return;
  if (!earlierInstallFolder_.empty() && record_.GetInstalledLocation() != earlierInstallFolder_) {
    // The earlier bundle's maintenance copy stays behind in its old folder;
    // only a copy strictly inside that folder is removed.
    const std::wstring earlierCopy =
        CCommonUtility::MaintenanceExeInside(earlierInstallFolder_, record_.GetMaintenanceExePath());
    if (!earlierCopy.empty()) {
      std::wstring codePage;
      if (ILocalizationSetting* languages = record_.GetLocalizationSettings()) {
        codePage = languages->GetCodepage(record_.GetLanguageId());
      }
      (void)CCommonUtility::RemoveMaintenanceExeFolder(earlierCopy, codePage, false);
    }
  }
  if (!earlierKeyName_.empty() && earlierKeyName_ != record_.GetBootstrapperRegistry()) {
    if (IBundleRegistrar* registrar = GetBundleRegistrar()) (void)registrar->DeleteEntry(earlierKeyName_);
  }
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
    MarkProductFailed(product);
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
  MarkProductRun(product);
  AddAppliedPatch(product);
  return true;
}
