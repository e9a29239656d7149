#pragma once
// The one record of everything the run knows about the bundle: settings read
// from SetupConfig.xml, the lists built from it, and run-time values shared
// between subsystems. Readers see ISetupConfigData, the XML readers fill it
// through ISetupConfigDataForParser.

#include <memory>
#include <functional>
#include <string>

#include "config/ISetupConfigData.h"
#include "config/ISetupConfigDataForParser.h"
#include "config/BrandDetailsList.h"
#include "config/IconList.h"
#include "config/LocalizationSettingList.h"
#include "config/LogFileDetails.h"
#include "config/PreInstallDialogList.h"
#include "config/PreconditionProcessCheckList.h"
#include "config/ProductGroupList.h"
#include "config/WixFileContainer.h"
#include "config/WixLocalizationList.h"

class CSetupConfigData : public ISetupConfigData, public ISetupConfigDataForParser {
 public:
  CSetupConfigData();
  virtual ~CSetupConfigData();
  CSetupConfigData(const CSetupConfigData&) = delete;
  CSetupConfigData& operator=(const CSetupConfigData&) = delete;

  // ISetupConfigData
  int GetYOffsetOfSelectionTree() const override { return yOffsetOfSelectionTree_; }
  bool IsRebootEnabled() const override { return rebootEnabled_; }
  std::wstring GetBootstrapperRegistry() const override { return bootstrapperRegistry_; }
  std::wstring GetProductName() override;
  bool HasWindowsInstallerPath() const override { return !windowsInstallerPath_.empty(); }
  std::wstring GetWindowsInstallerPath() const override { return windowsInstallerPath_; }
  int GetPathLength() const override { return pathLength_; }
  int GetSourcePathMaxLength() const override { return sourcePathMaxLength_; }
  std::wstring GetInstallLocation() const override { return installLocation_; }
  void ReplaceProductNameToken(std::wstring& text) override;
  std::wstring GetMainProductUninstallCommand() const override { return mainProductUninstallCommand_; }
  std::wstring GetMaintenanceExePath() const override { return maintenanceExePath_; }
  IProductGroupList* GetProductGroupList() override { return productGroups_.get(); }
  ILocalizationSetting* GetLocalizationSettings() override { return localizationSettings_.get(); }
  IPreInstallDialogList* GetPreInstallDialogList() override { return preInstallDialogs_.get(); }
  const ILogFileDetails* GetLogFileDetails() const override { return logFileDetails_.get(); }
  IIconList* GetIconList() override { return icons_.get(); }
  IWixLocalizationList* GetWixLocalizationList() override { return wixLocalizations_.get(); }
  IBrandDetailsList* GetBrandDetailsList() override { return brands_.get(); }
  HICON GetSetupIcon() override;
  IProductAttributes* GetWixSourceProduct() override { return wixSourceProduct_; }
  int GetSourcePathMaxUnicode() const override { return sourcePathMaxUnicode_; }
  int GetMSIMutexTimeout() const override { return msiMutexTimeout_; }
  std::wstring GetBrand() const override { return brand_; }
  void SetBrand(const std::wstring& brand) override { brand_ = brand; }
  LANGID GetLanguageId() const override { return languageId_; }
  void SetLanguageId(LANGID languageId) override { languageId_ = languageId; }
  std::wstring GetInstalledLocation() const override { return installedLocation_; }
  void SetInstalledLocation(const std::wstring& location) override { installedLocation_ = location; }
  int GetExecutionType() const override { return executionType_; }
  void SetExecutionType(int executionType) override { executionType_ = executionType; }
  void SetInstallProperties(const std::wstring& properties) override { installProperties_ = properties; }
  std::wstring GetInstallProperties() const override { return installProperties_; }
  std::wstring GetMainProductLocation() const override { return mainProductLocation_; }
  void SetSourcePath(const std::wstring& path) override { sourcePath_ = path; }
  std::wstring GetSourcePath() const override { return sourcePath_; }
  void SetProductName(const std::wstring& name) override { productName_ = name; }
  // Where GetProductName asks for the main package's ProductName while the
  // cache is empty (the setup manager's session; the record cannot reach it).
  // The lookup answers empty while no session exists.
  void SetProductNameLookup(std::function<std::wstring()> lookup) { productNameLookup_ = std::move(lookup); }
  std::wstring GetSetupFolder() const override { return setupFolder_; }
  void SetSetupFolder(const std::wstring& folder) override { setupFolder_ = folder; }
  std::wstring GetMajorUpgradeValue() const override { return majorUpgradeValue_; }
  void SetMajorUpgradeValue(const std::wstring& value) override { majorUpgradeValue_ = value; }
  std::wstring GetMaintenanceExeFolder() const override { return maintenanceExeFolder_; }
  void SetMaintenanceExeFolder(const std::wstring& folder) override { maintenanceExeFolder_ = folder; }
  bool IsLaunchedFromARP() const override { return launchedFromARP_; }
  void SetLaunchedFromARP(bool launched) override { launchedFromARP_ = launched; }
  bool IsUIMode() const override { return uiMode_; }
  void SetUIMode(bool uiMode) override { uiMode_ = uiMode; }
  void SetFeatureSelection(const std::wstring& selected, const std::wstring& deselected) override {
    selectedFeatures_ = selected;
    deselectedFeatures_ = deselected;
  }
  std::wstring GetSelectedFeatures() const override { return selectedFeatures_; }
  std::wstring GetDeselectedFeatures() const override { return deselectedFeatures_; }
  void SetRestoreMode(bool restore) override { restoreMode_ = restore; }
  bool IsRestoreMode() const override { return restoreMode_; }
  std::wstring GetRebootInstallMode() const override { return rebootInstallMode_; }
  bool IsAccumulateConditionalReboot() const override { return accumulateConditionalReboot_; }
  bool IsAccessibilityEnabled() const override { return accessibilityEnabled_; }
  bool IsRegisterableSetup() const override { return registerableSetup_; }
  IPreconditionProcessCheckList* GetPreconditionProcessCheckList() override { return processChecks_.get(); }
  std::wstring GetRunningProcessesText() const override { return runningProcessesText_; }
  void SetRunningProcessesText(const std::wstring& text) override { runningProcessesText_ = text; }
  bool IsNested() const override { return nested_; }
  void SetNested(bool nested) override { nested_ = nested; }
  std::wstring GetPlatform() const override { return platform_; }

  // ISetupConfigDataForParser
  std::wstring GetRCBinaryPath() const override { return rcBinaryPath_; }
  CWixFileContainer* GetWixFileContainer() override { return wixFiles_.get(); }
  ILocalizationSettingForParser* GetOrCreateLocalizationSettings() override;
  IIconListForParser* GetOrCreateIconList() override;
  IWixLocalizationListForParser* GetOrCreateWixLocalizationList() override;
  IProductGroupListForParser* GetOrCreateProductGroupList(int expectedCount) override;
  IPreInstallDialogListForParser* GetOrCreatePreInstallDialogList() override;
  void CreateLogFileDetails(const std::wstring& name, const std::wstring& level, int mode,
                            int maxLengthOfFile) override;
  CWixFileContainer* GetOrCreateWixFileContainer(int expectedCount) override;
  IBrandDetailsList* GetOrCreateBrandDetailsList() override;
  std::wstring GetStyleConfigPath() const override { return styleConfigPath_; }
  std::wstring GetMainDialogConfigPath() const override { return mainDialogConfigPath_; }
  void SetRegisterableSetup(bool value) override { registerableSetup_ = value; }
  void SetStyleConfigPath(const std::wstring& path) override { styleConfigPath_ = path; }
  void SetMainDialogConfigPath(const std::wstring& path) override { mainDialogConfigPath_ = path; }
  void SetYOffsetOfSelectionTree(int value) override { yOffsetOfSelectionTree_ = value; }
  void SetRebootEnabled(bool value) override { rebootEnabled_ = value; }
  void SetRebootInstallMode(const std::wstring& value) override { rebootInstallMode_ = value; }
  void SetAccumulateConditionalReboot(bool value) override { accumulateConditionalReboot_ = value; }
  void SetAccessibilityEnabled(bool value) override { accessibilityEnabled_ = value; }
  void SetBootstrapperRegistry(const std::wstring& value) override { bootstrapperRegistry_ = value; }
  void SetRCBinaryPath(const std::wstring& value) override { rcBinaryPath_ = value; }
  void SetWindowsInstallerPath(const std::wstring& value) override { windowsInstallerPath_ = value; }
  void SetPathLength(int value) override { pathLength_ = value; }
  void SetMSIMutexTimeout(int value) override { msiMutexTimeout_ = value; }
  void SetSourcePathMaxLength(int value) override { sourcePathMaxLength_ = value; }
  void SetInstallLocation(const std::wstring& value) override { installLocation_ = value; }
  void SetMainProductUninstallCommand(const std::wstring& value) override { mainProductUninstallCommand_ = value; }
  void SetMainProductLocation(const std::wstring& value) override { mainProductLocation_ = value; }
  void SetMaintenanceExePath(const std::wstring& value) override { maintenanceExePath_ = value; }
  void SetWixSourceProduct(IProductAttributesForParser* product) override;
  void SetSourcePathMaxUnicode(int value) override { sourcePathMaxUnicode_ = value; }
  void SetPreconditionProcessCheckList(std::unique_ptr<CPreconditionProcessCheckList> list) override;
  void SetPlatform(bool is64Bit) override { platform_ = is64Bit ? L"x64" : L"x86"; }

 private:
  bool rebootEnabled_ = false;
  int yOffsetOfSelectionTree_ = 0;
  int pathLength_ = 0;
  int sourcePathMaxLength_ = 0;
  int sourcePathMaxUnicode_ = 0;
  int msiMutexTimeout_ = 0;
  bool accumulateConditionalReboot_ = false;
  bool accessibilityEnabled_ = false;
  std::wstring styleConfigPath_;
  std::wstring mainDialogConfigPath_;
  std::wstring bootstrapperRegistry_;
  std::wstring productName_;
  std::function<std::wstring()> productNameLookup_;
  std::wstring rcBinaryPath_;
  std::wstring windowsInstallerPath_;
  std::wstring installLocation_;
  std::wstring maintenanceExePath_;
  std::wstring brand_;
  LANGID languageId_ = 0;
  std::wstring installedLocation_;
  int executionType_ = 8;
  std::wstring installProperties_;
  std::wstring mainProductUninstallCommand_;
  std::wstring mainProductLocation_;
  std::wstring sourcePath_;
  std::wstring setupFolder_;
  std::wstring majorUpgradeValue_;
  std::wstring maintenanceExeFolder_;
  bool launchedFromARP_ = false;
  bool uiMode_ = false;
  std::wstring selectedFeatures_;
  std::wstring deselectedFeatures_;
  bool restoreMode_ = false;
  std::wstring rebootInstallMode_;
  bool registerableSetup_ = true;
  std::wstring runningProcessesText_;
  bool nested_ = false;
  std::wstring platform_;

  // Owned lists, null until first created; the destructor deletes them in
  // this order: product groups, log file settings, images, brands, pre-install
  // dialogs, language settings, WiX source files, WiX strings, process checks.
  std::unique_ptr<CProductGroupList> productGroups_;
  std::unique_ptr<CLogFileDetails> logFileDetails_;
  std::unique_ptr<CIconList> icons_;
  std::unique_ptr<CBrandDetailsList> brands_;
  std::unique_ptr<CPreInstallDialogList> preInstallDialogs_;
  std::unique_ptr<CLocalizationSettingList> localizationSettings_;
  std::unique_ptr<CWixFileContainer> wixFiles_;
  std::unique_ptr<CWixLocalizationList> wixLocalizations_;
  std::unique_ptr<CPreconditionProcessCheckList> processChecks_;
  // Not owned: a product of productGroups_.
  IProductAttributes* wixSourceProduct_ = nullptr;
};
