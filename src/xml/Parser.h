#pragma once
// Loads the bundle's XML files and holds the value rules every configuration
// reader shares. The loader never interprets content and logs nothing: it
// returns the root element or one error text for its caller to log.

#include <string>

#include "xml/XmlNode.h"

class CParser {
 public:
  // True with the document element in `root`; false with `errorText` set to
  // the reason (left unchanged when the document merely has no root element).
  [[nodiscard]] static bool LoadXmlFile(const std::wstring& filePath, CXmlNode& root, std::wstring& errorText);
  // The same for a document held in memory (the applicability data of a patch).
  [[nodiscard]] static bool LoadXmlText(const std::wstring& text, CXmlNode& root, std::wstring& errorText);

  // The node's value as a decimal number: leading blanks, sign, leading digits; else 0.
  [[nodiscard]] static int GetNodeInt(const CXmlNode& node);
  // True when the node's value is "true" or "yes" in any case.
  [[nodiscard]] static bool GetNodeBool(const CXmlNode& node);
  // The "Value" attribute of the first element at `path` below `context`; "" when absent.
  [[nodiscard]] static std::wstring GetChildValueString(const CXmlNode& context, const std::wstring& path);
  // GetChildValueString read as a decimal number; 0 when absent or not a number.
  [[nodiscard]] static int GetChildValueInt(const CXmlNode& context, const std::wstring& path);
  // GetChildValueString read as a boolean ("true"/"yes" in any case); false when absent.
  [[nodiscard]] static bool GetChildValueBool(const CXmlNode& context, const std::wstring& path);

  // The boolean rule on its own: "true" or "yes", compared without regard to case.
  [[nodiscard]] static bool IsTrueText(const std::wstring& text);

 private:
  [[nodiscard]] static bool LoadXml(const std::wstring& source, bool isText, CXmlNode& root, std::wstring& errorText);
};
