#pragma once
// Reads ConfigForMainDialog.xml: the areas of the main frame and of the
// pre-install frame, converted to pixels and dialog units of this screen.

#include <string>

#include "xml/XmlNode.h"

class IDialogUnitConverter;
class IMaindialogConfigDataForParser;

class CMainDialogConfigParser {
 public:
  CMainDialogConfigParser(IMaindialogConfigDataForParser& record, const IDialogUnitConverter& converter);

  // False when the file cannot be loaded or MainDialog or PreInstallDialog is missing.
  [[nodiscard]] bool StartParse(const std::wstring& filePath);

 private:
  // Reads the known areas of a section; `areaCount` limits the keys it accepts.
  void ParseSection(const CXmlNode& section, int areaCount, bool mainDialog);

  IMaindialogConfigDataForParser& record_;
  const IDialogUnitConverter& converter_;
};
