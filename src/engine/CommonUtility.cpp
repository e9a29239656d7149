#include "engine/CommonUtility.h"

#include <windows.h>
#include <shlobj.h>

#include "config/ILocalizationSetting.h"
#include "config/ISetupConfigData.h"
#include "engine/NonFeatureSelectionStore.h"
#include "engine/RebootManager.h"
#include "log/ILogFileDetails.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "msi/PropertyString.h"
#include "platform/AdminOnlyFile.h"
#include "platform/Archive.h"
#include "platform/Path.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"
#include "registry/RegistryUtil.h"

namespace {

constexpr wchar_t kResumeFilePrefix[] = L"_BootstrapperRestore_";
constexpr wchar_t kRebootBatchName[] = L"_BootstrapperReboot.bat";
constexpr wchar_t kRemovalBatchName[] = L"_BootstrapperTORV.bat";

std::wstring WithoutTrailingBackslash(std::wstring folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

// The batch files and the removal name folders without the trailing backslash.
std::wstring ParentFolder(const std::wstring& path) { return WithoutTrailingBackslash(platform::FolderOf(path)); }

// cmd expands %NAME% even inside quotes; a literal percent sign is written twice.
std::wstring DoublePercents(std::wstring text) {
  platform::ReplaceAll(text, L"%", L"%%");
  return text;
}

// The bundle key as part of a file name: characters a file name cannot hold
// would otherwise turn it into a path into folders that do not exist.
std::wstring FileNamePart(const std::wstring& key) {
  std::wstring part = key;
  for (wchar_t& c : part) {
    if (c == L'/' || c == L'\\' || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' ||
        c == L'|') {
      c = L'_';
    }
  }
  return part;
}

// Creates `folder` and any missing parents; true when it exists afterwards.
bool EnsureFolder(const std::wstring& folder) {
  if (folder.empty()) return false;
  DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  std::wstring parent = ParentFolder(folder);
  if (!parent.empty() && parent != folder && parent.back() != L':' && !EnsureFolder(parent)) return false;
  if (::CreateDirectoryW(folder.c_str(), nullptr)) return true;
  attributes = ::GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  platform::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return bytes.empty() ||
         (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
          written == bytes.size());
}

// The command that runs a batch file through the system's cmd.exe. The outer
// pair of quotes is the one cmd strips, so a path with blanks stays whole.
std::wstring BatchCommand(const std::wstring& batchPath) { return L"/c \"\"" + batchPath + L"\"\""; }

// A batch argument: percent signs doubled, quoted when cmd would otherwise
// split it or read a character as an operator (a quote inside cannot be
// kept in a batch argument and is dropped).
std::wstring BatchArgument(const std::wstring& value) {
  std::wstring text;
  bool quote = false;
  for (wchar_t c : value) {
    if (c == L'"') continue;
    if (c == L' ' || c == L'\t' || c == L'&' || c == L'|' || c == L'<' || c == L'>' || c == L'^' || c == L'(' ||
        c == L')' || c == L',' || c == L';' || c == L'=') {
      quote = true;
    }
    text += c;
  }
  text = DoublePercents(text);
  return quote ? L"\"" + text + L"\"" : text;
}

std::wstring CodePageFor(ISetupConfigData& record) {
  ILocalizationSetting* languages = record.GetLocalizationSettings();
  if (languages == nullptr) return {};
  return platform::Trim(languages->GetCodepage(record.GetLanguageId()));
}

// A folder that may be removed with everything in it: absolute, and at least
// one level below a drive's top folder (X:\A) or a share (\\server\share\A).
bool IsRemovableFolder(const std::wstring& folder) {
  if (folder.size() >= 4 && folder[1] == L':' && folder[2] == L'\\') {
    return folder.find_first_not_of(L'\\', 3) != std::wstring::npos;
  }
  if (folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\') {
    std::vector<std::wstring> parts;
    for (const std::wstring& part : platform::Split(folder.substr(2), L"\\")) {
      if (!part.empty()) parts.push_back(part);
    }
    return parts.size() >= 3 && parts[0] != L"?" && parts[0] != L".";
  }
  return false;
}

}  // namespace

std::wstring CCommonUtility::GetResumeDataFilePath(const ISetupConfigData& record) {
  const std::wstring key = platform::Trim(record.GetBootstrapperRegistry());
  if (key.empty()) {
    LogError(L"CCommonUtility::GetResumeDataFilePath - The bundle key name (BootstrapperRegistry) is empty; no "
             L"resume data file is used.");
    return {};
  }
  std::wstring folder;
  if (const ILogFileDetails* log = record.GetLogFileDetails()) folder = WithoutTrailingBackslash(log->GetFolder());
  if (folder.empty()) folder = platform::GetSpecialFolder(CSIDL_COMMON_APPDATA) + L"\\Halvorsk";
  return folder + L"\\" + kResumeFilePrefix + FileNamePart(key) + L".dat";
}

std::wstring CCommonUtility::GetRebootBatchFilePath(const ISetupConfigData& record) {
  std::wstring dataFile = GetResumeDataFilePath(record);
  if (dataFile.empty()) return {};
  return platform::JoinPath(ParentFolder(dataFile), kRebootBatchName);
}

bool CCommonUtility::ArchiveRebootData(const ISetupConfigData& record, CRebootManager& rebootManager) {
  const std::wstring properties = record.GetInstallProperties();
  if (properties.empty()) {
    LogWarning(L"CCommonUtility::ArchiveRebootData - There are no properties to be saved.");
    return false;
  }
  rebootManager.SetInstallProperties(properties);
  rebootManager.SetSelectedFeatures(record.GetSelectedFeatures());

  const std::wstring path = GetResumeDataFilePath(record);
  if (path.empty()) return false;
  // The default folder need not exist yet; without it the resumed run would
  // run every product again.
  (void)EnsureFolder(ParentFolder(path));
  // The file holds every public property, hidden ones included, under a
  // folder every user can read: only SYSTEM and Administrators may open it.
  platform::UniqueFileHandle file = platform::CreateAdminOnlyFile(path);
  if (!file) {
    LogError(L"CCommonUtility::ArchiveRebootData - Failed to create the file %s", path.c_str());
    return false;
  }
  platform::CArchive archive = platform::CArchive::ForStoringToFile(file.Get());
  bool stored = rebootManager.Serialize(archive);
  CNonFeatureSelectionStore::Store(archive, CNonFeatureSelectionStore::GetInstance().GetAll());
  stored = archive.Flush() && stored;
  file.Reset();
  if (!stored) {
    // A partial file would be taken for the whole state by the resumed run.
    ::DeleteFileW(path.c_str());
    LogError(L"CCommonUtility::ArchiveRebootData - Failed to write the file %s", path.c_str());
    return false;
  }
  return true;
}

bool CCommonUtility::RestoreRebootData(ISetupConfigData& record, IMSIManager* msiManager,
                                       CRebootManager* rebootManager) {
  if (msiManager == nullptr) {
    LogError(L"CCommonUtility::RestoreRebootData - MSI Manager is NULL");
    return false;
  }
  if (rebootManager == nullptr) {
    LogError(L"CCommonUtility::RestoreRebootData - Reboot Manager is NULL");
    return false;
  }
  const std::wstring path = GetResumeDataFilePath(record);
  if (path.empty()) return false;
  platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    LogError(L"CCommonUtility::RestoreRebootData - Failed to open the file %s", path.c_str());
    return false;
  }
  // Everything is read on the side first, so a damaged file changes nothing.
  CRebootManager loaded;
  CNonFeatureSelectionStore::Selections selections;
  bool complete = false;
  {
    platform::CArchive archive = platform::CArchive::ForLoadingFromFile(file.Get());
    complete = loaded.Serialize(archive) && CNonFeatureSelectionStore::Load(archive, selections) && archive.IsAtEnd();
  }
  file.Reset();
  // The file serves one resume only, whole or not.
  if (!::DeleteFileW(path.c_str())) {
    LogWarning(L"CCommonUtility::RestoreRebootData - Unable to delete the file %s", path.c_str());
  }
  if (!complete) {
    LogError(L"CCommonUtility::RestoreRebootData - The file %s is damaged or incomplete; nothing is restored.",
             path.c_str());
    return false;
  }

  rebootManager->SwapResumeData(loaded);
  CNonFeatureSelectionStore::GetInstance().ReplaceAll(std::move(selections));
  for (const auto& [name, value] : msiprops::Split(rebootManager->GetInstallProperties())) {
    msiManager->SetProperty(name, value, false);
  }
  record.SetFeatureSelection(rebootManager->GetSelectedFeatures(), L"");
  return true;
}

std::wstring CCommonUtility::CreateRebootBatchFile(ISetupConfigData& record, bool silent, bool noReboot) {
  const std::wstring executable = record.GetSourcePath() + record.GetMaintenanceExeFolder();
  if (!platform::FileExists(executable)) {
    LogInformation(L"CCommonUtility::CreateRebootBatchFile() - Could not find the file path %s .",
                   executable.c_str());
    return {};
  }
  const std::wstring batchPath = GetRebootBatchFilePath(record);
  if (batchPath.empty()) return {};

  std::wstring text;
  const std::wstring codePage = CodePageFor(record);
  if (!codePage.empty()) text += L"chcp " + codePage + L"\r\n";
  text += platform::Format(L"start \"Bootstrapper Setup\" \"%s\"", DoublePercents(executable).c_str());
  text += platform::Format(L" /P /L %u /B %s /RESTORE", static_cast<unsigned>(record.GetLanguageId()),
                           BatchArgument(record.GetBrand()).c_str());
  if (silent) {
    text += L" /si";
    if (noReboot) text += L" /noreboot";
  }
  text += platform::Format(L"\ndel /F \"%s\"\r\n", DoublePercents(batchPath).c_str());

  (void)EnsureFolder(ParentFolder(batchPath));
  if (!WriteWholeFile(batchPath, platform::WideToUtf8(text))) {
    LogError(L"CCommonUtility::CreateRebootBatchFile() - Failed to create the file %s", batchPath.c_str());
    return {};
  }
  return L"\"" + platform::SystemFilePath(L"cmd.exe") + L"\" " + BatchCommand(batchPath);
}

bool CCommonUtility::PrepareIntermediateReboot(ISetupConfigData& record, CRebootManager& rebootManager,
                                               bool silent, bool noReboot) {
  LogInformation(L"Archiving the data to be used after intermediate reboot...");
  (void)ArchiveRebootData(record, rebootManager);
  const std::wstring command = CreateRebootBatchFile(record, silent, noReboot);
  return registry::SetRegistryKeyValueData(registry::kRunOnceKey, registry::kRebootMarkerValue, command) == 1;
}

bool CCommonUtility::WriteRestartPendingMarker(const ISetupConfigData& record) {
  const std::wstring key = platform::Trim(record.GetBootstrapperRegistry());
  if (key.empty()) {
    // A bare "RestartFor" would be shared by every bundle on the machine.
    LogError(L"CCommonUtility::WriteRestartPendingMarker - The bundle key name (BootstrapperRegistry) is empty; the "
             L"restart marker is not written.");
    return false;
  }
  platform::UniqueHKey runOnce;
  if (registry::CreateKey(registry::kRunOnceKey, KEY_SET_VALUE, registry::View::Default, runOnce) != ERROR_SUCCESS) {
    LogError(L"Unable to open the runonce key %s", registry::kRunOnceKey);
    return false;
  }
  const std::wstring name = kRestartPendingPrefix + key;
  const wchar_t empty[1] = {L'\0'};
  if (::RegSetValueExW(runOnce.Get(), name.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(empty),
                       sizeof(empty)) != ERROR_SUCCESS) {
    LogError(L"Unable to create the runonce key");
    return false;
  }
  return true;
}

std::wstring CCommonUtility::BuildRemovalBatchText(const std::wstring& executablePath, const std::wstring& codePage,
                                                   bool restart, const std::wstring& batchPath) {
  const std::wstring folder = ParentFolder(executablePath);
  if (!IsRemovableFolder(folder)) return {};
  const std::wstring chcpLine = codePage.empty() ? std::wstring() : L"chcp " + codePage;
  const std::wstring executable = DoublePercents(executablePath);
  const std::wstring quotedFolder = DoublePercents(folder);

  // Only empty ancestors go; rmdir without /S leaves the others alone. The
  // drive itself ("C:") is never named.
  std::wstring parentLines;
  std::wstring remainder = quotedFolder;
  for (;;) {
    size_t slash = remainder.find_last_of(L'\\');
    if (slash == std::wstring::npos) break;
    remainder.erase(slash);
    if (remainder.find(L'\\') == std::wstring::npos) break;
    parentLines += L"rmdir \"" + remainder + L"\"\r\n";
  }
  const std::wstring restartLine =
      restart ? L"\"" + DoublePercents(platform::SystemFilePath(L"shutdown.exe")) + L"\" -r -f -t 0\r\n"
              : std::wstring();
  const std::wstring batch = DoublePercents(batchPath);
  // The batch deletes itself once, without waiting for the file to vanish: a
  // command processor that keeps its batch file open (Wine's does) removes it
  // only when it ends, so a loop on "if exist" would never end.
  return platform::Format(
      L"cd\\\r\n%s\r\n:Repeat1\r\ndel /F \"%s\" \r\nif exist \"%s\" goto Repeat1\r\n:Repeat2\r\nrmdir /S /Q "
      L"\"%s\"\r\nif exist \"%s\" goto Repeat2\r\n%s%s:Repeat3\r\ndel /F \"%s\"\r\n",
      chcpLine.c_str(), executable.c_str(), executable.c_str(), quotedFolder.c_str(), quotedFolder.c_str(),
      parentLines.c_str(), restartLine.c_str(), batch.c_str());
}

std::wstring CCommonUtility::MaintenanceExeInside(const std::wstring& installedLocation,
                                                 const std::wstring& maintenanceExePath) {
  const std::wstring relative = platform::Trim(maintenanceExePath);
  auto refuse = [&](const wchar_t* reason) {
    LogError(L"The maintenance copy %s under the installed location %s is not removed: %s", relative.c_str(),
             installedLocation.c_str(), reason);
    return std::wstring();
  };
  if (relative.empty()) return refuse(L"MaintenanceExePath is empty.");
  if (relative.find(L':') != std::wstring::npos || relative[0] == L'\\' || relative[0] == L'/') {
    return refuse(L"MaintenanceExePath must be a path relative to the installed location.");
  }
  std::vector<std::wstring> parts;
  for (const std::wstring& part : platform::Split(relative, L"\\")) {
    for (const std::wstring& piece : platform::Split(part, L"/")) {
      if (platform::Trim(piece) == L"..") return refuse(L"MaintenanceExePath must not name a parent folder (\"..\").");
      if (!piece.empty() && piece != L".") parts.push_back(piece);
    }
  }
  if (parts.size() < 2) {
    return refuse(L"the maintenance copy must lie in a folder of its own inside the installed location.");
  }
  std::wstring base = WithoutTrailingBackslash(platform::Trim(installedLocation));
  const bool local = base.size() >= 3 && base[1] == L':' && base[2] == L'\\';
  const bool share = base.size() > 2 && base[0] == L'\\' && base[1] == L'\\' && base[2] != L'?' && base[2] != L'.';
  if (!local && !share) return refuse(L"the installed location is not an absolute local or network path.");
  wchar_t buffer[MAX_PATH * 4] = {};
  const std::wstring joined = base + L"\\" + relative;
  const DWORD length = ::GetFullPathNameW(joined.c_str(), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
  if (length == 0 || length >= std::size(buffer)) return refuse(L"its full path cannot be formed.");
  const std::wstring full(buffer, length);
  const std::wstring prefix = base + L"\\";
  if (full.size() <= prefix.size() || ::CompareStringOrdinal(full.c_str(), static_cast<int>(prefix.size()),
                                                              prefix.c_str(), static_cast<int>(prefix.size()),
                                                              TRUE) != CSTR_EQUAL) {
    return refuse(L"its full path lies outside the installed location.");
  }
  return full;
}

bool CCommonUtility::RemoveMaintenanceExeFolder(const std::wstring& executablePath, const std::wstring& codePage,
                                                bool restart) {
  if (!platform::FileExists(executablePath)) {
    LogWarning(L"CCommonUtility::RemoveMaintenanceExeFolder() - Could not find the file path %s .",
               executablePath.c_str());
    return false;
  }
  const std::wstring tempFolder = platform::TempFolder();
  if (tempFolder.empty()) {
    LogError(L"CCommonUtility::RemoveMaintenanceExeFolder() - The temporary folder is not known, error %lu",
             ::GetLastError());
    return false;
  }
  const std::wstring batchPath = WithoutTrailingBackslash(tempFolder) + L"\\" + kRemovalBatchName;
  const std::wstring text = BuildRemovalBatchText(executablePath, platform::Trim(codePage), restart, batchPath);
  if (text.empty()) {
    // rmdir /S on a drive's top folder would wipe the drive.
    LogError(L"CCommonUtility::RemoveMaintenanceExeFolder() - The folder of %s is not a folder that can be removed.",
             executablePath.c_str());
    return false;
  }
  std::string bytes;
  if (!platform::WideToAnsiExact(text, bytes)) {
    // A replacement "?" would be a wildcard to del.
    LogError(L"CCommonUtility::RemoveMaintenanceExeFolder() - The path %s cannot be written in the system code page.",
             executablePath.c_str());
    return false;
  }
  if (!WriteWholeFile(batchPath, bytes)) {
    LogError(L"CCommonUtility::RemoveMaintenanceExeFolder() - Failed to create the file %s", batchPath.c_str());
    return false;
  }
  platform::UniqueHandle process = platform::StartSystemProgramHidden(L"cmd.exe", BatchCommand(batchPath));
  if (!process) {
    LogError(L"CCommonUtility::RemoveMaintenanceExeFolder() - Unable to start the file %s, error %lu",
             batchPath.c_str(), ::GetLastError());
    return false;
  }
  return true;
}

bool CCommonUtility::StartMachineRestart() {
  platform::UniqueHandle process = platform::StartSystemProgramHidden(L"shutdown.exe", L"-r -t 0");
  if (!process) {
    LogError(L"CCommonUtility::StartMachineRestart() - Unable to start %s, error %lu",
             platform::SystemFilePath(L"shutdown.exe").c_str(), ::GetLastError());
    return false;
  }
  return true;
}
