#pragma once
// The program's one way to start another program and learn how it ended.
// A program is always named by its full path and quoted on the command line,
// so a blank in the path can never make Windows start a different program.

#include <windows.h>

#include <string>

#include "platform/UniqueResource.h"

namespace platform {

struct ProcessOptions {
  // CreateProcessW creation flags (CREATE_NO_WINDOW, CREATE_PRESERVE_CODE_AUTHZ_LEVEL...).
  DWORD creationFlags = 0;
  // The STARTUPINFO show state of the program's first window.
  WORD showWindow = SW_SHOWNORMAL;
  // The program's current folder; empty: ours.
  std::wstring workingFolder;
};

// The command line a program is started with: the quoted path, then the arguments.
[[nodiscard]] std::wstring QuotedCommandLine(const std::wstring& programPath, const std::wstring& arguments);

// Starts `programPath` (a full path) with `arguments`. The process handle;
// invalid on failure, with the Windows error in GetLastError.
[[nodiscard]] UniqueHandle StartProgram(const std::wstring& programPath, const std::wstring& arguments,
                                        const ProcessOptions& options = {});

// Starts a command line whose first token names the program (quoted where it
// holds blanks), for command lines a bundle author wrote whole. Same result
// as StartProgram.
[[nodiscard]] UniqueHandle StartCommandLine(const std::wstring& commandLine, const ProcessOptions& options = {});

// Waits up to `timeoutMs` (INFINITE allowed) without pumping messages, for
// worker threads. WAIT_OBJECT_0 with `exitCode` set once the process ended,
// WAIT_TIMEOUT, or WAIT_FAILED (the Windows error in GetLastError).
[[nodiscard]] DWORD WaitForExit(HANDLE process, DWORD timeoutMs, DWORD& exitCode);

}  // namespace platform
