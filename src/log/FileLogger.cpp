#include "log/FileLogger.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <utility>

namespace setuplog {

namespace {
// The configuration's folder rule for this one reference, kept here because
// the log layer must not reach up into the configuration: when the folder is
// unknown the reference stays as written.
std::wstring CommonAppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_APPDATA, FALSE)) return L"%CommonAppDataFolder%";
  return buffer;
}
}  // namespace

std::wstring CFileLogger::DefaultPath(const std::wstring& bundleKey) {
  // The key comes from the bundle's configuration and is checked only after
  // the log is open: here it is a file name, never a path out of the folder.
  std::wstring name = bundleKey.empty() ? L"Bootstrapper" : bundleKey;
  for (wchar_t& c : name) {
    if (c < L' ' || std::wcschr(L"\\/:*?\"<>|", c) != nullptr) c = L'_';
  }
  return CommonAppDataFolder() + L"\\Halvorsk\\Logs\\Setup\\" + name + L"_SetupBundle.log";
}

CFileLogger::CFileLogger(const std::wstring& path, int mode, int maxLengthOfFile, const std::wstring& bundleKey,
                         OpenFailureTexts failureTexts)
    : writer_(path.empty() ? DefaultPath(bundleKey) : path, mode, maxLengthOfFile, std::move(failureTexts)) {}

void CFileLogger::Write(int, const std::wstring& text) { writer_.WriteLine(text); }

}  // namespace setuplog
