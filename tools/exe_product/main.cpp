// exe_product [/marker:PATH] [/sleep:MS] [/waitfor:PATH] [/exit:N] [/crash]
// Appends its whole command line as one line to PATH (so a test sees that it
// ran, in which order, and with which arguments), sleeps, waits (at most a
// minute) until the /waitfor file exists, so that a test decides when it
// ends, then ends with N or crashes with an access violation.

#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

void AppendLine(const std::wstring& path, const std::wstring& text) {
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string utf8;
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(size));
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
  utf8 += "\n";
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  int exitCode = 0;
  DWORD sleepMs = 0;
  bool crash = false;
  std::wstring marker;
  std::wstring gate;
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg.rfind(L"/exit:", 0) == 0) exitCode = _wtoi(arg.c_str() + 6);
    if (arg.rfind(L"/sleep:", 0) == 0) sleepMs = static_cast<DWORD>(_wtoi(arg.c_str() + 7));
    if (arg.rfind(L"/marker:", 0) == 0) marker = arg.substr(8);
    if (arg.rfind(L"/waitfor:", 0) == 0) gate = arg.substr(9);
    if (arg == L"/crash") crash = true;
  }
  if (argv != nullptr) LocalFree(argv);
  if (!marker.empty()) AppendLine(marker, GetCommandLineW());
  if (sleepMs != 0) Sleep(sleepMs);
  for (int i = 0; !gate.empty() && i < 600 && GetFileAttributesW(gate.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(100);
  }
  if (crash) {
    // No error box and no debugger: the crash ends the process at once with
    // the exception code as its exit code, as on a machine without a debugger.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  return exitCode;
}
