#include "ui/style/MainDialogConfigParser.h"

#include "xml/Parser.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "ui/style/IDialogUnitConverter.h"
#include "ui/style/IMaindialogConfigData.h"

namespace {

constexpr const wchar_t* kAreaNames[] = {L"Dialog",         L"TitleBar",  L"TitleBarText",   L"Banner",
                                         L"LeftImage",      L"BillboardTitle", L"BillBoard", L"LeftProgressBar"};
constexpr int kMainAreaCount = 8;
constexpr int kPreInstallAreaCount = 3;

int AreaKey(const std::wstring& name, int areaCount) {
  for (int key = 0; key < areaCount; ++key) {
    if (name == kAreaNames[key]) return key;
  }
  return -1;
}

}  // namespace

CMainDialogConfigParser::CMainDialogConfigParser(IMaindialogConfigDataForParser& record,
                                                 const IDialogUnitConverter& converter)
    : record_(record), converter_(converter) {}

bool CMainDialogConfigParser::StartParse(const std::wstring& filePath) {
  LogDebug(L"Parsing of ConfigForMainDialog.xml started...");
  CXmlNode root;
  std::wstring errorText;
  if (!CParser::LoadXmlFile(filePath, root, errorText)) {
    LogError(errorText.empty() ? L"CMainDialogConfigParser::StartParse() - The file has no root element."
                               : errorText);
    return false;
  }
  CXmlNode mainDialog = root.SelectSingleNode(L"MainDialog");
  if (!mainDialog) {
    LogError(L"CMainDialogConfigParser::StartParse() - The MainDialog section is missing.");
    return false;
  }
  ParseSection(mainDialog, kMainAreaCount, true);
  CXmlNode preInstall = root.SelectSingleNode(L"PreInstallDialog");
  if (!preInstall) {
    LogError(L"CMainDialogConfigParser::StartParse() - The PreInstallDialog section is missing.");
    return false;
  }
  ParseSection(preInstall, kPreInstallAreaCount, false);
  double vertical = 0.0, horizontal = 0.0, scale = 0.0;
  converter_.GetFactors(vertical, horizontal, scale);
  record_.SetConversionFactors(vertical, horizontal, scale);
  LogDebug(L"Parsing of ConfigForMainDialog.xml completed successfully.");
  return true;
}

void CMainDialogConfigParser::ParseSection(const CXmlNode& section, int areaCount, bool mainDialog) {
  auto areas = section.SelectNodes(L"*");
  if (!areas) return;
  for (const CXmlNode& area : *areas) {
    int key = AreaKey(area.GetName(), areaCount);
    if (key < 0) continue;
    RECT authored{platform::ToInt(area.GetAttribute(L"Left")), platform::ToInt(area.GetAttribute(L"Top")),
                  platform::ToInt(area.GetAttribute(L"Right")), platform::ToInt(area.GetAttribute(L"Bottom"))};
    // The frame itself becomes a dialog template; the areas are drawn in pixels.
    RECT converted = key == kAreaDialog ? converter_.ToDialogUnits(authored) : converter_.ScaleRect(authored);
    if (mainDialog) {
      (void)record_.AddMainDialogRect(key, converted);
    } else {
      (void)record_.AddPreInstallDialogRect(key, converted);
    }
  }
}
