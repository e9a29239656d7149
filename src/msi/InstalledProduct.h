#pragma once
// What Windows Installer knows about an installed product: its codes in the
// packed form of the installer's registry data, the package copy it keeps,
// and product properties read through the entry points.

#include <windows.h>

#include <string>

#include "config/ProductCode.h"


// The packed form Windows Installer uses for codes in its registry data:
// {5EC0A002-0000-4000-8000-0000000000A2} -> 200A0CE500000004080000000000002A.
// Empty when the code does not have five groups separated by "-".
[[nodiscard]] std::wstring PackCode(const std::wstring& code);

// Path of the package copy Windows Installer keeps for an installed product,
// as MsiGetProductInfoW(INSTALLPROPERTY_LOCALPACKAGE) gives it (any install
// context); empty when there is none. When the installer cannot answer (no
// msi.dll, an installer that lacks the property, or a product it does not
// know) the installer's own registry data is read as a fallback. Used by the
// parse manager and the maintenance, minor-upgrade and patch launchers.
[[nodiscard]] std::wstring GetCachedPackagePath(const std::wstring& productCode);

// The fallback: "LocalPackage" of the per-machine InstallProperties in
// Windows Installer's private UserData key (64-bit view). That layout is not
// a published interface; it holds on Windows 6.0 to 11 and under Wine, and
// knows per-machine installations only. Empty (WARNING line) when missing.
[[nodiscard]] std::wstring ReadCachedPackageFromInstallerData(const std::wstring& productCode);

// Reads a product property through MsiGetProductInfoStub, asking first with
// an empty buffer and again with the reported size. Returns the installer's
// result (0 with `value` filled, 1605 for an unknown product, ...).
[[nodiscard]] UINT GetProductInfoText(const std::wstring& productCode, const wchar_t* property, std::wstring& value);
