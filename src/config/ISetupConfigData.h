#pragma once
// Read face of the bundle's configuration record, used during the run.

#include <windows.h>

#include <string>

class IBrandDetailsList;
class IIconList;
class ILocalizationSetting;
class ILogFileDetails;
class IPreInstallDialogList;
class IPreconditionProcessCheckList;
class IProductAttributes;
class IProductGroupList;
class IWixLocalizationList;

class ISetupConfigData {
 public:
  virtual int GetYOffsetOfSelectionTree() const = 0;
  virtual bool IsRebootEnabled() const = 0;
  virtual std::wstring GetBootstrapperRegistry() const = 0;
  virtual std::wstring GetProductName() = 0;
  virtual bool HasWindowsInstallerPath() const = 0;
  virtual std::wstring GetWindowsInstallerPath() const = 0;
  virtual int GetPathLength() const = 0;
  virtual int GetSourcePathMaxLength() const = 0;
  virtual std::wstring GetInstallLocation() const = 0;
  virtual void ReplaceProductNameToken(std::wstring& text) = 0;
  virtual std::wstring GetMainProductUninstallCommand() const = 0;
  virtual std::wstring GetMaintenanceExePath() const = 0;
  [[nodiscard]] virtual IProductGroupList* GetProductGroupList() = 0;
  [[nodiscard]] virtual ILocalizationSetting* GetLocalizationSettings() = 0;
  [[nodiscard]] virtual IPreInstallDialogList* GetPreInstallDialogList() = 0;
  virtual const ILogFileDetails* GetLogFileDetails() const = 0;
  [[nodiscard]] virtual IIconList* GetIconList() = 0;
  [[nodiscard]] virtual IWixLocalizationList* GetWixLocalizationList() = 0;
  [[nodiscard]] virtual IBrandDetailsList* GetBrandDetailsList() = 0;
  // The "SetupIcon" image at 16 x 16, owned by the image list; null without one.
  [[nodiscard]] virtual HICON GetSetupIcon() = 0;
  [[nodiscard]] virtual IProductAttributes* GetWixSourceProduct() = 0;
  virtual int GetSourcePathMaxUnicode() const = 0;
  virtual int GetMSIMutexTimeout() const = 0;
  virtual std::wstring GetBrand() const = 0;
  virtual void SetBrand(const std::wstring& brand) = 0;
  virtual LANGID GetLanguageId() const = 0;
  virtual void SetLanguageId(LANGID languageId) = 0;
  virtual std::wstring GetInstalledLocation() const = 0;
  virtual void SetInstalledLocation(const std::wstring& location) = 0;
  virtual int GetExecutionType() const = 0;
  virtual void SetExecutionType(int executionType) = 0;
  virtual void SetInstallProperties(const std::wstring& properties) = 0;
  virtual std::wstring GetInstallProperties() const = 0;
  virtual std::wstring GetMainProductLocation() const = 0;
  virtual void SetSourcePath(const std::wstring& path) = 0;
  virtual std::wstring GetSourcePath() const = 0;
  virtual void SetProductName(const std::wstring& name) = 0;
  virtual std::wstring GetSetupFolder() const = 0;
  virtual void SetSetupFolder(const std::wstring& folder) = 0;
  virtual std::wstring GetMajorUpgradeValue() const = 0;
  virtual void SetMajorUpgradeValue(const std::wstring& value) = 0;
  virtual std::wstring GetMaintenanceExeFolder() const = 0;
  virtual void SetMaintenanceExeFolder(const std::wstring& folder) = 0;
  virtual bool IsLaunchedFromARP() const = 0;
  virtual void SetLaunchedFromARP(bool launched) = 0;
  virtual bool IsUIMode() const = 0;
  virtual void SetUIMode(bool uiMode) = 0;
  virtual void SetFeatureSelection(const std::wstring& selected, const std::wstring& deselected) = 0;
  virtual std::wstring GetSelectedFeatures() const = 0;
  virtual std::wstring GetDeselectedFeatures() const = 0;
  virtual void SetRestoreMode(bool restore) = 0;
  virtual bool IsRestoreMode() const = 0;
  virtual std::wstring GetRebootInstallMode() const = 0;
  virtual bool IsAccumulateConditionalReboot() const = 0;
  virtual bool IsAccessibilityEnabled() const = 0;
  virtual bool IsRegisterableSetup() const = 0;
  [[nodiscard]] virtual IPreconditionProcessCheckList* GetPreconditionProcessCheckList() = 0;
  virtual std::wstring GetRunningProcessesText() const = 0;
  virtual void SetRunningProcessesText(const std::wstring& text) = 0;
  virtual bool IsNested() const = 0;
  virtual void SetNested(bool nested) = 0;
  virtual std::wstring GetPlatform() const = 0;

 protected:
  ~ISetupConfigData() = default;
};
