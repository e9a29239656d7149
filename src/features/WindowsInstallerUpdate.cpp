#include "features/WindowsInstallerUpdate.h"

#include <vector>

#include "config/ExecutionType.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/MsiEntryPoints.h"
#include "platform/UniqueResource.h"
#include "wix/IWixLocalizationList.h"

namespace {

constexpr int kGroupKindSetupInitializer = 2;
constexpr int kGroupKindUninstallProducts = 3;

// No console window; the child keeps our code authorisation level.
constexpr DWORD kRedistributableCreationFlags = CREATE_NO_WINDOW | CREATE_PRESERVE_CODE_AUTHZ_LEVEL;

bool IsInstallerErrorCode(DWORD exitCode) { return exitCode >= 1601 && exitCode <= 1640; }

bool ReportsFailure(HANDLE process) {
  DWORD exitCode = 0;
  if (!::GetExitCodeProcess(process, &exitCode)) return false;
  if (!IsInstallerErrorCode(exitCode)) return false;
  LogError(L"InstallWindowInstaller:Exit code is %ld", static_cast<long>(exitCode));
  return true;
}

std::wstring LocalizedText(ISetupConfigData& record, const wchar_t* id) {
  if (id == nullptr) return {};
  IWixLocalizationList* texts = record.GetWixLocalizationList();
  return texts != nullptr ? texts->GetLocalizedText(id) : std::wstring();
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
  // The program is named on its own and quoted on the command line, so a
  // bundle folder with blanks cannot make Windows start another program.
  const std::wstring program = record.GetSetupFolder() + configured;
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, kRedistributableCreationFlags,
                        nullptr, nullptr, &startup, &started)) {
    LogWarning(L"CreateProcess to install windows installer 3.1 failed.Check the path of the EXE");
    failed = true;
  } else {
    platform::UniqueHandle process(started.hProcess);
    platform::UniqueHandle thread(started.hThread);
    const DWORD waited = ::WaitForSingleObject(process.Get(), waitMs);
    if (ReportsFailure(process.Get())) failed = true;
    if (waited == WAIT_TIMEOUT) ::TerminateProcess(process.Get(), 1);
  }
  LoadMsiLibrary();
  return failed ? 0 : 1;
}

void GetFileVersion(const std::wstring& path, WORD& major, WORD& minor) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return;
  std::vector<BYTE> data(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return;
  }
  major = HIWORD(info->dwFileVersionMS);
  minor = LOWORD(info->dwFileVersionMS);
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
