#pragma once
// Write face of the configuration record, used only by the configuration readers.

#include <string>

class ISetupConfigDataForParser {
 public:
  virtual std::wstring GetRCBinaryPath() const = 0;
  virtual void CreateLogFileDetails(const std::wstring& name, const std::wstring& level, int mode,
                                    int maxLengthOfFile) = 0;
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
  virtual void SetSourcePathMaxUnicode(int value) = 0;
  virtual void SetPlatform(bool is64Bit) = 0;

 protected:
  ~ISetupConfigDataForParser() = default;
};
