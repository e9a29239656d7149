#pragma once
// The main package's session as the feature and product tests need it: the
// properties, condition results and feature states a test sets up. The real
// session needs the package's UI run; these tests are about the decisions
// taken on its answers.

#include <map>
#include <string>

#include "msi/IMSIManager.h"

namespace featuretest {

class ScriptedMsiManager final : public IMSIManager {
 public:
  struct FeatureState {
    int installed = -1;
    int action = -1;
    bool ok = true;
  };

  std::map<std::wstring, std::wstring> properties;
  // Conditions not listed are false.
  std::map<std::wstring, bool> conditions;
  // Features not listed fail GetFeatureState.
  std::map<std::wstring, FeatureState> features;
  // Display modes LoadFeatureDisplay gives features, by id.
  std::map<std::wstring, std::wstring> displays;

  std::wstring GetProperty(const std::wstring& name, bool) override {
    auto found = properties.find(name);
    return found == properties.end() ? std::wstring() : found->second;
  }
  void SetProperty(const std::wstring& name, const std::wstring& value, bool) override { properties[name] = value; }
  bool EvaluateCondition(const std::wstring& condition) override {
    auto found = conditions.find(condition);
    return found != conditions.end() && found->second;
  }
  void FormatText(std::wstring&) override {}
  std::wstring GetPropertyString() override { return {}; }
  void CloseHandles() override {}
  void CloseHandlesUnlessKept() override {}
  bool GetFeatureState(const std::wstring& feature, int& installed, int& action) override {
    auto found = features.find(feature);
    if (found == features.end() || !found->second.ok) return false;
    installed = found->second.installed;
    action = found->second.action;
    return true;
  }
  void SetFeatureState(const std::wstring& feature, int state) override { features[feature].action = state; }
  unsigned DoAction(const std::wstring&) override { return 0; }
  void ReopenCachedPackage() override {}
  bool RunActionInWixSourcePackage(const std::wstring&) override { return true; }
  bool SetFeaturesCost() override { return true; }
  std::wstring GetProductCode() const override { return {}; }
  void SetProductCode(const std::wstring&) override {}
  void SetDatabaseHandle(unsigned long) override {}
  void SetPackageHandle(unsigned long) override {}
  bool LoadFeatureDisplay(CWixFeature* feature) override;
  bool SetInstallLevel(int) override { return true; }
  void CacheProperty(const std::wstring& name, const std::wstring& value) override { properties[name] = value; }
  void MaskHiddenProperties(std::wstring&) override {}
  std::wstring GetControlText(const std::wstring&) override { return {}; }
};

}  // namespace featuretest
