#include "ui/controls/CustomBanner_BT.h"

#include "config/IBrandDetailsList.h"
#include "config/ISetupConfigData.h"
#include "platform/UniqueResource.h"
#include "ui/style/IStyleConfigData.h"

namespace ui {

namespace {
constexpr int kTextMargin = 12;
}  // namespace

CCustomBanner_BT::CCustomBanner_BT(const ControlContext& context) : CControlWindow(nullptr, context) {}

void CCustomBanner_BT::LoadFromBrand() {
  IBrandDetailsList* brands = context_.record != nullptr ? context_.record->GetBrandDetailsList() : nullptr;
  if (brands == nullptr || GetHwnd() == nullptr) return;
  RECT client;
  ::GetClientRect(GetHwnd(), &client);
  image_ = brands->LoadBrandImage(kBrandImageBanner, client.right, client.bottom);
  text_ = brands->GetBannerVersionText();
  ::InvalidateRect(GetHwnd(), nullptr, FALSE);
}

HFONT CCustomBanner_BT::BannerFont() const {
  if (context_.style == nullptr) return nullptr;
  if (HFONT font = context_.style->GetFont(L"Banner_Font_Default")) return font;
  if (HFONT font = context_.style->GetFont(L"Banner_Font_Fallback")) return font;
  // Bundles without the banner schemes still get the banner style's own font.
  const StyleAttributes* banner = context_.style->GetControlStyle(kStyleBanner, kModeStandard);
  return banner != nullptr && !banner->fontName.empty() ? context_.style->GetFont(banner->fontName) : nullptr;
}

void CCustomBanner_BT::Paint(HDC dc, const RECT& client) {
  if (image_ == nullptr) {
    ::FillRect(dc, &client, context_.backgroundBrush != nullptr ? context_.backgroundBrush
                                                                : reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  } else {
    platform::UniqueHdc memory(::CreateCompatibleDC(dc));
    BITMAP info = {};
    ::GetObjectW(image_, sizeof(info), &info);
    HGDIOBJ old = ::SelectObject(memory.Get(), image_);
    ::SetStretchBltMode(dc, HALFTONE);
    ::StretchBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    ::SelectObject(memory.Get(), old);
  }
  if (text_.empty()) return;
  HFONT font = BannerFont();
  HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, context_.style != nullptr
                         ? context_.style->GetControlStyleValue(kStyleBanner, kModeStandard, kFontColor)
                         : RGB(0, 0, 0));
  RECT text = client;
  text.left += kTextMargin;
  text.right -= kTextMargin;
  ::DrawTextW(dc, text_.c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (oldFont != nullptr) ::SelectObject(dc, oldFont);
}

LRESULT CCustomBanner_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return TRUE;
  if (message != WM_PAINT) return CallDefault(message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(GetHwnd(), &paint);
  RECT client;
  ::GetClientRect(GetHwnd(), &client);
  // Drawn off-screen and copied at once, so the text never flickers over the image.
  platform::UniqueHdc memory(::CreateCompatibleDC(dc));
  platform::UniqueHBitmap canvas(::CreateCompatibleBitmap(dc, client.right > 0 ? client.right : 1,
                                                          client.bottom > 0 ? client.bottom : 1));
  if (memory && canvas) {
    HGDIOBJ old = ::SelectObject(memory.Get(), canvas.Get());
    Paint(memory.Get(), client);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    ::SelectObject(memory.Get(), old);
  } else {
    Paint(dc, client);
  }
  ::EndPaint(GetHwnd(), &paint);
  return 0;
}

}  // namespace ui
