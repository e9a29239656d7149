#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/UniqueResource.h"

// One brand of the bundle with the bitmaps loaded for it.
class CBrandDetails {
 public:
  CBrandDetails(const std::wstring& name, const std::wstring& value, bool isDefault, const std::wstring& splashPath,
                const std::wstring& bannerPath, const std::wstring& billboardPath,
                const std::wstring& splashVersionText, const std::wstring& bannerVersionText);
  CBrandDetails(const CBrandDetails&) = delete;
  CBrandDetails& operator=(const CBrandDetails&) = delete;

  [[nodiscard]] const std::wstring& GetName() const { return name_; }
  [[nodiscard]] const std::wstring& GetValue() const { return value_; }
  [[nodiscard]] bool IsDefault() const { return isDefault_; }
  [[nodiscard]] const std::wstring& GetSplashImagePath() const { return splashImagePath_; }
  [[nodiscard]] const std::wstring& GetBannerImagePath() const { return bannerImagePath_; }
  [[nodiscard]] const std::wstring& GetBillboardImagePath() const { return billboardImagePath_; }
  [[nodiscard]] const std::wstring& GetSplashVersionText() const { return splashVersionText_; }
  [[nodiscard]] const std::wstring& GetBannerVersionText() const { return bannerVersionText_; }

  // A bitmap loaded earlier for this kind and size, or null.
  [[nodiscard]] HBITMAP FindImage(int kind, int width, int height) const;
  // Keeps the bitmap; handed-out handles of other sizes stay valid.
  HBITMAP KeepImage(int kind, int width, int height, platform::UniqueHBitmap bitmap);

 private:
  std::wstring name_;
  std::wstring value_;
  bool isDefault_;
  std::wstring splashImagePath_;
  std::wstring bannerImagePath_;
  std::wstring billboardImagePath_;
  std::wstring splashVersionText_;
  std::wstring bannerVersionText_;
  std::map<std::tuple<int, int, int>, platform::UniqueHBitmap> images_;
};
