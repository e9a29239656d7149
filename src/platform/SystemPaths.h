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
