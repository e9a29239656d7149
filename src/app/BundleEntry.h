#pragma once
// Read-back of the bundle's own Add/Remove Programs entry
// (HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<bundle key>)
// for the start-up of a run on an installed bundle. Only reads; the entry is
// written by the registry layer.

#include <windows.h>

#include <string>

class ISetupConfigData;

// Registry path of the bundle's entry below HKEY_LOCAL_MACHINE.
[[nodiscard]] std::wstring GetBundleEntryKey(const ISetupConfigData& record);

// The DWORD "Language" of the entry; 0 when the entry or value is missing.
[[nodiscard]] LANGID ReadBundleLanguage(const ISetupConfigData& record);

// "ExePathValue", "INSTALLDIR" and "BRAND" of the entry into the record's
// source path, installed location and brand; values that are missing leave
// the record as it is. False when the entry cannot be opened.
bool ReadBundleSettings(ISetupConfigData& record);
