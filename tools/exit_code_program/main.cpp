// Sleeps %EXIT_CODE_PROGRAM_SLEEP_MS% milliseconds, then exits with
// %EXIT_CODE_PROGRAM_CODE% (both default to 0).

#include <windows.h>

#include <cwchar>

namespace {
DWORD NumberFromEnvironment(const wchar_t* name) {
  wchar_t value[32] = {};
  if (::GetEnvironmentVariableW(name, value, 32) == 0) return 0;
  return static_cast<DWORD>(std::wcstoul(value, nullptr, 10));
}
}  // namespace

int wmain() {
  ::Sleep(NumberFromEnvironment(L"EXIT_CODE_PROGRAM_SLEEP_MS"));
  return static_cast<int>(NumberFromEnvironment(L"EXIT_CODE_PROGRAM_CODE"));
}
