#pragma once

#include <map>
#include <memory>
#include <string>

#include "ui/style/FontScheme.h"
#include "ui/style/IStyleConfigData.h"

// The look of the wizard: styles per control kind and drawing state, and the
// font schemes, all owned here.
class CStyleConfigData : public IStyleConfigData, public IStyleConfigDataForParser {
 public:
  CStyleConfigData() = default;
  ~CStyleConfigData() override;
  CStyleConfigData(const CStyleConfigData&) = delete;
  CStyleConfigData& operator=(const CStyleConfigData&) = delete;

  // IStyleConfigData
  const StyleAttributes* GetControlStyle(int kind, int mode) const override;
  COLORREF GetControlStyleValue(int kind, int mode, int index) const override;
  HFONT GetFont(const std::wstring& schemeName) override;
  bool GetDefaultUIFont(std::wstring& faceName, int& size) const override;
  HFONT GetTitleBarFont() override;
  bool GetDialogColour(COLORREF& colour) const override;
  bool GetTitleBarColours(COLORREF& background, COLORREF& edge) const override;

  // IStyleConfigDataForParser
  bool AddControlStyles(int kind, std::unique_ptr<StyleModeMap> modes) override;
  bool AddFontScheme(const std::wstring& name, std::unique_ptr<CFontScheme> scheme) override;

  // The scheme by its exact name, or null (with an information line).
  [[nodiscard]] CFontScheme* FindFontScheme(const std::wstring& name) const;

 private:
  std::map<int, std::unique_ptr<StyleModeMap>> styles_;
  std::map<std::wstring, std::unique_ptr<CFontScheme>> fontSchemes_;
};
