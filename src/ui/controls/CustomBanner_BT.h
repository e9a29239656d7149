#pragma once
// The banner across the top of the wizard frame: the selected brand's banner
// image, scaled to the banner's place, with the brand's banner text over it.

#include <string>

#include "ui/controls/ControlWindow.h"

namespace ui {

class CCustomBanner_BT : public CControlWindow {
 public:
  explicit CCustomBanner_BT(const ControlContext& context);

  static constexpr DWORD kStyle = 0x50000A0E;

  // Takes the image (owned by the brand list) and the text of the selected
  // brand; call after Create.
  void LoadFromBrand();
  [[nodiscard]] const std::wstring& GetBannerText() const { return text_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperBanner%ld"; }

 private:
  void Paint(HDC dc, const RECT& client);
  [[nodiscard]] HFONT BannerFont() const;

  HBITMAP image_ = nullptr;
  std::wstring text_;
};

}  // namespace ui
