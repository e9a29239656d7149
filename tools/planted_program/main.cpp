// Leaves a marker file beside itself, named after itself plus ".ran", and
// records its command line there, so a test can tell that it was started.

#include <windows.h>

#include <string>

int wmain() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring marker = std::wstring(self) + L".ran";
  HANDLE file = CreateFileW(marker.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  return 0;
}
