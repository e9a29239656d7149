#include "config/SilentConfigParser.h"

#include <windows.h>
#include <shlobj.h>

#include "config/IBrandDetailsList.h"
#include "config/ISetupConfigData.h"
#include "config/ISilentConfigData.h"
#include "xml/Parser.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "config/WixFileContainer.h"

namespace {

using platform::GetEnvironmentValue;
using platform::GetSpecialFolder;

std::wstring ReferenceValue(const std::wstring& name) {
  if (platform::EqualsNoCase(name, L"CommonAppDataFolder")) return GetSpecialFolder(CSIDL_COMMON_APPDATA);
  if (platform::EqualsNoCase(name, L"LocalAppDataFolder")) {
    std::wstring folder = GetSpecialFolder(CSIDL_LOCAL_APPDATA);
    // Deliberate text (the trailing blank): kept as written.
    if (folder.empty()) LogWarning(L"SHGetSpecialFolderPath() Failed for LOCALAPPDATAFOLDER. ");
    return folder;
  }
  return GetEnvironmentValue(name);
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring TrimBlanks(const std::wstring& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

}  // namespace

CSilentConfigParser::CSilentConfigParser(ISilentConfigDataForParser& silent, ISetupConfigData& record)
    : silent_(silent), record_(record) {}

bool CSilentConfigParser::StartParse(const std::wstring& filePath) {
  CXmlNode root;
  std::wstring errorText;
  if (!CParser::LoadXmlFile(filePath, root, errorText)) {
    LogError(errorText);
    return false;
  }
  const struct {
    bool (CSilentConfigParser::*section)(const CXmlNode&);
    const wchar_t* failureText;
  } steps[] = {
      {&CSilentConfigParser::ParseSilentGeneral, L"CSilentConfigParser::StartParse() - Error in parsing general section."},
      {&CSilentConfigParser::ParseSilentWixSource,
       L"CSilentConfigParser::StartParse() - Error in parsing wixsource section."},
      {&CSilentConfigParser::ParseGeneralProperties,
       L"CSilentConfigParser::StartParse() - Error in parsing general properties section."},
      // Deliberate text (the double blank): kept as written.
      {&CSilentConfigParser::ParseKeyValues, L"CSilentConfigParser::StartParse() - Error in parsing KeyValues  section."},
  };
  for (const auto& step : steps) {
    bool succeeded = false;
    try {
      succeeded = (this->*step.section)(root);
    } catch (...) {
      succeeded = false;
    }
    if (!succeeded) {
      LogError(step.failureText);
      return false;
    }
  }
  return true;
}

bool CSilentConfigParser::ParseSilentGeneral(const CXmlNode& root) {
  silent_.SetShowErrorDialog(CParser::GetChildValueBool(root, L"GeneralSettings/ShowErrorDialog"));
  silent_.SetShowIndicator(CParser::GetChildValueBool(root, L"GeneralSettings/ShowIndicator"));
  return true;
}

bool CSilentConfigParser::ParseSilentWixSource(const CXmlNode& root) {
  try {
    auto wixFiles = root.SelectNodes(L"WixSource/WixFile");
    if (!wixFiles) return false;
    if (wixFiles->empty()) return true;
    CWixFileContainer* container = silent_.GetOrCreateWixFileContainer(static_cast<int>(wixFiles->size()));
    if (!container) return false;
    for (const CXmlNode& wixFile : *wixFiles) container->AddPath(wixFile.GetAttribute(L"Path"));
  } catch (...) {
    return false;
  }
  return true;
}

std::wstring CSilentConfigParser::ExpandPropertyValue(const std::wstring& value) {
  std::wstring result = value;
  size_t searchFrom = 0;
  for (;;) {
    const size_t open = result.find(L'%', searchFrom);
    if (open == std::wstring::npos) break;
    const size_t close = result.find(L'%', open + 1);
    if (close == std::wstring::npos) break;
    const std::wstring name = result.substr(open + 1, close - open - 1);
    const std::wstring replacement = ReferenceValue(name);
    size_t resumeAt = close + 1;
    if (!replacement.empty()) {
      // Every occurrence goes at once; scanning resumes after the inserted
      // text, so a value that itself holds "%" is never expanded again.
      const std::wstring reference = L"%" + name + L"%";
      std::wstring tail = result.substr(close + 1);
      platform::ReplaceAll(tail, reference, replacement);
      result = result.substr(0, open) + replacement + tail;
      resumeAt = open + replacement.size();
    }
    searchFrom = resumeAt;
  }
  return result;
}

std::wstring CSilentConfigParser::TrimPathBlanks(const std::wstring& path) {
  std::wstring result;
  bool first = true;
  for (const std::wstring& part : platform::Split(TrimBlanks(path), L"\\")) {
    if (!first) result += L'\\';
    result += TrimBlanks(part);
    first = false;
  }
  return result;
}

bool CSilentConfigParser::ParseGeneralProperties(const CXmlNode& root) {
  try {
    auto properties = root.SelectNodes(L"GeneralProperties/Property");
    if (!properties) return false;
    for (const CXmlNode& property : *properties) {
      const std::wstring id = property.GetAttribute(L"Id");
      std::wstring value = ExpandPropertyValue(property.GetAttribute(L"Value"));
      if (platform::EqualsNoCase(id, L"BRAND")) {
        // A brand chosen earlier (command line, registry) wins when it is one
        // the bundle knows; otherwise the silent file decides.
        IBrandDetailsList* brands = record_.GetBrandDetailsList();
        if (brands && !brands->IsBrandConfigured(record_.GetBrand())) record_.SetBrand(value);
      }
      if (platform::EqualsNoCase(id, L"INSTALLDIR")) value = TrimPathBlanks(value);
      silent_.SetProperty(id, value);
    }
  } catch (...) {
    return false;
  }
  return true;
}

bool CSilentConfigParser::ParseKeyValues(const CXmlNode& root) {
  try {
    auto keyValues = root.SelectNodes(L"KeyValues/KeyValue");
    if (!keyValues) return false;
    for (const CXmlNode& keyValue : *keyValues) {
      silent_.SetKeyValue(keyValue.GetAttribute(L"Id"), keyValue.GetAttribute(L"Value"));
    }
  } catch (...) {
    return false;
  }
  return true;
}
