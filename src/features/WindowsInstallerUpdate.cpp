#include "features/WindowsInstallerUpdate.h"

#include <vector>

#include "config/ExecutionType.h"
#include "config/IProductGroup.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/MsiEntryPoints.h"
#include "platform/FileVersion.h"
#include "platform/Process.h"
#include "platform/UniqueResource.h"
#include "config/IWixLocalizationList.h"

namespace {

// No console window; the child keeps our code authorisation level.
constexpr DWORD kRedistributableCreationFlags = CREATE_NO_WINDOW | CREATE_PRESERVE_CODE_AUTHZ_LEVEL;

bool IsInstallerErrorCode(DWORD exitCode) { return exitCode >= 1601 && exitCode <= 1640; }

std::wstring LocalizedText(ISetupConfigData& record, const wchar_t* id) {
  if (id == nullptr) return {};
  IWixLocalizationList* texts = record.GetWixLocalizationList();
  // A bundle whose strings lack the title shows none rather than the bare id.
  return texts != nullptr && texts->HasLocalization(id) ? texts->GetLocalizedText(id) : std::wstring();
}

}  // namespace

int InstallWindowsInstaller(ISetupConfigData& record, DWORD waitMs) {
  FreeMsiLibrary();
  const std::wstring configured = record.GetWindowsInstallerPath();
  if (configured.empty()) {
    LogWarning(
        L"WindowsInstaller entry is missing in SetupConfig.xml. Assuming no need to install Windows Installer 3.1 "
        L"version");
    // The library was unloaded above; every later installer call needs it back.
    LoadMsiLibrary();
    return 0;
  }

  bool failed = false;
  platform::ProcessOptions options;
  options.creationFlags = kRedistributableCreationFlags;
  platform::UniqueHandle process = platform::StartProgram(record.GetSetupFolder() + configured, L"", options);
  if (!process) {
    LogWarning(L"CreateProcess to install windows installer 3.1 failed.Check the path of the EXE");
    failed = true;
  } else {
    DWORD exitCode = 0;
    const DWORD waited = platform::WaitForExit(process.Get(), waitMs, exitCode);
    if (waited == WAIT_OBJECT_0 && IsInstallerErrorCode(exitCode)) {
      LogError(L"InstallWindowInstaller:Exit code is %ld", static_cast<long>(exitCode));
      failed = true;
    }
    if (waited == WAIT_TIMEOUT) ::TerminateProcess(process.Get(), 1);
  }
  LoadMsiLibrary();
  return failed ? 0 : 1;
}

void GetFileVersion(const std::wstring& path, WORD& major, WORD& minor) {
  platform::FileVersion version;
  if (!platform::ReadFileVersion(path, version)) return;
  major = version.major;
  minor = version.minor;
}

std::wstring GetRunTitleText(ISetupConfigData& record, bool finished) {
  const wchar_t* id = nullptr;
  switch (record.GetExecutionType()) {
    case SETUPEXECTYPE_INSTALLATION:
    case SETUPEXECTYPE_PATCH:
    case SETUPEXECTYPE_MINORUPGRADE: id = finished ? L"InstalledComponents" : L"InstallatingComponents"; break;
    case SETUPEXECTYPE_MODIFY: id = finished ? L"ChangedComponents" : L"ChangingComponents"; break;
    case SETUPEXECTYPE_REPAIR: id = finished ? L"RepairedComponents" : L"ReparingComponents"; break;
    case SETUPEXECTYPE_REMOVE: id = finished ? L"RemovedComponents" : L"UnInstallatingComponents"; break;
    default: break;
  }
  return LocalizedText(record, id);
}

std::wstring GetRollbackTitleText(ISetupConfigData& record, bool finished) {
  return LocalizedText(record, finished ? L"RollbackedComponents" : L"RollingbackComponents");
}

std::wstring GetRollbackProgressTitleText(ISetupConfigData& record) {
  return LocalizedText(record, L"ProgressDlgTitleTextRollback");
}

std::wstring GetGroupProgressTitleText(ISetupConfigData& record, int groupKind) {
  const int executionType = record.GetExecutionType();
  const wchar_t* id = nullptr;
  if (groupKind == kGroupKindUninstallProducts) {
    id = L"ProgressDlgTitleTextUninstall";
  } else if (executionType == SETUPEXECTYPE_REMOVE && groupKind == kGroupKindSetupInitializer) {
    id = L"InitializerUninstallText";
  } else {
    switch (executionType) {
      case SETUPEXECTYPE_INSTALLATION: id = L"ProgressDlgTitleTextInstall"; break;
      case SETUPEXECTYPE_MODIFY: id = L"ProgressDlgTitleTextChange"; break;
      case SETUPEXECTYPE_REPAIR: id = L"ProgressDlgTitleTextRepair"; break;
      case SETUPEXECTYPE_REMOVE: id = L"ProgressDlgTitleTextUninstall"; break;
      default: break;
    }
  }
  return LocalizedText(record, id);
}
