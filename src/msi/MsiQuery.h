#pragma once
// Small reads from Windows Installer records, sessions and package files that
// several installer users share.

#include <windows.h>
#include <msi.h>

#include <string>

// A record field as text, asking first for its size; empty when unreadable.
[[nodiscard]] std::wstring ReadRecordString(MSIHANDLE record, UINT field);

// A session property, asking first for its size (the 234 retry); empty when
// unset or unreadable.
[[nodiscard]] std::wstring ReadSessionProperty(MSIHANDLE package, const std::wstring& name);

// The value of `name` in the Property table of the package file at `path`,
// read without opening a session (loading the library when needed); empty when the file, table or row is missing.
[[nodiscard]] std::wstring ReadPackageFileProperty(const std::wstring& path, const std::wstring& name);
