// Stands in for the demo bundle's executable products (a runtime installer
// and an activation tool): appends its command line to
// %ProgramData%\Halvorsk\Logs\DemoProducts.log and exits with 0. An
// installation that is not quiet takes three seconds, as a real runtime
// installer showing its progress would, so the wizard's progress page can be
// watched (and photographed by the demo) while it runs.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t folder[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"ProgramData", folder, MAX_PATH) == 0) return 0;
  std::wstring path = std::wstring(folder) + L"\\Halvorsk";
  ::CreateDirectoryW(path.c_str(), nullptr);
  path += L"\\Logs";
  ::CreateDirectoryW(path.c_str(), nullptr);
  path += L"\\DemoProducts.log";
  std::wstring line = std::wstring(::GetCommandLineW()) + L"\r\n";
  int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], bytes, nullptr, nullptr);
  }
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(file);
  }
  const std::wstring commandLine = ::GetCommandLineW();
  if (commandLine.find(L"/install") != std::wstring::npos && commandLine.find(L"/quiet") == std::wstring::npos) {
    ::Sleep(3000);
  }
  return 0;
}
