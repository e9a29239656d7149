#pragma once
// What SilentConfig.xml says about a silent run: indicator and error dialog,
// the Windows Installer properties to set instead of the wizard's answers, a
// free key/value table, and the WiX sources of the silent configuration.

#include <map>
#include <memory>
#include <string>

#include "config/ISilentConfigData.h"

class CSilentConfigData : public ISilentConfigData, public ISilentConfigDataForParser {
 public:
  CSilentConfigData();
  ~CSilentConfigData() override;
  CSilentConfigData(const CSilentConfigData&) = delete;
  CSilentConfigData& operator=(const CSilentConfigData&) = delete;

  // ISilentConfigData
  void ApplyGeneralProperties(IPropertyTarget& target) const override;
  bool IsShowErrorDialog() const override { return showErrorDialog_; }
  int GetKeyValue(const std::wstring& key, std::wstring& value) const override;
  bool IsShowIndicator() const override { return showIndicator_; }

  // ISilentConfigDataForParser
  void SetShowErrorDialog(bool show) override { showErrorDialog_ = show; }
  void SetShowIndicator(bool show) override { showIndicator_ = show; }
  void SetProperty(const std::wstring& name, const std::wstring& value) override { properties_[name] = value; }
  CWixFileContainer* GetWixFileContainer() override { return wixFiles_.get(); }
  CWixFileContainer* GetOrCreateWixFileContainer(int expectedCount) override;
  void SetKeyValue(const std::wstring& key, const std::wstring& value) override { keyValues_[key] = value; }

 private:
  bool showErrorDialog_ = false;
  bool showIndicator_ = false;
  // Ordered by name, compared by character code.
  std::map<std::wstring, std::wstring> properties_;
  std::unique_ptr<CWixFileContainer> wixFiles_;
  std::map<std::wstring, std::wstring> keyValues_;
};
