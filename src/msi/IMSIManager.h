#pragma once
// The Windows Installer session of the bundle's main package, as the wizard,
// the launchers and the executors see it.

#include <string>

class CWixFeature;

class IMSIManager {
 public:
  // With `indirect`, the value of the property whose name is the value of `name`.
  [[nodiscard]] virtual std::wstring GetProperty(const std::wstring& name, bool indirect) = 0;
  virtual void SetProperty(const std::wstring& name, const std::wstring& value, bool indirect) = 0;
  [[nodiscard]] virtual bool EvaluateCondition(const std::wstring& condition) = 0;
  virtual void FormatText(std::wstring& text) = 0;
  // The public properties as blank-separated NAME="value" assignments.
  [[nodiscard]] virtual std::wstring GetPropertyString() = 0;
  virtual void CloseHandles() = 0;
  virtual void CloseHandlesUnlessKept() = 0;
  [[nodiscard]] virtual bool GetFeatureState(const std::wstring& feature, int& installed, int& action) = 0;
  virtual void SetFeatureState(const std::wstring& feature, int state) = 0;
  [[nodiscard]] virtual unsigned DoAction(const std::wstring& action) = 0;
  virtual void ReopenCachedPackage() = 0;
  [[nodiscard]] virtual bool RunActionInWixSourcePackage(const std::wstring& action) = 0;
  [[nodiscard]] virtual bool SetFeaturesCost() = 0;
  // Called as the WiX sources start to be read. Where the initializer pass's
  // session is the run's only one (a silent first installation), its package
  // is opened meanwhile, and SetFeaturesCost leaves the costing to that
  // session, right after the pass. WaitForInitializerPackage waits for the
  // opening; the caller makes no other Windows Installer call in between.
  virtual void OpenInitializerPackageAhead() {}
  virtual void WaitForInitializerPackage() {}
  [[nodiscard]] virtual std::wstring GetProductCode() const = 0;
  virtual void SetProductCode(const std::wstring& code) = 0;
  virtual void SetDatabaseHandle(unsigned long handle) = 0;
  virtual void SetPackageHandle(unsigned long handle) = 0;
  [[nodiscard]] virtual bool LoadFeatureDisplay(CWixFeature* feature) = 0;
  [[nodiscard]] virtual bool SetInstallLevel(int level) = 0;
  virtual void CacheProperty(const std::wstring& name, const std::wstring& value) = 0;
  // Replaces the values of hidden properties in `text` by "*****".
  virtual void MaskHiddenProperties(std::wstring& text) = 0;
  [[nodiscard]] virtual std::wstring GetControlText(const std::wstring& control) = 0;

 protected:
  ~IMSIManager() = default;
};
