// hold_file PATH: creates PATH's folder and PATH, holds the file open without
// sharing, and waits until it is ended.

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) return 2;
  const std::wstring path = argv[1];
  const size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) SHCreateDirectoryExW(nullptr, path.substr(0, slash).c_str(), nullptr);
  // A copy left by an installation may be read-only.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  Sleep(INFINITE);
  CloseHandle(file);
  return 0;
}
