#pragma once
// Read and fill face of the bundle's brands. The selected brand lives in the
// configuration record; the list only reads and settles it.

#include <windows.h>

#include <string>

// Which image of the selected brand LoadBrandImage gives.
enum BrandImageKind : int {
  kBrandImageSplash = 0,     // splash screen image, natural size
  kBrandImageLeft = 1,       // the wizard's left image (BillBoardImage)
  kBrandImageBanner = 2,     // banner image
};

class IBrandDetailsList {
 public:
  virtual void AddBrand(const std::wstring& name, const std::wstring& value, bool isDefault,
                        const std::wstring& splashPath, const std::wstring& bannerPath,
                        const std::wstring& billboardPath, const std::wstring& splashVersionText,
                        const std::wstring& bannerVersionText) = 0;
  // The bitmap stays owned by the list. Width and height 0 keep the natural size.
  [[nodiscard]] virtual HBITMAP LoadBrandImage(int kind, int width, int height) = 0;
  // Name of the brand whose Value matches, or "" (with an error line).
  [[nodiscard]] virtual std::wstring GetBrandName(const std::wstring& value) = 0;
  [[nodiscard]] virtual std::wstring GetBannerVersionText() const = 0;
  [[nodiscard]] virtual std::wstring GetSplashVersionText() const = 0;
  // Makes the record's selected brand a configured one where that is unambiguous.
  virtual void SettleSelectedBrand() = 0;
  [[nodiscard]] virtual bool IsBrandConfigured(const std::wstring& value) const = 0;
  // The configured path (relative to the setup folder) of the selected
  // brand's image of this kind; "" when there is none.
  [[nodiscard]] virtual std::wstring GetBrandImagePath(int kind) const = 0;

 protected:
  ~IBrandDetailsList() = default;
};
