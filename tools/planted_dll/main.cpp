// Leaves a marker file beside itself, named after itself plus ".loaded", as
// soon as any process loads it, and records that process's command line
// there, so a test can tell that it was loaded and by whom.

#include <windows.h>

namespace {

void WriteMarker(HMODULE self) {
  wchar_t path[MAX_PATH + 8] = {};
  const DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  ::lstrcatW(path, L".loaded");
  HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const wchar_t* line = ::GetCommandLineW();
  DWORD written = 0;
  ::WriteFile(file, line, static_cast<DWORD>(::lstrlenW(line) * sizeof(wchar_t)), &written, nullptr);
  ::CloseHandle(file);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) WriteMarker(instance);
  return TRUE;
}

// Answer "no version information", so a program that uses them goes on.
DWORD WINAPI PlantedGetFileVersionInfoSizeW(LPCWSTR, LPDWORD handle) {
  if (handle != nullptr) *handle = 0;
  ::SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return 0;
}

BOOL WINAPI PlantedGetFileVersionInfoW(LPCWSTR, DWORD, DWORD, LPVOID) {
  ::SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return FALSE;
}

BOOL WINAPI PlantedVerQueryValueW(LPCVOID, LPCWSTR, LPVOID* value, PUINT length) {
  if (value != nullptr) *value = nullptr;
  if (length != nullptr) *length = 0;
  return FALSE;
}

}  // extern "C"
