#pragma once
// Hands out the installer for a product kind: one MSI installer for "MSI" and
// "MSP", one EXE installer for "EXE" and "Registry", each made on first use
// and kept for the whole run.

#include <memory>

class CExeInstaller;
class CMSIInstaller;
class CSetupInstallerBase;
class IEventDispatcher;
class ISetupConfigData;
class ISilentConfigData;

class CInstallerFactory {
 public:
  CInstallerFactory(ISetupConfigData& record, IEventDispatcher* dispatcher);
  ~CInstallerFactory();
  CInstallerFactory(const CInstallerFactory&) = delete;
  CInstallerFactory& operator=(const CInstallerFactory&) = delete;

  // Null for a kind that does not exist.
  [[nodiscard]] CSetupInstallerBase* GetInstaller(int productType);
  void SetSilentConfigData(const ISilentConfigData* silentConfig) { silentConfig_ = silentConfig; }

 private:
  ISetupConfigData& record_;
  IEventDispatcher* dispatcher_;
  const ISilentConfigData* silentConfig_ = nullptr;
  std::unique_ptr<CMSIInstaller> msiInstaller_;
  std::unique_ptr<CExeInstaller> exeInstaller_;
};
