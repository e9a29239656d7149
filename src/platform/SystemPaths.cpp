#include "platform/SystemPaths.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/ProcAddress.h"
#include "platform/Process.h"

namespace platform {

std::wstring GetSystemFolder() {
  wchar_t buffer[MAX_PATH] = {};
  UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH);
  std::wstring folder = (length > 0 && length < MAX_PATH) ? std::wstring(buffer, length) : L"C:\\Windows\\System32";
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring SystemFilePath(const std::wstring& fileName) { return GetSystemFolder() + fileName; }

bool RestrictDllSearchToSystemFolder() {
  // kernel32 is mapped into every process; GetModuleHandleW takes no reference to release.
  auto setDefaultDirectories = GetProc<decltype(&::SetDefaultDllDirectories)>(
      ::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  const bool restricted = setDefaultDirectories != nullptr && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  const bool currentFolderRemoved = ::SetDllDirectoryW(L"") != FALSE;
  return restricted && currentFolderRemoved;
}

UniqueModule LoadSystemLibrary(const wchar_t* dllName) {
  // LOAD_LIBRARY_SEARCH_SYSTEM32 is missing on unpatched Windows 6.0, so the
  // full path is the portable way to keep the application folder out of the search.
  std::wstring path = SystemFilePath(dllName);
  return UniqueModule(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

UniqueHandle StartSystemProgramHidden(const std::wstring& fileName, const std::wstring& arguments) {
  ProcessOptions options;
  options.creationFlags = CREATE_NO_WINDOW;
  options.showWindow = SW_HIDE;
  options.workingFolder = GetSystemFolder();
  return StartProgram(SystemFilePath(fileName), arguments, options);
}

std::wstring GetModulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring GetModuleFolder() {
  std::wstring path = GetModulePath();
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace platform

std::wstring platform::GetSpecialFolder(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return {};
  return buffer;
}

std::wstring platform::GetEnvironmentValue(const std::wstring& name) {
  DWORD needed = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  DWORD length = ::GetEnvironmentVariableW(name.c_str(), &value[0], needed);
  value.resize(length < needed ? length : 0);
  return value;
}
