#pragma once
// Rolling a grown log file over: it gets a time-stamped name beside itself so
// the next writer starts a fresh file under the original name.

#include <windows.h>

#include <string>

namespace setuplog {

// The line that ends a file which is being rolled over.
extern const wchar_t kRollOverMarker[];

// "<path without extension>_DDMMYYYY_HHMMSS.<extension>", at most MAX_PATH - 1 characters.
std::wstring BuildRolledFileName(const std::wstring& path, const SYSTEMTIME& localTime);

// Renames `path` to its rolled name for the current local time. On failure
// shows the warning message box and returns the C library's error number; 0
// on success.
[[nodiscard]] int RenameToRolledName(const std::wstring& path);

// The DEBUG text for a rename failure's error number; empty when none is defined.
std::wstring RenameFailureText(int errorNumber);

// Rolls a Windows Installer package log over before it is reused: a file
// larger than 10 MiB is closed with the marker line and renamed; it is not
// reopened and no mutex is taken, because only this process writes it.
void RollOverFile(const std::wstring& path);

}  // namespace setuplog
