#include "config/CommonUtilityBase.h"

#include "config/ISetupConfigData.h"
#include "config/LogFileDetails.h"
#include "platform/Path.h"
#include "platform/StringUtil.h"

void CCommonUtilityBase::ResolvePath(const ISetupConfigData& record, std::wstring& path, bool relativeToSource) {
  path = platform::Trim(path);
  if (path.empty()) return;
  // A leading reference stands for a folder of its own, expanded or not.
  bool absolute = relativeToSource && (path[0] == L'%' || (path.size() > 1 && path[1] == L'%'));
  // A drive or network path names its file already; the source path in front
  // would only break it.
  if (platform::IsAbsolutePath(path)) absolute = true;
  path = CLogFileDetails::ExpandFolderReferences(path, false);
  if (path.find(L"[InstallDir]") != std::wstring::npos) {
    platform::ReplaceAll(path, L"[InstallDir]", record.GetInstalledLocation());
    absolute = true;
  }
  if (path.find(L"[CurrentDir]") != std::wstring::npos) {
    platform::ReplaceAll(path, L"[CurrentDir]", record.GetSetupFolder());
    absolute = true;
  }
  if (relativeToSource && !absolute) path = record.GetSourcePath() + path;
  platform::ReplaceAll(path, L"[SelectedBrand]", record.GetBrand());
  platform::ReplaceAll(path, L"[SelectedLang]", std::to_wstring(record.GetLanguageId()));
}

std::wstring CCommonUtilityBase::GetErrorMessageText(DWORD code, LANGID languageId) {
  if (code == kChildSetupRebootExitCode) return L"The child setup requested a reboot of the parent setup!";
  std::wstring text = platform::SystemErrorText(code, languageId);
  if (text.empty()) text = platform::SystemErrorText(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  return text;
}
