#include "wix/WixLocalizationReader.h"

#include "config/ILocalizationSetting.h"
#include "config/ISetupConfigData.h"
#include "config/ISetupConfigDataForParser.h"
#include "xml/Parser.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "config/IWixLocalizationList.h"

CWixLocalizationReader::CWixLocalizationReader(ISetupConfigData& record, ISetupConfigDataForParser& recordForParser)
    : record_(record), recordForParser_(recordForParser) {}

bool CWixLocalizationReader::LoadWixLocalization(LANGID languageId) {
  if (recordForParser_.GetOrCreateLocalizationSettings() == nullptr) {
    LogDebug(L"pLocalListForParser object is null");
    return false;
  }
  ILocalizationSetting* languages = record_.GetLocalizationSettings();
  if (languages == nullptr) {
    LogError(L"Parser Error: Localization parse failed");
    LogDebug(L"Unable to get the ILocalizationSetting object");
    return false;
  }
  ILocalizationSettingData* setting = languages->GetLanguageSetting(languageId);
  if (setting == nullptr) {
    LogInformation(L"The specified language, %ld, could not be found. Kindly check the setupconfig file.",
                   static_cast<long>(languageId));
    return true;
  }
  const std::wstring folder = record_.GetSetupFolder();
  (void)setting->ResetIteration();
  std::wstring fileName;
  while (setting->GetNextLocalizationFile(fileName)) {
    // One unreadable file only loses its own strings; it has logged why.
    (void)ReadWixLocalizationFile(folder + fileName);
  }
  return true;
}

bool CWixLocalizationReader::ReadWixLocalizationFile(const std::wstring& filePath) {
  try {
    return ReadStrings(filePath);
  } catch (...) {
    LogError(L"Error in parsing the localization files, %s", filePath.c_str());
    return false;
  }
}

bool CWixLocalizationReader::ReadStrings(const std::wstring& filePath) {
  CXmlNode root;
  std::wstring errorText;
  if (!CParser::LoadXmlFile(filePath, root, errorText)) {
    LogError(L"Error in loading the xml file,%s.", filePath.c_str());
    if (!errorText.empty()) LogDebug(errorText);
    return false;
  }
  IWixLocalizationListForParser* table = recordForParser_.GetOrCreateWixLocalizationList();
  if (table == nullptr) {
    LogError(L"Error in parsing the localization files, %s", filePath.c_str());
    return false;
  }
  auto strings = root.SelectNodes(L"String");
  if (!strings) {
    LogError(L"Error in parsing the localization files, %s", filePath.c_str());
    return false;
  }
  const std::wstring folder = record_.GetSetupFolder();
  for (const CXmlNode& element : *strings) {
    std::wstring text = element.GetText();
    (void)platform::ReplaceAll(text, L"[CurrentDir]", folder);
    (void)table->AddLocalization(element.GetAttribute(L"Id"), text);
  }
  ReadControlOverrides(root, *table);
  return true;
}

void CWixLocalizationReader::ReadControlOverrides(const CXmlNode& root, IWixLocalizationListForParser& table) {
  auto controls = root.SelectNodes(L"UI");
  if (!controls) return;
  for (const CXmlNode& element : *controls) {
    const std::wstring dialogId = element.GetAttribute(L"Dialog");
    const std::wstring controlId = element.GetAttribute(L"Control");
    if (dialogId.empty() || controlId.empty()) {
      LogWarning(L"A UI element of the localization names no dialog or no control; it is ignored.");
      continue;
    }
    WixControlOverride values;
    auto number = [&element](const wchar_t* name, std::optional<int>& out) {
      if (CXmlNode attribute = element.GetAttributeNode(name)) out = platform::ToInt(attribute.GetValue());
    };
    number(L"X", values.x);
    number(L"Y", values.y);
    number(L"Width", values.width);
    number(L"Height", values.height);
    // The text is the element's content (an attribute in older localizations).
    if (CXmlNode attribute = element.GetAttributeNode(L"Text")) values.text = attribute.GetValue();
    const std::wstring content = element.GetText();
    if (!content.empty()) values.text = content;
    (void)table.AddControlOverride(dialogId, controlId, values);
  }
}
