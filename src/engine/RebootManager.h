#pragma once
// What the run knows for a restart: the bundle's properties and feature
// selection, and the exit code of every product that ran, by product key.

#include <windows.h>

#include <map>
#include <string>

class CRebootManager {
 public:
  CRebootManager() = default;
  virtual ~CRebootManager() = default;
  CRebootManager(const CRebootManager&) = delete;
  CRebootManager& operator=(const CRebootManager&) = delete;

  // Inserts or replaces the exit code kept for a product key ("group_product").
  void SetProductRebootState(const std::wstring& productKey, DWORD exitCode);
  [[nodiscard]] const std::map<std::wstring, DWORD>& GetProductResults() const { return productResults_; }
  void ClearProductResults() { productResults_.clear(); }

  void SetInstallProperties(const std::wstring& properties) { installProperties_ = properties; }
  [[nodiscard]] const std::wstring& GetInstallProperties() const { return installProperties_; }
  void SetSelectedFeatures(const std::wstring& features) { selectedFeatures_ = features; }
  [[nodiscard]] const std::wstring& GetSelectedFeatures() const { return selectedFeatures_; }

 private:
  std::wstring installProperties_;
  std::wstring selectedFeatures_;
  std::map<std::wstring, DWORD> productResults_;
};
