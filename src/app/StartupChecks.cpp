#include "app/StartupChecks.h"

#include "app/CommandLineParser.h"
#include "app/ExecutionType.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/InstalledProduct.h"
#include "msi/MsiEntryPoints.h"
#include "platform/MessageBox.h"
#include "platform/ProcAddress.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "registry/ArpEntry.h"
#include "config/IWixLocalizationList.h"

void ApplyStartupValues(ISetupConfigData& record, CCommandLineParser& parser) {
  record.SetLaunchedFromARP(parser.IsLaunchedFromARP() != 0);
  if (record.GetExecutionType() != SETUPEXECTYPE_INSTALLATION) {
    (void)CArpEntry().ReadArpSettings(record);
    LogInformation(L"The Brand is updated from registry and set to %s.", record.GetBrand().c_str());
    LoadMsiLibrary();
    std::wstring location;
    if (GetProductInfoText(GetWixSourceProductCode(record), L"InstallLocation", location) == ERROR_SUCCESS &&
        !location.empty()) {
      record.SetInstalledLocation(location);
    }
    if (!record.IsLaunchedFromARP()) record.SetSourcePath(record.GetSetupFolder());
  } else {
    if (parser.IsSilentMode() || parser.IsBrandGiven()) {
      LogInformation(L"Brand is set to %s.", record.GetBrand().c_str());
    }
    record.SetSourcePath(record.GetSetupFolder());
  }
  std::wstring maintenancePath = record.GetMaintenanceExePath();
  size_t slash = maintenancePath.find_last_of(L'\\');
  record.SetMaintenanceExeFolder(slash == std::wstring::npos ? maintenancePath : maintenancePath.substr(slash + 1));
  record.SetRestoreMode(parser.IsRestore() != 0);
  record.SetNested(parser.IsNested() != 0);
}

bool CheckBundleKey(ISetupConfigData& record, bool silent) {
  const std::wstring key = platform::Trim(record.GetBootstrapperRegistry());
  // No key: the bundle is not registered at all, which its writers report.
  if (key.empty()) return true;
  std::wstring problem;
  if (!CArpEntry::IsUsableBundleKeyName(key)) {
    problem = platform::Format(L"BootstrapperRegistry \"%s\" in SetupConfig.xml is not a usable Add/Remove Programs "
                               L"entry name (a plain name of at most %u characters, not a product code).",
                               key.c_str(), static_cast<unsigned>(CArpEntry::kMaxBundleKeyLength));
  } else if (!CArpEntry().IsOwnEntry(key)) {
    problem = platform::Format(L"BootstrapperRegistry \"%s\" in SetupConfig.xml names the Add/Remove Programs entry "
                               L"of another product; the setup does not change it.",
                               key.c_str());
  }
  if (problem.empty()) return true;
  LogError(problem);
  if (!silent) (void)platform::ShowMessageBox(nullptr, problem, L"Setup", MB_OK | MB_ICONERROR);
  return false;
}

bool CheckSourcePathCharacters(const std::wstring& path, ISetupConfigData& record) {
  LogDebug(std::wstring(L"Source Path Unicode compatibility verification started."));
  int maxUnicode = record.GetSourcePathMaxUnicode();
  if (maxUnicode < 1) {
    // Deliberate text (no blank after the comma): kept as written.
    LogDebug(std::wstring(L"SourcePathMaxUnicode is not set in SetupConfig.xml file,skipping the Unicode "
                          L"compatibility Verification."));
    return true;
  }
  if (record.IsLaunchedFromARP()) return true;
  for (wchar_t unit : path) {
    if (static_cast<int>(unit) <= maxUnicode) continue;
    IWixLocalizationList* texts = record.GetWixLocalizationList();
    std::wstring message = texts != nullptr ? texts->GetLocalizedText(L"ErrorMessageSourcePathInvalidChars")
                                            : std::wstring(L"Cannot start installation. Source path [1] contains "
                                                           L"unsupported characters. Remove the unsupported "
                                                           L"characters and restart the setup.");
    platform::ReplaceAll(message, L"[1]", path);
    (void)platform::ShowMessageBox(nullptr, message, L"Setup", MB_OK | MB_ICONERROR);
    LogError(message);
    return false;
  }
  LogDebug(std::wstring(L"Source Path Unicode Compatibility is verified successfully."));
  return true;
}

bool IsPlatformSupportedByProcessor(const std::wstring& platform, WORD nativeArchitecture) {
  return platform != L"x64" || nativeArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

WORD GetNativeProcessorArchitecture() {
  SYSTEM_INFO info = {};
  using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
  platform::UniqueModule kernel = platform::LoadSystemLibrary(L"kernel32.dll");
  if (auto getNative = platform::GetProc<GetNativeSystemInfoFn>(kernel.Get(), "GetNativeSystemInfo")) {
    getNative(&info);
  } else {
    ::GetSystemInfo(&info);
  }
  return info.wProcessorArchitecture;
}
