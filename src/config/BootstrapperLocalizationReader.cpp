#include "config/BootstrapperLocalizationReader.h"

#include "config/BSLocalizationConfigData.h"
#include "xml/Parser.h"
#include "log/Log.h"
#include "platform/StringUtil.h"

namespace {

CXmlNode SelectLanguage(const CXmlNode& root, unsigned languageId) {
  return root.SelectSingleNode(platform::Format(L"//Language[@Id=\"%u\"]", languageId));
}

// Stores `text` into the field named by the string id; false for other ids.
bool StoreText(IBSLocalizationConfigData& record, const std::wstring& id, const std::wstring& text) {
  if (id == L"BS_AdminRightsError") record.SetAdminRightsError(text);
  else if (id == L"AnotherInstanceRunningError") record.SetAnotherInstanceRunningError(text);
  else if (id == L"UnsupportedVersionError") record.SetUnsupportedVersionError(text);
  else if (id == L"ErrorMsg1") record.SetErrorMsg1(text);
  else if (id == L"ErrorMsg2") record.SetErrorMsg2(text);
  else return false;
  return true;
}

}  // namespace

bool ReadBootstrapperLocalization(const std::wstring& filePath, IBSLocalizationConfigData& record,
                                  LANGID languageId) {
  CXmlNode root;
  std::wstring errorText;
  if (!CParser::LoadXmlFile(filePath, root, errorText)) {
    LogError(errorText);
    return false;
  }
  CXmlNode language = SelectLanguage(root, languageId);
  if (!language) language = SelectLanguage(root, 1033);
  if (!language) {
    LogError(L"There are no Language nodes configured in BootstrapperLocalization.xml file.");
    return false;
  }
  auto strings = language.SelectNodes(L"String");
  if (strings) {
    for (const CXmlNode& element : *strings) {
      auto attributes = element.GetAttributes();
      if (!attributes) continue;
      // The text is the attribute right after the one holding a known id;
      // attribute names are not looked at.
      std::wstring previousValue;
      for (const CXmlNode& attribute : *attributes) {
        std::wstring value = attribute.GetValue();
        (void)StoreText(record, previousValue, value);
        previousValue = value;
      }
    }
  }
  if (!::DeleteFileW(filePath.c_str())) {
    // Deliberate text ("can not", the trailing blank): kept as written.
    LogDebug(L"The Localization xml file %s can not be removed ", filePath.c_str());
  }
  return true;
}
