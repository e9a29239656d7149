#pragma once
// Reads StyleConfig.xml: colour themes, font schemes and control styles.

#include <map>
#include <string>

#include <windows.h>

#include "xml/XmlNode.h"

class IStyleConfigDataForParser;

class CStyleConfigParser {
 public:
  explicit CStyleConfigParser(IStyleConfigDataForParser& record);

  // False when the file cannot be loaded, a section is missing or a colour
  // of ColorThemes cannot be read.
  [[nodiscard]] bool StartParse(const std::wstring& filePath);

  // Style kind and mode numbers by element name (exact); -1 for other names.
  [[nodiscard]] static int GetStyleKind(const std::wstring& name);
  [[nodiscard]] static int GetStyleMode(const std::wstring& name);

 private:
  [[nodiscard]] bool ParseColorThemes(const CXmlNode& section);
  void ParseFonts(const CXmlNode& section);
  void ParseControls(const CXmlNode& section);
  [[nodiscard]] COLORREF ResolveColour(const std::wstring& themeName) const;

  IStyleConfigDataForParser& record_;
  // Theme name -> colour; needed only while the file is read.
  std::map<std::wstring, COLORREF> themes_;
};
