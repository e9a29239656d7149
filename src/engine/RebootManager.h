#pragma once
// What the run knows for a restart: the bundle's properties and feature
// selection, and the exit code of every product that ran, by product key.
// Saved to the resume data file before an intermediate restart and read back
// by the resumed run.

#include <windows.h>

#include <map>
#include <string>

#include "platform/SerializableObject.h"

class ISetupConfigData;

class CRebootManager : public platform::CSerializableObject {
 public:
  CRebootManager() = default;
  ~CRebootManager() override = default;
  CRebootManager(const CRebootManager&) = delete;
  CRebootManager& operator=(const CRebootManager&) = delete;

  [[nodiscard]] const wchar_t* GetRuntimeClassName() const override { return L"CRebootManager"; }

  // Storing: the install properties and selected features as archive strings,
  // the product result count (unsigned 32-bit), then per product in key order
  // its key and its 32-bit exit code. Loading reads the same and replaces all
  // three fields only when everything was read; false when the archive failed.
  [[nodiscard]] bool Serialize(platform::CArchive& archive) override;

  // Inserts or replaces the exit code kept for a product key ("group_product").
  void SetProductRebootState(const std::wstring& productKey, DWORD exitCode);
  [[nodiscard]] const std::map<std::wstring, DWORD>& GetProductResults() const { return productResults_; }
  void ClearProductResults() { productResults_.clear(); }

  void SetInstallProperties(const std::wstring& properties) { installProperties_ = properties; }
  [[nodiscard]] const std::wstring& GetInstallProperties() const { return installProperties_; }
  void SetSelectedFeatures(const std::wstring& features) { selectedFeatures_ = features; }
  [[nodiscard]] const std::wstring& GetSelectedFeatures() const { return selectedFeatures_; }

  // Exchanges all fields with `other` (a manager loaded on the side is taken
  // over in one step once the whole file has been read).
  void SwapResumeData(CRebootManager& other) noexcept;

  // Marks every product (of a group and itself not skipped) whose key has a
  // stored result as executed before the restart, with that result.
  void ApplyToProducts(ISetupConfigData& record) const;

 private:
  std::wstring installProperties_;
  std::wstring selectedFeatures_;
  std::map<std::wstring, DWORD> productResults_;
};
