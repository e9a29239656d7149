#include "support/TestPaths.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "platform/SystemPaths.h"
#include "platform/StringUtil.h"

namespace testsupport {

namespace {
std::wstring UnixEnvToWindowsPath(const wchar_t* name) {
  wchar_t buffer[4096] = {};
  DWORD length = ::GetEnvironmentVariableW(name, buffer, 4096);
  if (length == 0 || length >= 4096) return {};
  std::wstring path(buffer, length);
  if (!path.empty() && path[0] == L'/') {
    platform::ReplaceAll(path, L"/", L"\\");
    path = L"Z:" + path;
  }
  if (path.back() != L'\\') path += L'\\';
  return path;
}
}  // namespace

std::wstring BinFolder() { return platform::GetModuleFolder(); }

std::wstring PackageFolder() {
  std::wstring bin = BinFolder();  // ...\bin\ .
  size_t slash = bin.find_last_of(L'\\', bin.size() >= 2 ? bin.size() - 2 : 0);
  return (slash == std::wstring::npos ? bin : bin.substr(0, slash + 1)) + L"packages\\";
}

std::wstring SourceFolder() { return UnixEnvToWindowsPath(L"SETUP_TEST_SOURCE_DIR"); }

std::wstring SharedFolder() { return UnixEnvToWindowsPath(L"SETUP_TEST_SHARED_DIR"); }

std::wstring ShippedBinFolder() {
  std::wstring fromEnvironment = UnixEnvToWindowsPath(L"SETUP_TEST_SHIPPED_BIN_DIR");
  if (!fromEnvironment.empty()) return fromEnvironment;
  // ...\<build>\win64\bin\ -> ...\<build>\win32\bin\ .
  std::wstring packages = PackageFolder();  // ...\<build>\win64\packages\ .
  size_t slash = packages.find_last_of(L'\\', packages.size() >= 2 ? packages.size() - 2 : 0);
  std::wstring target = slash == std::wstring::npos ? std::wstring() : packages.substr(0, slash);
  slash = target.find_last_of(L'\\');
  return (slash == std::wstring::npos ? target : target.substr(0, slash + 1)) + L"win32\\bin\\";
}

bool RemoveFolder(const std::wstring& folder) {
  std::wstring base = folder;
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((base + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = base + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(child);
      } else {
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(base.c_str());
  return ::GetFileAttributesW(base.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::wstring MakeScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"setuptests\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  folder += platform::Format(L"%s_%lu\\", name.c_str(), ::GetCurrentProcessId());
  RemoveFolder(folder);
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return {};
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace testsupport
