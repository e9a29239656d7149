#include "config/CommonUtilityBase.h"

#include "config/ISetupConfigData.h"
#include "config/LogFileDetails.h"
#include "platform/StringUtil.h"

namespace {

std::wstring SystemMessage(DWORD code, LANGID languageId) {
  wchar_t* buffer = nullptr;
  DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      languageId, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length != 0 && buffer != nullptr) text.assign(buffer, length);
  if (buffer != nullptr) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

}  // namespace

void CCommonUtilityBase::ResolvePath(const ISetupConfigData& record, std::wstring& path, bool relativeToSource) {
  path = platform::Trim(path);
  if (path.empty()) return;
  // A leading reference stands for a folder of its own, expanded or not.
  bool absolute = relativeToSource && (path[0] == L'%' || (path.size() > 1 && path[1] == L'%'));
  // A drive or network path names its file already; the source path in front
  // would only break it.
  if (path.size() > 1 && (path[1] == L':' || (path[0] == L'\\' && path[1] == L'\\'))) absolute = true;
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
  std::wstring text = SystemMessage(code, languageId);
  if (text.empty()) text = SystemMessage(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  return text;
}
