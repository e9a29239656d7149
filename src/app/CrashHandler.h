#pragma once
// Last-chance handling of a crash: a minidump of the process is written to
// the common application data folder and the user is told where it is.

#include <windows.h>

#include <string>

// Called once by start-up, first thing: remembers the application name
// ("Application" when empty), which names the dump file and captions the
// message, and makes CrashHandlerFilter the unhandled-exception filter.
void InstallCrashHandler(const std::wstring& applicationName);

// Where a crash writes its dump: the common application data folder,
// "Halvorsk", the application name and ".dmp", joined without separators.
[[nodiscard]] std::wstring GetCrashDumpPath();

// The filter: writes the dump and shows the outcome in a message box.
// EXCEPTION_EXECUTE_HANDLER (1) once the dump is written, which ends the
// process; EXCEPTION_CONTINUE_SEARCH (0) when it could not be.
LONG WINAPI CrashHandlerFilter(EXCEPTION_POINTERS* exception);

// Test seam: the system library the filter looks for MiniDumpWriteDump in
// (default "dbghelp.dll"); always loaded from the system folder.
void SetCrashDumpLibraryForTest(const std::wstring& dllName);
