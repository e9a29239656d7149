#pragma once
// The bundle's own Add/Remove Programs entry under HKEY_LOCAL_MACHINE, the
// child entries of applied patches, and reading the entry back at start-up.
//
// The bundle's entry sits beside the entry Windows Installer writes for the
// main product and copies its descriptive values (publisher, version, links),
// so both show the same; the bundle adds its name, brand, icon, folder, size
// and an uninstall command that starts the maintenance copy with "/arp".
//
// Every operation logs its own failures and returns a flag (1/0 or bool); no
// exception leaves it. Called on the user-interface thread only.

#include <windows.h>

#include <string>

#include "registry/RegistryUtil.h"

class ISetupConfigData;

class CArpEntry {
 public:
  static constexpr wchar_t kUninstallRoot[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  static constexpr wchar_t kInstallerRoot[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\";
  // The icon of the image list shown beside the entry.
  static constexpr wchar_t kProductIconName[] = L"ProductIcon";

  // Value names of the bundle's entry and of the child entries.
  static constexpr wchar_t kBrand[] = L"BRAND";
  static constexpr wchar_t kComments[] = L"Comments";
  static constexpr wchar_t kDisplayIcon[] = L"DisplayIcon";
  static constexpr wchar_t kDisplayName[] = L"DisplayName";
  static constexpr wchar_t kDisplayVersion[] = L"DisplayVersion";
  static constexpr wchar_t kEstimatedSize[] = L"EstimatedSize";
  static constexpr wchar_t kExePathValue[] = L"ExePathValue";
  static constexpr wchar_t kHelpLink[] = L"HelpLink";
  static constexpr wchar_t kHelpTelephone[] = L"HelpTelephone";
  static constexpr wchar_t kInstallDir[] = L"INSTALLDIR";
  static constexpr wchar_t kInstallLocation[] = L"InstallLocation";
  static constexpr wchar_t kLanguage[] = L"Language";
  static constexpr wchar_t kPublisher[] = L"Publisher";
  static constexpr wchar_t kReadme[] = L"Readme";
  static constexpr wchar_t kUninstallString[] = L"UninstallString";
  static constexpr wchar_t kUrlInfoAbout[] = L"URLInfoAbout";
  static constexpr wchar_t kUrlUpdateInfo[] = L"URLUpdateInfo";
  static constexpr wchar_t kNoModify[] = L"NoModify";
  static constexpr wchar_t kNoRemove[] = L"NoRemove";
  static constexpr wchar_t kNoRepair[] = L"NoRepair";
  static constexpr wchar_t kParentKeyName[] = L"ParentKeyName";
  static constexpr wchar_t kParentDisplayName[] = L"ParentDisplayName";

  // Where the entries live. The defaults are the real keys and the process's
  // own registry view (the 32-bit view in the shipped 32-bit build). The main
  // product's entry is looked up in `view` first and then in the 64-bit view,
  // because a 64-bit package registers itself only there.
  struct Location {
    std::wstring uninstallRoot = kUninstallRoot;  // with its trailing backslash
    std::wstring installerRoot = kInstallerRoot;  // with its trailing backslash; always the 64-bit view
    registry::View view = registry::View::Default;
  };

  CArpEntry() = default;
  explicit CArpEntry(Location location);

  // Writes (or rewrites) the bundle's entry, Uninstall root + the record's
  // bundle key name (GetBootstrapperRegistry), with all its values; the copied
  // values come from the main product's entry (the product code in braces of
  // GetMainProductUninstallCommand). 1 on success, 0 (logged) when the root,
  // the main product's entry or the bundle's key cannot be opened or written.
  // Called by the installation, minor-upgrade and repair executors at the end
  // of a successful run.
  [[nodiscard]] int WriteArpEntry(ISetupConfigData& record) const;

  // Rewrites only "EstimatedSize" of an existing bundle entry from the
  // installation location; the entry is never created here. 1 on success.
  // Called by the modify executor after the features changed.
  [[nodiscard]] int UpdateRegistryOnMinorUpgrade(ISetupConfigData& record) const;

  // Writes the child entry Uninstall root + keyName for an applied patch
  // (display name, no modify/remove/repair, parent key and display name,
  // version, icon) and then sets the bundle's "DisplayVersion" to the version
  // of the source entry (Uninstall root + sourceKey, usually the main
  // product's code). An empty source version leaves the bundle's version as it
  // is. 1 on success. Called by the installation and patch executors for
  // every applied patch, after WriteArpEntry.
  [[nodiscard]] int AddChildEntry(ISetupConfigData& record, const std::wstring& keyName,
                                  const std::wstring& displayName, const std::wstring& sourceKey) const;

  // Sets "DisplayVersion" of the existing entry Uninstall root + bundleKeyName.
  // An empty version is refused (the stored one is kept). 1 on success.
  [[nodiscard]] int UpdateDisplayVersion(const std::wstring& bundleKeyName, const std::wstring& version) const;

  // Writes the record's source path (GetSourcePath) as "ExePathValue" of the
  // existing bundle entry. Called by the unavailable-source dialog once the
  // user found the bundle's files at a new place. 1 on success.
  [[nodiscard]] int ModifySourcePathRegkey(const ISetupConfigData& record) const;

  // Start-up read-back of an installed bundle: "ExePathValue" -> SetSourcePath,
  // "INSTALLDIR" -> SetInstalledLocation, "BRAND" -> SetBrand. A missing or
  // empty value leaves the record's field as it was. False (logged) when the
  // entry cannot be opened. Called by the execution-type code at start-up for
  // every run kind but a first installation.
  [[nodiscard]] bool ReadArpSettings(ISetupConfigData& record) const;

  // "INSTALLDIR" of the entry Uninstall root + bundleKeyName (own view): where
  // an installed bundle lives. Empty (DEBUG line) when the entry or the value
  // is missing. Called by the installation executor before a major upgrade.
  [[nodiscard]] std::wstring ReadInstallFolder(const std::wstring& bundleKeyName) const;

  // The DWORD "Language" of the bundle's entry, made the record's language
  // when it is not 0. Returns the language read, or 0 when the entry or value
  // is missing (the caller then falls back to the system's default language).
  // Called by the execution-type code at start-up.
  [[nodiscard]] LANGID ReadApplicationLanguage(ISetupConfigData& record) const;

  // "DisplayVersion" of Uninstall root + productKeyName (own view, then the
  // 64-bit view); empty when missing. Called by the patch launcher.
  [[nodiscard]] std::wstring GetDisplayVersion(const std::wstring& productKeyName) const;

  // Delete Uninstall root + name (own view) / Installer root + name (64-bit
  // view) with all subkeys. An empty name deletes nothing and succeeds; so
  // does a key that is already gone. 1 on success, 0 (logged) on failure.
  // Called by the removal, repair and minor-upgrade executors and by rollback.
  [[nodiscard]] int DeleteUninstallKey(const std::wstring& name) const;
  [[nodiscard]] int DeleteInstallerKey(const std::wstring& name) const;

  // Whether `name` may name the bundle's own entry: not empty, at most
  // kMaxBundleKeyLength characters, no backslash or slash, and not in the
  // braces of a product code (Windows Installer's own entries).
  [[nodiscard]] static bool IsUsableBundleKeyName(const std::wstring& name);
  static constexpr size_t kMaxBundleKeyLength = 128;
  // Whether Uninstall root + keyName is absent or was written by a setup: a
  // bundle entry (its UninstallString starts a maintenance copy with "/arp"),
  // a child entry (UninstallString "Null" under a ParentKeyName), or a key
  // without values. Another product's entry is never written or deleted.
  [[nodiscard]] bool IsOwnEntry(const std::wstring& keyName) const;

  // "\"" + installFolder + maintenanceExePath + "\" /arp", with exactly one
  // backslash between the two parts.
  [[nodiscard]] static std::wstring BuildUninstallString(const std::wstring& installFolder,
                                                         const std::wstring& maintenanceExePath);

 private:
  int DeleteKeyUnder(const std::wstring& root, const std::wstring& name, registry::View view,
                     const wchar_t* failureText) const;

  // Opens Uninstall root + keyName for reading in the own view, then in the
  // 64-bit view when it is missing there; the Windows result.
  LSTATUS OpenProductEntry(const std::wstring& keyName, platform::UniqueHKey& key) const;
  // Opens the record's main product entry; logs and returns false when missing.
  bool OpenMainProductEntry(ISetupConfigData& record, platform::UniqueHKey& key) const;
  // Opens the existing bundle entry Uninstall root + name; logs "Not able to open the key".
  bool OpenBundleEntry(const std::wstring& bundleKeyName, REGSAM access, platform::UniqueHKey& key) const;
  // Creates (or opens) Uninstall root + keyName for writing; logs on failure
  // and refuses an existing entry that is not the setup's own.
  bool CreateEntry(const std::wstring& keyName, platform::UniqueHKey& key) const;
  // "EstimatedSize": the installation location's size in KiB.
  static DWORD EstimatedSizeOf(ISetupConfigData& record);
  static std::wstring ResolvedInstallLocation(ISetupConfigData& record);
  static std::wstring DisplayIconPath(ISetupConfigData& record);

  Location location_;
};
