#include "ui/style/FontScheme.h"

#include "log/Log.h"

CFontScheme::CFontScheme(const std::wstring& faceName, int size, bool bold, bool italic, bool underline,
                         bool strikeOut)
    : faceName_(faceName), size_(size), bold_(bold), italic_(italic), underline_(underline), strikeOut_(strikeOut) {}

LOGFONTW CFontScheme::Describe(int height) const {
  LOGFONTW description{};
  description.lfHeight = height;
  description.lfWidth = 0;
  description.lfWeight = bold_ ? 800 : 0;
  description.lfItalic = italic_ ? 1 : 0;
  description.lfUnderline = underline_ ? 1 : 0;
  description.lfStrikeOut = strikeOut_ ? 1 : 0;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfOutPrecision = OUT_TT_PRECIS;
  description.lfClipPrecision = 0;
  description.lfQuality = 0;
  description.lfPitchAndFamily = 0x30;
  faceName_.copy(description.lfFaceName, LF_FACESIZE - 1);
  return description;
}

HFONT CFontScheme::GetOrCreateFont(int height) {
  if (!font_) {
    LOGFONTW description = Describe(height);
    font_.Reset(::CreateFontIndirectW(&description));
    if (!font_) LogError(L"CFontScheme::GetOrCreateFont() - Unable to create the font %s.", faceName_.c_str());
  }
  return font_.Get();
}
