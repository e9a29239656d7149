#pragma once
// Faces of one product of the bundle: the read face used during the run and the
// write face used only by the SetupConfig.xml reader.

#include <windows.h>

#include <string>

// Product types as the "Type" attribute names them.
enum ProductType : int {
  kProductTypeMsi = 0,
  kProductTypeExe = 1,
  kProductTypeRegistry = 2,
  kProductTypeMsp = 3,
};

// What became of a product in this run (Get/SetExecutionStatus). The rollback
// undoes the products whose status is kExecutionStatusRun.
enum ExecutionStatus : int {
  kExecutionStatusRun = 0,
  kExecutionStatusNotRun = 1,
  kExecutionStatusFailed = 2,
};

class IProductAttributes {
 public:
  [[nodiscard]] virtual bool IsSkipped() const = 0;
  // Logs a warning for a missing entry unless the language is 1033.
  [[nodiscard]] virtual std::wstring GetTransformForLanguage(LANGID languageId) const = 0;
  [[nodiscard]] virtual int GetSequence() const = 0;
  [[nodiscard]] virtual bool IsMainProduct() const = 0;
  [[nodiscard]] virtual bool IsRollback() const = 0;
  [[nodiscard]] virtual bool IsWixSource() const = 0;
  [[nodiscard]] virtual bool IsMainProductPatch() const = 0;
  [[nodiscard]] virtual int GetSpaceRequired() const = 0;
  [[nodiscard]] virtual int GetTimeOut() const = 0;
  [[nodiscard]] virtual int GetProgressTimeOut() const = 0;
  [[nodiscard]] virtual bool IsCancelEnabled() const = 0;
  [[nodiscard]] virtual bool IsShowAbortDialog() const = 0;
  [[nodiscard]] virtual std::wstring GetId() const = 0;
  [[nodiscard]] virtual std::wstring GetKey() const = 0;
  [[nodiscard]] virtual std::wstring GetProductName() const = 0;
  [[nodiscard]] virtual std::wstring GetLocation() const = 0;
  [[nodiscard]] virtual std::wstring GetInstallCommand() const = 0;
  [[nodiscard]] virtual std::wstring GetSilentInstallCommand() const = 0;
  [[nodiscard]] virtual std::wstring GetUninstallCommand() const = 0;
  [[nodiscard]] virtual std::wstring GetRepairCommand() const = 0;
  [[nodiscard]] virtual std::wstring GetPropertyName() const = 0;
  [[nodiscard]] virtual std::wstring GetCondition() const = 0;
  [[nodiscard]] virtual std::wstring GetFailureExitCode() const = 0;
  [[nodiscard]] virtual std::wstring GetReboot() const = 0;
  [[nodiscard]] virtual int GetProductType() const = 0;
  [[nodiscard]] virtual int GetExecutionStatus() const = 0;
  virtual void SetProductName(const std::wstring& name) = 0;
  virtual void SetSkipped(bool skipped) = 0;
  virtual void SetExecutionStatus(int status) = 0;
  [[nodiscard]] virtual bool IsExecutedBeforeReboot() const = 0;
  virtual void SetExecutedBeforeReboot(bool executed) = 0;
  [[nodiscard]] virtual int GetResultBeforeReboot() const = 0;
  virtual void SetResultBeforeReboot(int result) = 0;
  [[nodiscard]] virtual bool IsCheckMSIMutex() const = 0;
  [[nodiscard]] virtual bool IsWarningExitCode(int code) const = 0;
  [[nodiscard]] virtual bool IsInformationalExitCode(int code) const = 0;

 protected:
  ~IProductAttributes() = default;
};

class IProductAttributesForParser {
 public:
  virtual void SetFlags(bool mainProduct, bool rollback, bool wixSource, bool mainProductPatch, bool cancelEnabled,
                        bool showAbortDialog, bool checkMSIMutex) = 0;
  // The two exit-code texts are lists of "label<>code" entries separated by ",".
  virtual void SetDetails(const std::wstring& uninstallCommand, const std::wstring& repairCommand,
                          const std::wstring& propertyName, const std::wstring& condition,
                          const std::wstring& failureExitCode, const std::wstring& reboot, int timeOut,
                          int progressTimeOut, const std::wstring& warningExitCodes,
                          const std::wstring& informationalExitCodes) = 0;
  virtual void SetSkipped(bool skipped) = 0;
  virtual void SetExecutionStatus(int status) = 0;
  // False when the language already has a transform; the first one is kept.
  virtual bool AddTransform(LANGID languageId, const std::wstring& transformFile) = 0;

 protected:
  ~IProductAttributesForParser() = default;
};
