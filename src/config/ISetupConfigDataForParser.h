#pragma once
// Write face of the configuration record, used only by the configuration readers.

#include <memory>
#include <string>

class CPreconditionProcessCheckList;
class CWixFileContainer;
class IBrandDetailsList;
class IIconListForParser;
class ILocalizationSettingForParser;
class IPreInstallDialogListForParser;
class IProductAttributesForParser;
class IProductGroupListForParser;
class IWixLocalizationListForParser;

class ISetupConfigDataForParser {
 public:
  virtual std::wstring GetRCBinaryPath() const = 0;
  [[nodiscard]] virtual CWixFileContainer* GetWixFileContainer() = 0;
  // The GetOrCreate operations create an empty list on the first call only.
  [[nodiscard]] virtual ILocalizationSettingForParser* GetOrCreateLocalizationSettings() = 0;
  [[nodiscard]] virtual IIconListForParser* GetOrCreateIconList() = 0;
  [[nodiscard]] virtual IWixLocalizationListForParser* GetOrCreateWixLocalizationList() = 0;
  // expectedCount is a capacity hint for a newly created list.
  [[nodiscard]] virtual IProductGroupListForParser* GetOrCreateProductGroupList(int expectedCount) = 0;
  [[nodiscard]] virtual IPreInstallDialogListForParser* GetOrCreatePreInstallDialogList() = 0;
  virtual void CreateLogFileDetails(const std::wstring& name, const std::wstring& level, int mode,
                                    int maxLengthOfFile) = 0;
  // An existing container is returned unchanged.
  [[nodiscard]] virtual CWixFileContainer* GetOrCreateWixFileContainer(int expectedCount) = 0;
  [[nodiscard]] virtual IBrandDetailsList* GetOrCreateBrandDetailsList() = 0;
  virtual std::wstring GetStyleConfigPath() const = 0;
  virtual std::wstring GetMainDialogConfigPath() const = 0;
  virtual void SetRegisterableSetup(bool value) = 0;
  virtual void SetStyleConfigPath(const std::wstring& path) = 0;
  virtual void SetMainDialogConfigPath(const std::wstring& path) = 0;
  virtual void SetYOffsetOfSelectionTree(int value) = 0;
  virtual void SetRebootEnabled(bool value) = 0;
  virtual void SetRebootInstallMode(const std::wstring& value) = 0;
  virtual void SetAccumulateConditionalReboot(bool value) = 0;
  virtual void SetAccessibilityEnabled(bool value) = 0;
  virtual void SetBootstrapperRegistry(const std::wstring& value) = 0;
  virtual void SetProductName(const std::wstring& value) = 0;
  virtual void SetRCBinaryPath(const std::wstring& value) = 0;
  virtual void SetWindowsInstallerPath(const std::wstring& value) = 0;
  virtual void SetPathLength(int value) = 0;
  virtual void SetMSIMutexTimeout(int value) = 0;
  virtual void SetSourcePathMaxLength(int value) = 0;
  virtual void SetInstallLocation(const std::wstring& value) = 0;
  virtual void SetMainProductUninstallCommand(const std::wstring& value) = 0;
  virtual void SetMainProductLocation(const std::wstring& value) = 0;
  virtual void SetMaintenanceExePath(const std::wstring& value) = 0;
  // The product must also implement IProductAttributes (every product of the list does).
  virtual void SetWixSourceProduct(IProductAttributesForParser* product) = 0;
  virtual void SetSourcePathMaxUnicode(int value) = 0;
  // Takes ownership of the list the reader built; a null list is ignored.
  virtual void SetPreconditionProcessCheckList(std::unique_ptr<CPreconditionProcessCheckList> list) = 0;
  virtual void SetPlatform(bool is64Bit) = 0;

 protected:
  ~ISetupConfigDataForParser() = default;
};
