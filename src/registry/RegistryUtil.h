#pragma once
// Small registry utilities under HKEY_LOCAL_MACHINE shared by several parts of
// the program. Keys are named by their path below HKEY_LOCAL_MACHINE.

#include <windows.h>

#include <string>

#include "platform/UniqueResource.h"

namespace registry {

// Which view of a 64-bit registry to open; the 32-bit shipped build reads the
// 64-bit view explicitly where Windows Installer keeps its data there.
enum class View { Default, Force64, Force32 };

// RunOnce key and the value that marks a resume after an intermediate restart.
inline constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr wchar_t kRebootMarkerValue[] = L"BS_Reboot";

[[nodiscard]] REGSAM ViewFlag(View view);

// Opens HKLM\path; returns the Windows result.
[[nodiscard]] LSTATUS OpenKey(const std::wstring& path, REGSAM access, View view, platform::UniqueHKey& key);

// Creates (or opens) HKLM\path as a non-volatile key; returns the Windows result.
[[nodiscard]] LSTATUS CreateKey(const std::wstring& path, REGSAM access, View view, platform::UniqueHKey& key);

// Reads a string value (REG_SZ or REG_EXPAND_SZ, unexpanded); false when the
// key or value is missing or of another type.
[[nodiscard]] bool ReadStringValue(HKEY key, const std::wstring& name, std::wstring& value);

// Reads a REG_DWORD value; false when it is missing or of another type.
[[nodiscard]] bool ReadDwordValue(HKEY key, const std::wstring& name, DWORD& value);

// Write one REG_SZ / REG_DWORD value; return the Windows result.
[[nodiscard]] LSTATUS WriteStringValue(HKEY key, const std::wstring& name, const std::wstring& value);
[[nodiscard]] LSTATUS WriteDwordValue(HKEY key, const std::wstring& name, DWORD value);

// Deletes HKLM\path with all its subkeys, every level opened in `view` (a
// 32-bit process must not fall back to its redirected view half-way down).
// ERROR_FILE_NOT_FOUND when the key does not exist.
[[nodiscard]] LSTATUS DeleteKeyTree(const std::wstring& path, View view);

// Reads one string value of HKLM\key; empty when missing (logs when the key cannot be opened).
[[nodiscard]] std::wstring GetRegistryKeyValueData(const std::wstring& key, const std::wstring& name);

// Writes one string value of HKLM\key, creating the key when missing; 1 on success.
[[nodiscard]] int SetRegistryKeyValueData(const std::wstring& key, const std::wstring& name,
                                          const std::wstring& value);

// Deletes one value of HKLM\key; 1 on success, 0 (logged) on failure.
[[nodiscard]] int DeleteValue(const std::wstring& key, const std::wstring& value);

// Whether a resume after an intermediate restart is pending: the RunOnce
// marker value exists. Asked at start-up and by the reboot manager.
[[nodiscard]] bool IsRebootMarkerPresent();

}  // namespace registry
