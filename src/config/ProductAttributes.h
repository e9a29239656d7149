#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "config/IProductAttributes.h"

// One product of a group, with the exit codes that count as warning or information.
class CProductAttributes : public IProductAttributes, public IProductAttributesForParser {
 public:
  CProductAttributes(const std::wstring& productName, const std::wstring& id, const std::wstring& key,
                     int productType, int sequence, const std::wstring& location, const std::wstring& installCommand,
                     int spaceRequired, const std::wstring& silentInstallCommand);
  virtual ~CProductAttributes() = default;
  CProductAttributes(const CProductAttributes&) = delete;
  CProductAttributes& operator=(const CProductAttributes&) = delete;

  // Reads "label<>code" entries separated by ","; pieces without "<>" are ignored.
  [[nodiscard]] static std::vector<int> ParseExitCodeList(const std::wstring& text);

  // IProductAttributes
  bool IsSkipped() const override { return skipped_; }
  std::wstring GetTransformForLanguage(LANGID languageId) const override;
  int GetSequence() const override { return sequence_; }
  bool IsMainProduct() const override { return mainProduct_; }
  bool IsRollback() const override { return rollback_; }
  bool IsWixSource() const override { return wixSource_; }
  bool IsMainProductPatch() const override { return mainProductPatch_; }
  int GetSpaceRequired() const override { return spaceRequired_; }
  int GetTimeOut() const override { return timeOut_; }
  int GetProgressTimeOut() const override { return progressTimeOut_; }
  bool IsCancelEnabled() const override { return cancelEnabled_; }
  bool IsShowAbortDialog() const override { return showAbortDialog_; }
  std::wstring GetId() const override { return id_; }
  std::wstring GetKey() const override { return key_; }
  std::wstring GetProductName() const override { return productName_; }
  std::wstring GetLocation() const override { return location_; }
  std::wstring GetInstallCommand() const override { return installCommand_; }
  std::wstring GetSilentInstallCommand() const override { return silentInstallCommand_; }
  std::wstring GetUninstallCommand() const override { return uninstallCommand_; }
  std::wstring GetRepairCommand() const override { return repairCommand_; }
  std::wstring GetPropertyName() const override { return propertyName_; }
  std::wstring GetCondition() const override { return condition_; }
  std::wstring GetFailureExitCode() const override { return failureExitCode_; }
  std::wstring GetReboot() const override { return reboot_; }
  int GetProductType() const override { return productType_; }
  int GetExecutionStatus() const override { return executionStatus_; }
  void SetProductName(const std::wstring& name) override { productName_ = name; }
  void SetSkipped(bool skipped) override { skipped_ = skipped; }
  void SetExecutionStatus(int status) override { executionStatus_ = status; }
  bool IsExecutedBeforeReboot() const override { return executedBeforeReboot_; }
  void SetExecutedBeforeReboot(bool executed) override { executedBeforeReboot_ = executed; }
  int GetResultBeforeReboot() const override { return resultBeforeReboot_; }
  void SetResultBeforeReboot(int result) override { resultBeforeReboot_ = result; }
  bool IsCheckMSIMutex() const override { return checkMSIMutex_; }
  bool IsWarningExitCode(int code) const override;
  bool IsInformationalExitCode(int code) const override;

  // IProductAttributesForParser
  void SetFlags(bool mainProduct, bool rollback, bool wixSource, bool mainProductPatch, bool cancelEnabled,
                bool showAbortDialog, bool checkMSIMutex) override;
  void SetDetails(const std::wstring& uninstallCommand, const std::wstring& repairCommand,
                  const std::wstring& propertyName, const std::wstring& condition,
                  const std::wstring& failureExitCode, const std::wstring& reboot, int timeOut, int progressTimeOut,
                  const std::wstring& warningExitCodes, const std::wstring& informationalExitCodes) override;
  bool AddTransform(LANGID languageId, const std::wstring& transformFile) override;

  [[nodiscard]] std::wstring GetInformationalExitCodeText() const { return informationalExitCodeText_; }
  [[nodiscard]] std::wstring GetWarningExitCodeText() const { return warningExitCodeText_; }

 private:
  std::vector<int> warningExitCodes_;
  std::vector<int> informationalExitCodes_;
  bool mainProduct_ = false;
  bool rollback_ = false;
  bool wixSource_ = false;
  bool skipped_ = true;
  bool mainProductPatch_ = false;
  int productType_;
  int executionStatus_ = kExecutionStatusNotRun;
  int sequence_;
  int spaceRequired_;
  int timeOut_ = -1;
  int progressTimeOut_ = -1;
  std::wstring productName_;
  std::wstring location_;
  std::wstring installCommand_;
  std::wstring silentInstallCommand_;
  std::wstring uninstallCommand_;
  std::wstring repairCommand_;
  std::wstring propertyName_;
  std::wstring condition_;
  std::wstring id_;
  std::wstring reboot_;
  std::wstring key_;
  std::wstring failureExitCode_;
  bool cancelEnabled_ = false;
  bool showAbortDialog_ = false;
  int resultBeforeReboot_ = 0;
  bool executedBeforeReboot_ = false;
  bool checkMSIMutex_ = false;
  std::wstring informationalExitCodeText_;
  std::wstring warningExitCodeText_;
  std::map<LANGID, std::wstring> transforms_;
};
