#pragma once
// What the MSI and the EXE product installers share: the record, the event
// dispatcher of the run, and the command-line and log steps both take.

#include <windows.h>

#include <string>

class IEventDispatcher;
class IProductAttributes;
class ISetupConfigData;
class ISilentConfigData;

// Separator line of the per-product status blocks.
extern const wchar_t kStatusSeparator[];

class CSetupInstallerBase {
 public:
  CSetupInstallerBase(ISetupConfigData& record, IEventDispatcher* dispatcher);
  virtual ~CSetupInstallerBase();
  CSetupInstallerBase(const CSetupInstallerBase&) = delete;
  CSetupInstallerBase& operator=(const CSetupInstallerBase&) = delete;

  // Runs one product; returns the Windows Installer or process result unchanged.
  [[nodiscard]] virtual DWORD Execute(IProductAttributes& product, const std::wstring& commandLine) = 0;
  virtual void Cancel() = 0;

  // The silent configuration's key/value table supplies the "AddInfo_<code>" texts.
  void SetSilentConfigData(const ISilentConfigData* silentConfig) { silentConfig_ = silentConfig; }

  // Replaces [NAME] references by the values of the bundle's property string
  // (NAME="value" assignments); unknown names and empty values stay as written.
  static void ResolvePropertyReferences(const std::wstring& propertyString, std::wstring& commandLine);

 protected:
  // Logs the configured "AddInfo_<code>" text for a non-zero result.
  void LogAdditionalInfo(DWORD code) const;

  ISetupConfigData& record_;
  IEventDispatcher* dispatcher_;
  const ISilentConfigData* silentConfig_ = nullptr;
};
