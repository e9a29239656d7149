#include "registry/ArpEntry.h"

#include <limits>
#include <utility>
#include <vector>

#include "config/IIconList.h"
#include "config/ISetupConfigData.h"
#include "config/ProductCode.h"
#include "log/Log.h"
#include "platform/Path.h"
#include "platform/StringUtil.h"
#include "registry/FolderSize.h"

namespace {

// One value to write: a string, or a DWORD when isDword is set.
struct EntryValue {
  const wchar_t* name;
  std::wstring text;
  DWORD number = 0;
  bool isDword = false;
};

EntryValue Text(const wchar_t* name, std::wstring text) { return EntryValue{name, std::move(text), 0, false}; }
EntryValue Number(const wchar_t* name, DWORD number) { return EntryValue{name, std::wstring(), number, true}; }

// Writes the values in order and flushes; false (logged) at the first failure.
bool WriteValues(HKEY key, const std::wstring& keyPath, const std::vector<EntryValue>& values,
                 const wchar_t* operation) {
  for (const EntryValue& value : values) {
    LSTATUS status = value.isDword ? registry::WriteDwordValue(key, value.name, value.number)
                                   : registry::WriteStringValue(key, value.name, value.text);
    if (status != ERROR_SUCCESS) {
      LogError(L"CArpEntry::%s() - Unable to write the value %s under %s (error %ld).", operation, value.name,
               keyPath.c_str(), static_cast<long>(status));
      return false;
    }
  }
  ::RegFlushKey(key);
  return true;
}

std::wstring ReadString(HKEY key, const wchar_t* name) {
  std::wstring value;
  if (key == nullptr || !registry::ReadStringValue(key, name, value)) value.clear();
  return value;
}

// The root key path without its trailing backslash (how it is opened).
std::wstring WithoutTrailingBackslash(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

// A key name from a caller, without blanks or backslashes at its ends, so a
// name of only separators can never address the root itself.
std::wstring CleanKeyName(const std::wstring& name) {
  std::wstring cleaned = platform::Trim(name);
  size_t first = cleaned.find_first_not_of(L'\\');
  if (first == std::wstring::npos) return {};
  size_t last = cleaned.find_last_not_of(L'\\');
  return cleaned.substr(first, last - first + 1);
}

// The one catch of each public operation: an allocation failure ends in the
// operation's failure value and the line "Exception in <operation> " (a
// deliberate text, trailing blank included: kept as written).
template <typename Result, typename Body>
Result Guarded(const wchar_t* exceptionText, Result failure, Body&& body) {
  try {
    return body();
  } catch (...) {
    LogError(exceptionText);
    return failure;
  }
}

}  // namespace

CArpEntry::CArpEntry(Location location) : location_(std::move(location)) {}

std::wstring CArpEntry::BuildUninstallString(const std::wstring& installFolder,
                                             const std::wstring& maintenanceExePath) {
  return L"\"" + platform::JoinPath(installFolder, maintenanceExePath) + L"\" /arp";
}

// --- lookups ------------------------------------------------------------------

LSTATUS CArpEntry::OpenProductEntry(const std::wstring& keyName, platform::UniqueHKey& key) const {
  std::wstring path = location_.uninstallRoot + keyName;
  LSTATUS status = registry::OpenKey(path, KEY_READ, location_.view, key);
  // A 64-bit package registers itself in the 64-bit view only, which the
  // 32-bit build does not see by default.
  if (status == ERROR_FILE_NOT_FOUND) status = registry::OpenKey(path, KEY_READ, registry::View::Force64, key);
  // And a 32-bit package only in the 32-bit view, which a 64-bit build does not see by default.
  if (status == ERROR_FILE_NOT_FOUND) status = registry::OpenKey(path, KEY_READ, registry::View::Force32, key);
  return status;
}

bool CArpEntry::OpenMainProductEntry(ISetupConfigData& record, platform::UniqueHKey& key) const {
  std::wstring code = ExtractProductCode(record.GetMainProductUninstallCommand());
  if (code.empty()) {
    LogError(L"CArpEntry - The main product's uninstall command \"%s\" holds no product code in braces.",
             record.GetMainProductUninstallCommand().c_str());
  } else {
    LSTATUS status = OpenProductEntry(code, key);
    if (status == ERROR_SUCCESS) return true;
    LogError(L"CArpEntry - The main product's entry %s%s could not be opened (error %ld).",
             location_.uninstallRoot.c_str(), code.c_str(), static_cast<long>(status));
  }
  LogError(L"Unable to get the product code under uninstall node");
  return false;
}

bool CArpEntry::OpenBundleEntry(const std::wstring& bundleKeyName, REGSAM access, platform::UniqueHKey& key) const {
  std::wstring name = CleanKeyName(bundleKeyName);
  std::wstring path = location_.uninstallRoot + name;
  if (name.empty() || registry::OpenKey(path, access, location_.view, key) != ERROR_SUCCESS) {
    LogWarning(L"Not able to open the key %s", path.c_str());
    return false;
  }
  if ((access & KEY_SET_VALUE) != 0 && !IsOwnEntry(name)) {
    key.Reset();
    LogError(L"The Add/Remove Programs entry %s belongs to another product; the setup does not write into it.",
             path.c_str());
    return false;
  }
  return true;
}

bool CArpEntry::IsUsableBundleKeyName(const std::wstring& name) {
  const std::wstring trimmed = platform::Trim(name);
  if (trimmed.empty() || trimmed.size() > kMaxBundleKeyLength) return false;
  // A backslash would reach into another key below the Uninstall root; a
  // forward slash is an ordinary character of a key name ("Vendor/Suite").
  if (trimmed.find(L'\\') != std::wstring::npos) return false;
  for (wchar_t c : trimmed) {
    if (c < L' ') return false;
  }
  return !(trimmed.front() == L'{' && trimmed.back() == L'}');
}

namespace {

// A bundle's uninstall command starts its maintenance copy with "/arp".
bool StartsAMaintenanceCopy(const std::wstring& uninstallString) {
  const std::wstring uninstall = platform::Trim(uninstallString);
  return uninstall.size() >= 4 &&
         ::CompareStringOrdinal(uninstall.c_str() + uninstall.size() - 4, 4, L"/arp", 4, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool CArpEntry::IsBundleEntryPresent(const std::wstring& keyName) const {
  const std::wstring name = CleanKeyName(keyName);
  platform::UniqueHKey key;
  if (name.empty() ||
      registry::OpenKey(location_.uninstallRoot + name, KEY_READ, location_.view, key) != ERROR_SUCCESS) {
    return false;
  }
  return StartsAMaintenanceCopy(ReadString(key.Get(), kUninstallString));
}

bool CArpEntry::IsOwnEntry(const std::wstring& keyName) const {
  platform::UniqueHKey key;
  if (registry::OpenKey(location_.uninstallRoot + keyName, KEY_READ, location_.view, key) != ERROR_SUCCESS) {
    return true;
  }
  const std::wstring uninstall = platform::Trim(ReadString(key.Get(), kUninstallString));
  if (StartsAMaintenanceCopy(uninstall)) return true;
  if (uninstall == L"Null" && !ReadString(key.Get(), kParentKeyName).empty()) return true;
  DWORD values = 0;
  DWORD subkeys = 0;
  return ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         values == 0 && subkeys == 0;
}

bool CArpEntry::CreateEntry(const std::wstring& keyName, platform::UniqueHKey& key) const {
  std::wstring path = location_.uninstallRoot + keyName;
  if (!IsOwnEntry(keyName)) {
    LogError(L"The Add/Remove Programs entry %s belongs to another product; the setup does not write into it.",
             path.c_str());
    return false;
  }
  LSTATUS status = registry::CreateKey(path, KEY_READ | KEY_WRITE, location_.view, key);
  if (status != ERROR_SUCCESS) {
    LogError(L"Unable to create the product key under the registry path %s", path.c_str());
    LogError(L"CArpEntry - Creating %s failed with error %ld.", path.c_str(), static_cast<long>(status));
    return false;
  }
  return true;
}

// --- computed values ------------------------------------------------------------

std::wstring CArpEntry::ResolvedInstallLocation(ISetupConfigData& record) {
  std::wstring location = record.GetInstallLocation();
  platform::ReplaceAll(location, L"[InstallDir]", record.GetInstalledLocation());
  return location;
}

DWORD CArpEntry::EstimatedSizeOf(ISetupConfigData& record) {
  // Whole KiB, rounded up: installed files of a few hundred bytes are an
  // installed size, not none.
  const unsigned long long bytes = registry::GetFolderSize(ResolvedInstallLocation(record));
  const unsigned long long kibibytes = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  // 4 TiB and more no longer fit the DWORD; show the largest size it holds.
  if (kibibytes > std::numeric_limits<DWORD>::max()) return std::numeric_limits<DWORD>::max();
  return static_cast<DWORD>(kibibytes);
}

std::wstring CArpEntry::DisplayIconPath(ISetupConfigData& record) {
  IIconList* icons = record.GetIconList();
  std::wstring icon = icons != nullptr ? icons->GetIconPath(kProductIconName) : std::wstring();
  if (icon.empty() || platform::IsAbsolutePath(icon)) return icon;
  // Image paths are relative to the setup program. The entry outlives the
  // installation medium, so it points at the maintenance copy's folder.
  const std::wstring maintenanceFolder = platform::FolderOf(record.GetMaintenanceExePath());
  return platform::JoinPath(platform::JoinPath(record.GetInstalledLocation(), maintenanceFolder), icon);
}

// --- the bundle's entry -------------------------------------------------------

int CArpEntry::WriteArpEntry(ISetupConfigData& record) const {
  return Guarded(L"Exception in WriteArpEntry ", 0, [&]() -> int {
    std::wstring rootPath = WithoutTrailingBackslash(location_.uninstallRoot);
    platform::UniqueHKey root;
    if (registry::OpenKey(rootPath, KEY_READ | KEY_CREATE_SUB_KEY, location_.view, root) != ERROR_SUCCESS) {
      LogError(L"Not able to open the key %s", location_.uninstallRoot.c_str());
      return 0;
    }
    std::wstring bundleKey = CleanKeyName(record.GetBootstrapperRegistry());
    if (bundleKey.empty()) {
      // Writing with an empty name would spread the values over the root itself.
      LogError(
          L"CArpEntry::WriteArpEntry() - The bundle key name (BootstrapperRegistry) is empty; the entry is not "
          L"written.");
      return 0;
    }
    if (!IsUsableBundleKeyName(bundleKey)) {
      LogError(
          L"CArpEntry::WriteArpEntry() - The bundle key name (BootstrapperRegistry) \"%s\" is not a usable entry "
          L"name (at most %u characters, no backslash, not a product code); the entry is not written.",
          bundleKey.c_str(), static_cast<unsigned>(kMaxBundleKeyLength));
      return 0;
    }

    platform::UniqueHKey product;
    if (!OpenMainProductEntry(record, product)) return 0;
    const std::wstring helpLink = ReadString(product.Get(), kHelpLink);
    const std::wstring helpTelephone = ReadString(product.Get(), kHelpTelephone);
    const std::wstring publisher = ReadString(product.Get(), kPublisher);
    const std::wstring readme = ReadString(product.Get(), kReadme);
    const std::wstring urlInfoAbout = ReadString(product.Get(), kUrlInfoAbout);
    const std::wstring displayVersion = ReadString(product.Get(), kDisplayVersion);
    const std::wstring comments = ReadString(product.Get(), kComments);
    const std::wstring urlUpdateInfo = ReadString(product.Get(), kUrlUpdateInfo);
    product.Reset();

    platform::UniqueHKey entry;
    if (!CreateEntry(bundleKey, entry)) return 0;

    // The size walk can take a while on a large folder; it runs before the
    // first value is written so the entry never shows half its values.
    const DWORD estimatedSize = EstimatedSizeOf(record);
    const std::wstring installedLocation = record.GetInstalledLocation();
    const std::wstring productName = record.GetProductName();
    if (productName.empty()) {
      LogWarning(L"CArpEntry::WriteArpEntry() - The bundle title is empty; the entry %s has no display name.",
                 bundleKey.c_str());
    }
    if (installedLocation.empty()) {
      LogWarning(L"CArpEntry::WriteArpEntry() - The installation folder is empty for the entry %s.", bundleKey.c_str());
    }
    const std::vector<EntryValue> values = {
        Text(kBrand, record.GetBrand()),
        Text(kComments, comments),
        Text(kDisplayIcon, DisplayIconPath(record)),
        Text(kDisplayName, productName),
        Text(kDisplayVersion, displayVersion),
        Number(kEstimatedSize, estimatedSize),
        Text(kExePathValue, record.GetSourcePath()),
        Text(kHelpLink, helpLink),
        Text(kHelpTelephone, helpTelephone),
        Text(kInstallDir, installedLocation),
        Text(kInstallLocation, ResolvedInstallLocation(record)),
        Number(kLanguage, record.GetLanguageId()),
        Text(kPublisher, publisher),
        Text(kReadme, readme),
        Text(kUninstallString, BuildUninstallString(installedLocation, record.GetMaintenanceExePath())),
        Text(kUrlInfoAbout, urlInfoAbout),
        Text(kUrlUpdateInfo, urlUpdateInfo),
    };
    if (!WriteValues(entry.Get(), location_.uninstallRoot + bundleKey, values, L"WriteArpEntry")) return 0;
    LogInformation(L"CArpEntry::WriteArpEntry() - The Add/Remove Programs entry %s is written.", bundleKey.c_str());
    return 1;
  });
}

int CArpEntry::UpdateRegistryOnMinorUpgrade(ISetupConfigData& record) const {
  return Guarded(L"Exception in UpdateRegistryOnMinorUpgrade ", 0, [&]() -> int {
    platform::UniqueHKey product;
    if (!OpenMainProductEntry(record, product)) return 0;
    product.Reset();
    platform::UniqueHKey entry;
    if (!OpenBundleEntry(record.GetBootstrapperRegistry(), KEY_SET_VALUE, entry)) return 0;
    const std::vector<EntryValue> values = {Number(kEstimatedSize, EstimatedSizeOf(record))};
    return WriteValues(entry.Get(), location_.uninstallRoot + CleanKeyName(record.GetBootstrapperRegistry()), values,
                       L"UpdateRegistryOnMinorUpgrade")
               ? 1
               : 0;
  });
}

// --- child entries ----------------------------------------------------------------

int CArpEntry::AddChildEntry(ISetupConfigData& record, const std::wstring& keyName, const std::wstring& displayName,
                             const std::wstring& sourceKey) const {
  return Guarded(L"Exception in AddChildEntry ", 0, [&]() -> int {
    const std::wstring childKey = CleanKeyName(keyName);
    const std::wstring bundleKey = CleanKeyName(record.GetBootstrapperRegistry());
    if (childKey.empty() || bundleKey.empty()) {
      LogError(
          L"CArpEntry::AddChildEntry() - The child key name \"%s\" or the bundle key name \"%s\" is empty; no child "
          L"entry is written.",
          keyName.c_str(), bundleKey.c_str());
      return 0;
    }
    std::wstring sourceVersion;
    std::wstring sourceName;
    const std::wstring source = CleanKeyName(sourceKey);
    platform::UniqueHKey sourceEntry;
    if (!source.empty() && OpenProductEntry(source, sourceEntry) == ERROR_SUCCESS) {
      sourceVersion = ReadString(sourceEntry.Get(), kDisplayVersion);
      sourceName = ReadString(sourceEntry.Get(), kDisplayName);
    } else {
      LogWarning(
          L"CArpEntry::AddChildEntry() - The source entry %s%s could not be opened; its name and version stay "
          L"empty.",
          location_.uninstallRoot.c_str(), source.c_str());
    }
    sourceEntry.Reset();

    platform::UniqueHKey child;
    if (!CreateEntry(childKey, child)) return 0;
    const std::vector<EntryValue> values = {
        Text(kDisplayName, displayName),
        Number(kNoModify, 1),
        Number(kNoRemove, 1),
        Number(kNoRepair, 1),
        Text(kParentKeyName, bundleKey),
        Text(kParentDisplayName, sourceName),
        Text(kDisplayVersion, sourceVersion),
        Text(kDisplayIcon, DisplayIconPath(record)),
        Text(kUninstallString, L"Null"),
    };
    if (!WriteValues(child.Get(), location_.uninstallRoot + childKey, values, L"AddChildEntry")) return 0;
    child.Reset();

    if (sourceVersion.empty()) {
      LogInformation(L"CArpEntry::AddChildEntry() - The source has no version; the DisplayVersion of %s is kept.",
                     bundleKey.c_str());
      return 1;
    }
    return UpdateDisplayVersion(bundleKey, sourceVersion);
  });
}

int CArpEntry::UpdateDisplayVersion(const std::wstring& bundleKeyName, const std::wstring& version) const {
  return Guarded(L"Exception in UpdateDisplayVersion ", 0, [&]() -> int {
    if (version.empty()) {
      LogWarning(L"CArpEntry::UpdateDisplayVersion() - The version is empty; the DisplayVersion of %s is kept.",
                 bundleKeyName.c_str());
      return 0;
    }
    platform::UniqueHKey entry;
    if (!OpenBundleEntry(bundleKeyName, KEY_SET_VALUE, entry)) return 0;
    const std::vector<EntryValue> values = {Text(kDisplayVersion, version)};
    return WriteValues(entry.Get(), location_.uninstallRoot + CleanKeyName(bundleKeyName), values,
                       L"UpdateDisplayVersion")
               ? 1
               : 0;
  });
}

int CArpEntry::ModifySourcePathRegkey(const ISetupConfigData& record) const {
  return Guarded(L"Exception in ModifySourcePathRegkey ", 0, [&]() -> int {
    const std::wstring sourcePath = record.GetSourcePath();
    if (sourcePath.empty()) {
      LogWarning(L"CArpEntry::ModifySourcePathRegkey() - The source path is empty; the stored one is kept.");
      return 0;
    }
    platform::UniqueHKey entry;
    if (!OpenBundleEntry(record.GetBootstrapperRegistry(), KEY_SET_VALUE, entry)) return 0;
    const std::vector<EntryValue> values = {Text(kExePathValue, sourcePath)};
    return WriteValues(entry.Get(), location_.uninstallRoot + CleanKeyName(record.GetBootstrapperRegistry()), values,
                       L"ModifySourcePathRegkey")
               ? 1
               : 0;
  });
}

// --- read-back at start-up ----------------------------------------------------------

bool CArpEntry::ReadArpSettings(ISetupConfigData& record) const {
  return Guarded(L"Exception in ReadArpSettings ", false, [&]() -> bool {
    platform::UniqueHKey entry;
    if (!OpenBundleEntry(record.GetBootstrapperRegistry(), KEY_READ, entry)) return false;
    struct Field {
      const wchar_t* name;
      void (ISetupConfigData::*set)(const std::wstring&);
    };
    const Field fields[] = {
        {kExePathValue, &ISetupConfigData::SetSourcePath},
        {kInstallDir, &ISetupConfigData::SetInstalledLocation},
        {kBrand, &ISetupConfigData::SetBrand},
    };
    for (const Field& field : fields) {
      std::wstring value = ReadString(entry.Get(), field.name);
      if (value.empty()) {
        LogWarning(
            L"CArpEntry::ReadArpSettings() - The value %s of the entry %s is missing or empty; the current "
            L"setting is kept.",
            field.name, record.GetBootstrapperRegistry().c_str());
        continue;
      }
      (record.*field.set)(value);
    }
    return true;
  });
}

std::wstring CArpEntry::ReadInstallFolder(const std::wstring& bundleKeyName) const {
  const std::wstring name = CleanKeyName(bundleKeyName);
  const std::wstring path = location_.uninstallRoot + name;
  platform::UniqueHKey entry;
  if (name.empty() || registry::OpenKey(path, KEY_READ, location_.view, entry) != ERROR_SUCCESS) {
    // No entry is the usual case of a first installation: not worth a warning.
    LogDebug(L"CArpEntry::ReadInstallFolder() - Unable to open the key %s.", path.c_str());
    return {};
  }
  return ReadString(entry.Get(), kInstallDir);
}

LANGID CArpEntry::ReadApplicationLanguage(ISetupConfigData& record) const {
  return Guarded(L"Exception in ReadApplicationLanguage ", LANGID{0}, [&]() -> LANGID {
    platform::UniqueHKey entry;
    if (!OpenBundleEntry(record.GetBootstrapperRegistry(), KEY_READ, entry)) return 0;
    DWORD language = 0;
    if (!registry::ReadDwordValue(entry.Get(), kLanguage, language) || language == 0 || language > 0xFFFF) {
      LogWarning(L"CArpEntry::ReadApplicationLanguage() - The entry %s holds no usable Language value.",
                 record.GetBootstrapperRegistry().c_str());
      return 0;
    }
    record.SetLanguageId(static_cast<LANGID>(language));
    return static_cast<LANGID>(language);
  });
}

std::wstring CArpEntry::GetDisplayVersion(const std::wstring& productKeyName) const {
  return Guarded(L"Exception in GetDisplayVersion ", std::wstring(), [&]() -> std::wstring {
    const std::wstring name = CleanKeyName(productKeyName);
    platform::UniqueHKey entry;
    if (name.empty() || OpenProductEntry(name, entry) != ERROR_SUCCESS) {
      LogInformation(L"Unable to oepn the registry key %s", (location_.uninstallRoot + name).c_str());
      return {};
    }
    return ReadString(entry.Get(), kDisplayVersion);
  });
}

// --- deletion ---------------------------------------------------------------------

int CArpEntry::DeleteUninstallKey(const std::wstring& name) const {
  const std::wstring keyName = CleanKeyName(name);
  if (!keyName.empty() && !IsOwnEntry(keyName)) {
    LogError(L"The Add/Remove Programs entry %s%s belongs to another product; the setup does not delete it.",
             location_.uninstallRoot.c_str(), keyName.c_str());
    return 0;
  }
  return DeleteKeyUnder(location_.uninstallRoot, name, location_.view,
                        L"Unable to delete the registry key with the name %s under the uninstall path");
}

int CArpEntry::DeleteInstallerKey(const std::wstring& name) const {
  // Windows Installer keeps its data in the 64-bit view on a 64-bit system.
  return DeleteKeyUnder(location_.installerRoot, name, registry::View::Force64,
                        L"Unable to delete the registry key with the name %s under the Installer path");
}

int CArpEntry::DeleteKeyUnder(const std::wstring& root, const std::wstring& name, registry::View view,
                              const wchar_t* failureText) const {
  return Guarded(L"Exception in DeleteKeyUnder ", 0, [&]() -> int {
    const std::wstring keyName = CleanKeyName(name);
    if (keyName.empty()) {
      LogDebug(L"The registry key to be deleted is empty, hence no action is performed! ");
      return 1;
    }
    platform::UniqueHKey rootKey;
    if (registry::OpenKey(WithoutTrailingBackslash(root), KEY_READ, view, rootKey) != ERROR_SUCCESS) {
      LogError(L"Unable to open the registry key with the name %s ", root.c_str());
      return 0;
    }
    rootKey.Reset();
    LogInformation(L"Deleting the registry key with the name %s under the path %s from HKEY_LOCAL_MACHINE hive.",
                   keyName.c_str(), root.c_str());
    LSTATUS status = registry::DeleteKeyTree(root + keyName, view);
    if (status == ERROR_FILE_NOT_FOUND) {
      // Already gone (removed by hand or by an earlier run): the goal is met.
      LogInformation(L"The registry key %s%s does not exist; nothing to delete.", root.c_str(), keyName.c_str());
      return 1;
    }
    if (status != ERROR_SUCCESS) {
      LogWarning(failureText, keyName.c_str());
      LogWarning(L"Deleting %s%s failed with error %ld.", root.c_str(), keyName.c_str(), static_cast<long>(status));
      return 0;
    }
    return 1;
  });
}
