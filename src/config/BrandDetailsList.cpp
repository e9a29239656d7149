#include "config/BrandDetailsList.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"

CBrandDetailsList::CBrandDetailsList(ISetupConfigData& record, const std::wstring& baseFolder)
    : record_(record), baseFolder_(baseFolder) {}

CBrandDetailsList::~CBrandDetailsList() { brands_.clear(); }

void CBrandDetailsList::AddBrand(const std::wstring& name, const std::wstring& value, bool isDefault,
                                 const std::wstring& splashPath, const std::wstring& bannerPath,
                                 const std::wstring& billboardPath, const std::wstring& splashVersionText,
                                 const std::wstring& bannerVersionText) {
  try {
    brands_.push_back(std::make_unique<CBrandDetails>(name, value, isDefault, splashPath, bannerPath, billboardPath,
                                                      splashVersionText, bannerVersionText));
  } catch (...) {
    LogError(L"CBrandDetailsList::AddBrand() - Unable to add the brand %s.", name.c_str());
    return;
  }
  if (isDefault) defaultBrand_ = value;
}

CBrandDetails* CBrandDetailsList::FindByValue(const std::wstring& value) const {
  for (const auto& brand : brands_) {
    if (brand->GetValue() == value) return brand.get();
  }
  return nullptr;
}

CBrandDetails* CBrandDetailsList::FindSelected() const { return FindByValue(record_.GetBrand()); }

HBITMAP CBrandDetailsList::LoadBrandImage(int kind, int width, int height) {
  CBrandDetails* brand = FindSelected();
  if (!brand) {
    LogError(L"Unable to find the brand.");
    return nullptr;
  }
  const std::wstring* relativePath = nullptr;
  switch (kind) {
    case kBrandImageSplash: relativePath = &brand->GetSplashImagePath(); break;
    case kBrandImageLeft: relativePath = &brand->GetBillboardImagePath(); break;
    case kBrandImageBanner: relativePath = &brand->GetBannerImagePath(); break;
    default:
      LogError(L"CBrandDetailsList::LoadBrandImage() - Unknown image kind %d.", kind);
      return nullptr;
  }
  // A handle given out earlier may still be drawn, so each size is kept apart.
  if (HBITMAP kept = brand->FindImage(kind, width, height)) return kept;
  std::wstring fullPath = baseFolder_ + *relativePath;
  platform::UniqueHBitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageW(nullptr, fullPath.c_str(), IMAGE_BITMAP, width, height, LR_LOADFROMFILE)));
  if (!bitmap) {
    LogError(L"Unable to load the bitmap %s", fullPath.c_str());
    return nullptr;
  }
  return brand->KeepImage(kind, width, height, std::move(bitmap));
}

std::wstring CBrandDetailsList::GetBrandName(const std::wstring& value) {
  if (CBrandDetails* brand = FindByValue(value)) return brand->GetName();
  LogError(L"Unable to find the brand for the product %s", record_.GetProductName().c_str());
  return std::wstring();
}

std::wstring CBrandDetailsList::GetBannerVersionText() const {
  CBrandDetails* brand = FindSelected();
  return brand ? brand->GetBannerVersionText() : std::wstring();
}

std::wstring CBrandDetailsList::GetBrandImagePath(int kind) const {
  CBrandDetails* brand = FindSelected();
  if (!brand) return std::wstring();
  switch (kind) {
    case kBrandImageSplash: return brand->GetSplashImagePath();
    case kBrandImageLeft: return brand->GetBillboardImagePath();
    case kBrandImageBanner: return brand->GetBannerImagePath();
    default: return std::wstring();
  }
}

std::wstring CBrandDetailsList::GetSplashVersionText() const {
  CBrandDetails* brand = FindSelected();
  return brand ? brand->GetSplashVersionText() : std::wstring();
}

void CBrandDetailsList::SettleSelectedBrand() {
  if (FindSelected()) return;
  if (brands_.size() == 1) {
    record_.SetBrand(brands_.front()->GetValue());
  } else if (brands_.size() > 1 && !defaultBrand_.empty()) {
    record_.SetBrand(defaultBrand_);
  }
}

bool CBrandDetailsList::IsBrandConfigured(const std::wstring& value) const {
  return !value.empty() && FindByValue(value) != nullptr;
}
