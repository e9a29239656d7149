#include "ui/style/StyleConfigData.h"

#include "log/Log.h"
#include "platform/UniqueResource.h"

CStyleConfigData::~CStyleConfigData() {
  try {
    styles_.clear();
  } catch (...) {
    LogError(L"Error in deleting the style attributes.");
  }
  try {
    fontSchemes_.clear();
  } catch (...) {
    LogError(L"Exception while deleting CFontScheme object");
  }
}

const StyleAttributes* CStyleConfigData::GetControlStyle(int kind, int mode) const {
  auto modes = styles_.find(kind);
  if (modes == styles_.end() || !modes->second) {
    LogInformation(L"Could not find the control type,%d.", kind);
    return nullptr;
  }
  auto style = modes->second->find(mode);
  if (style == modes->second->end()) {
    LogInformation(L"Could not find the style attribute for mode,%d.", mode);
    return nullptr;
  }
  return &style->second;
}

COLORREF CStyleConfigData::GetControlStyleValue(int kind, int mode, int index) const {
  const StyleAttributes* style = GetControlStyle(kind, mode);
  if (style == nullptr) {
    LogInformation(L"Could not find the style attributes for the control, %d and mode,%d.", kind, mode);
    return 0;
  }
  if (index < kColorFront || index > kFontColor) {
    LogInformation(L"Could not find the attributes for the stylemode, %d", mode);
    return 0;
  }
  return style->colors[index];
}

CFontScheme* CStyleConfigData::FindFontScheme(const std::wstring& name) const {
  auto found = fontSchemes_.find(name);
  if (found == fontSchemes_.end() || !found->second) {
    LogInformation(L"Could not find the Font scheme for the font, %s.", name.c_str());
    return nullptr;
  }
  return found->second.get();
}

HFONT CStyleConfigData::GetFont(const std::wstring& schemeName) {
  CFontScheme* scheme = FindFontScheme(schemeName);
  if (scheme == nullptr) return nullptr;
  platform::WindowDc screen(nullptr);
  int pixelsPerInch = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return scheme->GetOrCreateFont(-::MulDiv(scheme->GetSize(), pixelsPerInch, 72));
}

bool CStyleConfigData::GetDefaultUIFont(std::wstring& faceName, int& size) const {
  CFontScheme* scheme = FindFontScheme(L"DefaultUIFont");
  if (scheme == nullptr) return false;
  faceName = scheme->GetFaceName();
  size = scheme->GetSize();
  return true;
}

HFONT CStyleConfigData::GetTitleBarFont() {
  const StyleAttributes* style = GetControlStyle(kStyleTitleBar, kModeStandard);
  if (style == nullptr) return nullptr;
  CFontScheme* scheme = FindFontScheme(style->fontName);
  return scheme != nullptr ? scheme->GetOrCreateFont(scheme->GetSize()) : nullptr;
}

bool CStyleConfigData::GetDialogColour(COLORREF& colour) const {
  const StyleAttributes* style = GetControlStyle(kStyleDialog, kModeStandard);
  colour = style != nullptr ? style->colors[kColorFront] : 0;
  return style != nullptr;
}

bool CStyleConfigData::GetTitleBarColours(COLORREF& background, COLORREF& edge) const {
  const StyleAttributes* titleBar = GetControlStyle(kStyleTitleBar, kModeStandard);
  const StyleAttributes* dialog = GetControlStyle(kStyleDialog, kModeStandard);
  background = titleBar != nullptr ? titleBar->colors[kColorFront] : 0;
  edge = dialog != nullptr ? dialog->colors[kColorEdge] : 0;
  return titleBar != nullptr && dialog != nullptr;
}

bool CStyleConfigData::AddControlStyles(int kind, std::unique_ptr<StyleModeMap> modes) {
  if (!modes || styles_.count(kind) != 0) return false;
  try {
    styles_.emplace(kind, std::move(modes));
  } catch (...) {
    LogError(L"CStyleConfigData::AddControlStyles() - Unable to add the styles of the control %d.", kind);
    return false;
  }
  return true;
}

bool CStyleConfigData::AddFontScheme(const std::wstring& name, std::unique_ptr<CFontScheme> scheme) {
  if (!scheme || fontSchemes_.count(name) != 0) return false;
  try {
    fontSchemes_.emplace(name, std::move(scheme));
  } catch (...) {
    LogError(L"CStyleConfigData::AddFontScheme() - Unable to add the font scheme %s.", name.c_str());
    return false;
  }
  return true;
}
