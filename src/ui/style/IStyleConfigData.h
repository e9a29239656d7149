#pragma once
// Faces of the look of the wizard read from StyleConfig.xml: colours and fonts
// per control kind and drawing state, and the named font schemes.

#include <windows.h>

#include <map>
#include <memory>
#include <string>

class CFontScheme;

// Style kinds 0 to 22 are the WiX control types; 23 to 25 exist only here.
enum StyleKind : int {
  kStyleBillboard = 0,
  kStyleBitmap = 1,
  kStyleCheckBox = 2,
  kStyleComboBox = 3,
  kStyleDirectoryCombo = 4,
  kStyleDirectoryList = 5,
  kStyleEdit = 6,
  kStyleGroupBox = 7,
  kStyleIcon = 8,
  kStyleLine = 9,
  kStyleListBox = 10,
  kStyleListView = 11,
  kStyleMaskedEdit = 12,
  kStylePathEdit = 13,
  kStyleProgressBar = 14,
  kStyleButton = 15,
  kStyleRadioButtonGroup = 16,
  kStyleScrollableText = 18,
  kStyleSelectionTree = 19,
  kStyleText = 20,
  kStyleVolumeCostList = 21,
  kStyleVolumeSelectCombo = 22,
  kStyleDialog = 23,
  kStyleTitleBar = 24,
  kStyleBanner = 25,
};

enum StyleMode : int {
  kModeStandard = 0,
  kModeDisabled = 1,
  kModeOver = 2,
  kModeDown = 3,
  kModeDefault = 4,
};

enum StyleAttributeIndex : int {
  kColorFront = 0,
  kColorEdge = 1,
  kColorInnerEdge = 2,
  kColorHighLight = 3,
  kFontColor = 4,
  kFontName = 5,
};

// Colours and font of one control kind in one drawing state; what the file
// does not set stays black or empty.
struct StyleAttributes {
  COLORREF colors[5] = {0, 0, 0, 0, 0};
  std::wstring fontName;
};

using StyleModeMap = std::map<int, StyleAttributes>;

class IStyleConfigData {
 public:
  // None (and an information line) when the kind or mode is not configured.
  [[nodiscard]] virtual const StyleAttributes* GetControlStyle(int kind, int mode) const = 0;
  // Colour 0 to 4 of the style; 0 when the style is missing or the index is not a colour.
  [[nodiscard]] virtual COLORREF GetControlStyleValue(int kind, int mode, int index) const = 0;
  // The scheme's font sized in points, created on first use and owned by the scheme.
  [[nodiscard]] virtual HFONT GetFont(const std::wstring& schemeName) = 0;
  // Face name and Size of the scheme "DefaultUIFont"; false without one.
  [[nodiscard]] virtual bool GetDefaultUIFont(std::wstring& faceName, int& size) const = 0;
  // The font of the TitleBar's Standard scheme, Size taken as a pixel height.
  [[nodiscard]] virtual HFONT GetTitleBarFont() = 0;
  // Background of every wizard dialog; false when not configured (colour 0).
  virtual bool GetDialogColour(COLORREF& colour) const = 0;
  virtual bool GetTitleBarColours(COLORREF& background, COLORREF& edge) const = 0;
  virtual ~IStyleConfigData() = default;
};

class IStyleConfigDataForParser {
 public:
  // Both take ownership; an existing key keeps its first entry and false is returned.
  virtual bool AddControlStyles(int kind, std::unique_ptr<StyleModeMap> modes) = 0;
  virtual bool AddFontScheme(const std::wstring& name, std::unique_ptr<CFontScheme> scheme) = 0;

 protected:
  ~IStyleConfigDataForParser() = default;
};
