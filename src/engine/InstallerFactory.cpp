#include "engine/InstallerFactory.h"

#include "config/IProductAttributes.h"
#include "engine/ExeInstaller.h"
#include "msi/MSIInstaller.h"

CInstallerFactory::CInstallerFactory(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : record_(record), dispatcher_(dispatcher) {}

CInstallerFactory::~CInstallerFactory() = default;

CSetupInstallerBase* CInstallerFactory::GetInstaller(int productType) {
  switch (productType) {
    case kProductTypeMsi:
    case kProductTypeMsp:
      if (!msiInstaller_) msiInstaller_ = std::make_unique<CMSIInstaller>(record_, dispatcher_);
      msiInstaller_->SetSilentConfigData(silentConfig_);
      return msiInstaller_.get();
    case kProductTypeExe:
    case kProductTypeRegistry:
      if (!exeInstaller_) exeInstaller_ = std::make_unique<CExeInstaller>(record_, dispatcher_);
      exeInstaller_->SetSilentConfigData(silentConfig_);
      return exeInstaller_.get();
    default:
      return nullptr;
  }
}
