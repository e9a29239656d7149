#pragma once
// Reads SilentConfig.xml into the silent configuration record. Every section
// is optional; only an unreadable file or a failing section stops the reading.

#include <string>

#include "xml/XmlNode.h"

class ISetupConfigData;
class ISilentConfigDataForParser;

class CSilentConfigParser {
 public:
  // Neither record is owned. The configuration record is read for the brand
  // list and may get its selected brand from the file.
  CSilentConfigParser(ISilentConfigDataForParser& silent, ISetupConfigData& record);
  CSilentConfigParser(const CSilentConfigParser&) = delete;
  CSilentConfigParser& operator=(const CSilentConfigParser&) = delete;

  // False (after an ERROR line) when the file cannot be read or a section fails.
  [[nodiscard]] bool StartParse(const std::wstring& filePath);

  // Sections, each taking the document's root element.
  [[nodiscard]] bool ParseSilentGeneral(const CXmlNode& root);
  [[nodiscard]] bool ParseSilentWixSource(const CXmlNode& root);
  [[nodiscard]] bool ParseGeneralProperties(const CXmlNode& root);
  [[nodiscard]] bool ParseKeyValues(const CXmlNode& root);

  // %NAME% references of a property value: the two folder names and
  // environment variables; an unknown variable stays as written.
  [[nodiscard]] static std::wstring ExpandPropertyValue(const std::wstring& value);
  // Blanks removed around the whole path and around every folder name in it.
  [[nodiscard]] static std::wstring TrimPathBlanks(const std::wstring& path);

 private:
  ISilentConfigDataForParser& silent_;
  ISetupConfigData& record_;
};
