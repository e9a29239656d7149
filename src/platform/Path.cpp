#include "platform/Path.h"

#include <windows.h>

namespace platform {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

bool FileExists(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (name.empty()) return folder;
  const bool folderSlash = IsSeparator(folder.back());
  const bool nameSlash = IsSeparator(name.front());
  if (folderSlash && nameSlash) return folder + name.substr(1);
  if (folderSlash || nameSlash) return folder + name;
  return folder + L'\\' + name;
}

bool IsAbsolutePath(const std::wstring& path) {
  if (path.size() < 2) return false;
  const bool drive = path[1] == L':' && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  const bool network = IsSeparator(path[0]) && IsSeparator(path[1]);
  return drive || network;
}

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return {};
  std::wstring folder(buffer, length);
  if (!IsSeparator(folder.back())) folder += L'\\';
  return folder;
}

}  // namespace platform
