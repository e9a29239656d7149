#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/BrandDetails.h"
#include "config/IBrandDetailsList.h"

class ISetupConfigData;

// The bundle's brands in document order. The selected brand is the record's,
// so the list keeps a reference back to the record that owns it.
class CBrandDetailsList : public IBrandDetailsList {
 public:
  // baseFolder is the folder the image paths are relative to, with its trailing backslash.
  CBrandDetailsList(ISetupConfigData& record, const std::wstring& baseFolder);
  virtual ~CBrandDetailsList();
  CBrandDetailsList(const CBrandDetailsList&) = delete;
  CBrandDetailsList& operator=(const CBrandDetailsList&) = delete;

  void AddBrand(const std::wstring& name, const std::wstring& value, bool isDefault, const std::wstring& splashPath,
                const std::wstring& bannerPath, const std::wstring& billboardPath,
                const std::wstring& splashVersionText, const std::wstring& bannerVersionText) override;
  HBITMAP LoadBrandImage(int kind, int width, int height) override;
  std::wstring GetBrandName(const std::wstring& value) override;
  std::wstring GetBannerVersionText() const override;
  std::wstring GetSplashVersionText() const override;
  std::wstring GetBrandImagePath(int kind) const override;
  void SettleSelectedBrand() override;
  bool IsBrandConfigured(const std::wstring& value) const override;

  [[nodiscard]] std::wstring GetDefaultBrand() const { return defaultBrand_; }
  [[nodiscard]] int GetCount() const { return static_cast<int>(brands_.size()); }

 private:
  [[nodiscard]] CBrandDetails* FindByValue(const std::wstring& value) const;
  [[nodiscard]] CBrandDetails* FindSelected() const;

  ISetupConfigData& record_;
  std::wstring baseFolder_;
  std::vector<std::unique_ptr<CBrandDetails>> brands_;
  std::wstring defaultBrand_;
};
