#include "ui/style/StyleConfigParser.h"

#include <memory>

#include "xml/Parser.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "ui/style/FontScheme.h"
#include "ui/style/IStyleConfigData.h"

namespace {

// Index = style kind; 17 has no element.
constexpr const wchar_t* kKindNames[] = {
    L"Billboard",  L"Bitmap",      L"CheckBox",    L"ComboBox",         L"DirectoryCombo", L"DirectoryList",
    L"Edit",       L"GroupBox",    L"Icon",        L"Line",             L"ListBox",        L"ListView",
    L"MaskedEdit", L"PathEdit",    L"ProgressBar", L"Button",           L"RadioButtonGroup", nullptr,
    L"ScrollableText", L"SelectionTree", L"Text",  L"VolumeCostList",   L"VolumeSelectCombo", L"Dialog",
    L"TitleBar",   L"Banner"};
constexpr const wchar_t* kModeNames[] = {L"Standard", L"Disabled", L"Over", L"Down", L"Default"};
constexpr const wchar_t* kAttributeNames[] = {L"ColorFront", L"ColorEdge", L"ColorInnerEdge", L"ColorHighLight",
                                              L"FontColor", L"FontName"};

template <size_t N>
int IndexOf(const wchar_t* const (&names)[N], const std::wstring& name) {
  for (size_t i = 0; i < N; ++i) {
    if (names[i] != nullptr && name == names[i]) return static_cast<int>(i);
  }
  return -1;
}

// A colour component: leading digits as a number, only its low 8 bits count.
// A missing component makes the colour unreadable.
bool ReadComponent(const CXmlNode& element, const wchar_t* name, COLORREF& component) {
  CXmlNode attribute = element.GetAttributeNode(name);
  if (!attribute) return false;
  component = static_cast<COLORREF>(platform::ToInt(attribute.GetValue())) & 0xFF;
  return true;
}

}  // namespace

CStyleConfigParser::CStyleConfigParser(IStyleConfigDataForParser& record) : record_(record) {}

int CStyleConfigParser::GetStyleKind(const std::wstring& name) { return IndexOf(kKindNames, name); }

int CStyleConfigParser::GetStyleMode(const std::wstring& name) { return IndexOf(kModeNames, name); }

bool CStyleConfigParser::StartParse(const std::wstring& filePath) {
  LogDebug(L"Parsing of StyleConfig.xml started...");
  CXmlNode root;
  std::wstring errorText;
  if (!CParser::LoadXmlFile(filePath, root, errorText)) {
    LogError(errorText.empty() ? L"CStyleConfigParser::StartParse() - The file has no root element." : errorText);
    return false;
  }
  themes_.clear();
  CXmlNode colours = root.SelectSingleNode(L"ColorThemes");
  CXmlNode fonts = root.SelectSingleNode(L"Fonts");
  CXmlNode controls = root.SelectSingleNode(L"Controls");
  if (!colours || !fonts || !controls) {
    LogError(L"CStyleConfigParser::StartParse() - ColorThemes, Fonts and Controls are all required.");
    return false;
  }
  if (!ParseColorThemes(colours)) return false;
  ParseFonts(fonts);
  ParseControls(controls);
  themes_.clear();
  LogDebug(L"Parsing of StyleConfig.xml completed successfully.");
  return true;
}

bool CStyleConfigParser::ParseColorThemes(const CXmlNode& section) {
  auto themes = section.SelectNodes(L"*");
  if (!themes) return false;
  for (const CXmlNode& theme : *themes) {
    COLORREF red = 0, green = 0, blue = 0;
    if (!ReadComponent(theme, L"R", red) || !ReadComponent(theme, L"G", green) || !ReadComponent(theme, L"B", blue)) {
      LogError(L"CStyleConfigParser::ParseColorThemes() - The colour %s needs R, G and B.", theme.GetName().c_str());
      return false;
    }
    themes_.emplace(theme.GetName(), red | (green << 8) | (blue << 16));
  }
  return true;
}

void CStyleConfigParser::ParseFonts(const CXmlNode& section) {
  auto schemes = section.SelectNodes(L"*");
  if (!schemes) return;
  for (const CXmlNode& element : *schemes) {
    const std::wstring name = element.GetName();
    if (!element.GetAttributeNode(L"Name")) {
      LogDebug(L"CStyleConfigParser::ParseFonts() - The font scheme %s has no face name; skipped.", name.c_str());
      continue;
    }
    auto scheme = std::make_unique<CFontScheme>(
        element.GetAttribute(L"Name"), platform::ToInt(element.GetAttribute(L"Size")),
        platform::EqualsNoCase(element.GetAttribute(L"Weight"), L"B"), element.GetAttribute(L"Italic") == L"1",
        element.GetAttribute(L"Underline") == L"1", element.GetAttribute(L"StrikeOut") == L"1");
    if (!record_.AddFontScheme(name, std::move(scheme))) {
      LogDebug(L"CStyleConfigParser::ParseFonts() - The font scheme %s is already defined.", name.c_str());
    }
  }
}

void CStyleConfigParser::ParseControls(const CXmlNode& section) {
  auto controls = section.SelectNodes(L"*");
  if (!controls) return;
  for (const CXmlNode& control : *controls) {
    int kind = GetStyleKind(control.GetName());
    if (kind < 0) continue;
    auto modes = std::make_unique<StyleModeMap>();
    auto modeElements = control.SelectNodes(L"*");
    if (!modeElements) continue;
    for (const CXmlNode& modeElement : *modeElements) {
      int mode = GetStyleMode(modeElement.GetName());
      if (mode < 0) continue;
      auto attributes = modeElement.GetAttributes();
      if (!attributes || attributes->empty()) continue;
      if (modes->count(mode) != 0) {
        LogInformation(L"Duplicate entry ! Could not add the mode %d.", mode);
        continue;
      }
      StyleAttributes style;
      for (const CXmlNode& attribute : *attributes) {
        int index = IndexOf(kAttributeNames, attribute.GetName());
        if (index == kFontName) {
          style.fontName = attribute.GetValue();
        } else if (index >= 0) {
          style.colors[index] = ResolveColour(attribute.GetValue());
        }
      }
      modes->emplace(mode, std::move(style));
    }
    if (modes->empty()) continue;
    if (!record_.AddControlStyles(kind, std::move(modes))) {
      LogDebug(L"CStyleConfigParser::ParseControls() - The styles of %s are already defined.",
               control.GetName().c_str());
    }
  }
}

COLORREF CStyleConfigParser::ResolveColour(const std::wstring& themeName) const {
  auto found = themes_.find(themeName);
  return found != themes_.end() ? found->second : 0;
}
