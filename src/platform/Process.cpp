#include "platform/Process.h"

namespace platform {

namespace {

UniqueHandle Start(const wchar_t* applicationName, std::wstring commandLine, const ProcessOptions& options) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = options.showWindow;
  PROCESS_INFORMATION started = {};
  // CreateProcessW may write into the command line.
  commandLine.push_back(L'\0');
  if (!::CreateProcessW(applicationName, &commandLine[0], nullptr, nullptr, FALSE, options.creationFlags, nullptr,
                        options.workingFolder.empty() ? nullptr : options.workingFolder.c_str(), &startup,
                        &started)) {
    return UniqueHandle();
  }
  UniqueHandle thread(started.hThread);
  return UniqueHandle(started.hProcess);
}

}  // namespace

std::wstring QuotedCommandLine(const std::wstring& programPath, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + programPath + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  return commandLine;
}

UniqueHandle StartProgram(const std::wstring& programPath, const std::wstring& arguments,
                          const ProcessOptions& options) {
  if (programPath.empty()) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return UniqueHandle();
  }
  // The application name keeps Windows from searching for the program at all.
  return Start(programPath.c_str(), QuotedCommandLine(programPath, arguments), options);
}

UniqueHandle StartCommandLine(const std::wstring& commandLine, const ProcessOptions& options) {
  if (commandLine.empty()) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return UniqueHandle();
  }
  return Start(nullptr, commandLine, options);
}

DWORD WaitForExit(HANDLE process, DWORD timeoutMs, DWORD& exitCode) {
  const DWORD wait = ::WaitForSingleObject(process, timeoutMs);
  if (wait != WAIT_OBJECT_0) return wait == WAIT_TIMEOUT ? WAIT_TIMEOUT : WAIT_FAILED;
  DWORD code = 0;
  if (!::GetExitCodeProcess(process, &code)) return WAIT_FAILED;
  exitCode = code;
  return WAIT_OBJECT_0;
}

}  // namespace platform
