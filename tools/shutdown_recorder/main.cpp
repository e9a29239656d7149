// Stands in for the system's shutdown.exe inside the test Wine prefix: it
// records the command line it was given instead of restarting anything.
// The record goes to %SHUTDOWN_RECORD_FILE% when set, else to
// C:\windows\temp\shutdown-recorder.log; one UTF-8 line per call, ending
// with the stand-in's own bitness: the 64-bit copy lives in system32, the
// 32-bit one in syswow64, so the line tells which system folder a setup used.

#include <windows.h>

#include <cstdio>
#include <string>

int wmain() {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"SHUTDOWN_RECORD_FILE", path, MAX_PATH) == 0) {
    lstrcpyW(path, L"C:\\windows\\temp\\shutdown-recorder.log");
  }
  std::wstring line = GetCommandLineW();
  line += sizeof(void*) == 8 ? L" [64-bit]" : L" [32-bit]";
  int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], bytes, nullptr, nullptr);
  utf8 += "\n";
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
