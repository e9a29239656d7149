#pragma once
// System DLLs and programs are always named by their full path in the system
// folder, so a file planted beside Setup.exe can never be picked up instead.

#include <string>

#include "platform/UniqueResource.h"

namespace platform {

// The system folder with a trailing backslash, e.g. "C:\windows\system32\".
std::wstring GetSystemFolder();

// Full path of a file in the system folder.
std::wstring SystemFilePath(const std::wstring& fileName);

// Keeps the application and current folders out of every later DLL search of
// this process, including the loads that system libraries make on their own:
// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up at run
// time because Windows 6.0 and 6.1 have it only with KB2533623, and
// SetDllDirectoryW(L"") for the current folder. Call it first in wWinMain.
// False when the default directories could not be set (the process then
// relies on full paths alone, which every load of ours uses anyway).
[[nodiscard]] bool RestrictDllSearchToSystemFolder();

// Loads a DLL from the system folder only.
[[nodiscard]] UniqueModule LoadSystemLibrary(const wchar_t* dllName);

// Starts a program of the system folder, by its full path, without a window
// and with the system folder as its current folder. `arguments` follow the
// quoted program path. The process handle, invalid on failure (the Windows
// error stays in GetLastError).
[[nodiscard]] UniqueHandle StartSystemProgramHidden(const std::wstring& fileName, const std::wstring& arguments);

// Full path of the running executable, and its folder with the trailing backslash.
// A shell folder by its CSIDL value (no trailing backslash); empty when unknown.
std::wstring GetSpecialFolder(int csidl);
// An environment variable's value; empty when it is not set.
std::wstring GetEnvironmentValue(const std::wstring& name);

std::wstring GetModulePath();
std::wstring GetModuleFolder();

}  // namespace platform
