#pragma once
// Reads the WiX localization files (.wxl) of one language into the record's
// WiX string table: the strings and the controls' localized sizes and texts.

#include <windows.h>

#include <string>

class CXmlNode;
class ISetupConfigData;
class ISetupConfigDataForParser;
class IWixLocalizationListForParser;

class CWixLocalizationReader {
 public:
  // Both faces are those of the one configuration record.
  CWixLocalizationReader(ISetupConfigData& record, ISetupConfigDataForParser& recordForParser);

  // Reads every localization file the language settings list for the language,
  // in order. A language without settings reads nothing and is not an error;
  // false only when the language settings cannot be had at all.
  [[nodiscard]] bool LoadWixLocalization(LANGID languageId);

  // Adds every "String" below the root: "Id" and the element's text, with
  // "[CurrentDir]" replaced by the setup folder. An id already in the table
  // keeps its first text.
  [[nodiscard]] bool ReadWixLocalizationFile(const std::wstring& filePath);

 private:
  [[nodiscard]] bool ReadStrings(const std::wstring& filePath);
  // The "UI" elements below the root: a control's localized size and text.
  static void ReadControlOverrides(const CXmlNode& root, IWixLocalizationListForParser& table);

  ISetupConfigData& record_;
  ISetupConfigDataForParser& recordForParser_;
};
