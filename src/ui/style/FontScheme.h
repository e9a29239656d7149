#pragma once
// A named font of StyleConfig.xml; its font object is made on first use.

#include <windows.h>

#include <string>

#include "platform/UniqueResource.h"

class CFontScheme {
 public:
  CFontScheme(const std::wstring& faceName, int size, bool bold, bool italic, bool underline, bool strikeOut);

  [[nodiscard]] const std::wstring& GetFaceName() const { return faceName_; }
  [[nodiscard]] int GetSize() const { return size_; }
  [[nodiscard]] bool IsBold() const { return bold_; }
  [[nodiscard]] bool IsItalic() const { return italic_; }
  [[nodiscard]] bool IsUnderline() const { return underline_; }
  [[nodiscard]] bool IsStrikeOut() const { return strikeOut_; }

  // The font, created with `height` (LOGFONT height) the first time; every
  // later call returns that same font, whatever height it asks for.
  [[nodiscard]] HFONT GetOrCreateFont(int height);
  // LOGFONT the scheme describes at a height; a face name longer than a font
  // description holds is cut to fit.
  [[nodiscard]] LOGFONTW Describe(int height) const;

 private:
  std::wstring faceName_;
  int size_;
  bool bold_;
  bool italic_;
  bool underline_;
  bool strikeOut_;
  platform::UniqueHFont font_;
};
