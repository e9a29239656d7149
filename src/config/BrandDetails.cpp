#include "config/BrandDetails.h"

#include <utility>

CBrandDetails::CBrandDetails(const std::wstring& name, const std::wstring& value, bool isDefault,
                             const std::wstring& splashPath, const std::wstring& bannerPath,
                             const std::wstring& billboardPath, const std::wstring& splashVersionText,
                             const std::wstring& bannerVersionText)
    : name_(name),
      value_(value),
      isDefault_(isDefault),
      splashImagePath_(splashPath),
      bannerImagePath_(bannerPath),
      billboardImagePath_(billboardPath),
      splashVersionText_(splashVersionText),
      bannerVersionText_(bannerVersionText) {}

HBITMAP CBrandDetails::FindImage(int kind, int width, int height) const {
  auto found = images_.find(std::make_tuple(kind, width, height));
  return found == images_.end() ? nullptr : found->second.Get();
}

HBITMAP CBrandDetails::KeepImage(int kind, int width, int height, platform::UniqueHBitmap bitmap) {
  platform::UniqueHBitmap& slot = images_[std::make_tuple(kind, width, height)];
  slot = std::move(bitmap);
  return slot.Get();
}
