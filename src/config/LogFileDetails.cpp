#include "config/LogFileDetails.h"

#include <windows.h>
#include <shlobj.h>

#include "log/Log.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"

namespace {

using platform::GetEnvironmentValue;
using platform::GetSpecialFolder;

}  // namespace

CLogFileDetails::CLogFileDetails(const std::wstring& name, const std::wstring& level, int mode, int maxLengthOfFile)
    : name_(ExpandFolderReferences(name)), level_(level), mode_(mode), maxLengthOfFile_(maxLengthOfFile) {}

std::wstring CLogFileDetails::ExpandFolderReferences(const std::wstring& text, bool fallBackToCommonAppData) {
  std::wstring result = text;
  size_t searchFrom = 0;
  for (;;) {
    size_t open = result.find(L'%', searchFrom);
    if (open == std::wstring::npos) break;
    size_t close = result.find(L'%', open + 1);
    if (close == std::wstring::npos) break;
    std::wstring name = result.substr(open + 1, close - open - 1);
    if (name.empty()) {
      // "%%" names nothing: it stays as written rather than becoming the
      // common application data folder ("%%%" would otherwise be a file
      // "C:\ProgramData%" at the top of the drive).
      searchFrom = close;
      continue;
    }
    std::wstring value;
    if (platform::EqualsNoCase(name, L"CommonAppDataFolder")) {
      value = GetSpecialFolder(CSIDL_COMMON_APPDATA);
    } else if (platform::EqualsNoCase(name, L"LocalAppDataFolder")) {
      value = GetSpecialFolder(CSIDL_LOCAL_APPDATA);
      // Deliberate text (the trailing blank): kept as written.
      if (value.empty()) LogWarning(L"SHGetSpecialFolderPath() Failed for LOCALAPPDATAFOLDER. ");
    } else {
      value = GetEnvironmentValue(name);
      if (value.empty() && fallBackToCommonAppData) {
        value = GetSpecialFolder(CSIDL_COMMON_APPDATA);
        // Deliberate text (the double blank and the trailing blank): kept as written.
        LogInformation(L"Environment Variable %s could not be resolved, replacing it  with COMMONAPPDATAFOLDER ",
                       name.c_str());
      }
    }
    size_t resumeAt = close + 1;
    if (!value.empty()) {
      std::wstring reference = L"%" + name + L"%";
      // Every occurrence of this reference is replaced; scanning resumes after
      // the replaced text so a value holding "%" is never expanded again.
      std::wstring head = result.substr(0, open);
      std::wstring tail = result.substr(close + 1);
      platform::ReplaceAll(tail, reference, value);
      result = head + value + tail;
      resumeAt = head.size() + value.size();
    }
    searchFrom = resumeAt;
  }
  return result;
}

std::wstring CLogFileDetails::GetFileName() const {
  size_t slash = name_.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : name_.substr(slash + 1);
}

std::wstring CLogFileDetails::GetFolder() const {
  size_t slash = name_.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : name_.substr(0, slash + 1);
}
