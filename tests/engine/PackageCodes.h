#pragma once
// Product codes of the packages built in tests/packages/small.

#include <string>

namespace enginetest {

inline std::wstring SmallPackageCode(const std::wstring& number) {
  return L"{6B1D0C3A-2000-4000-8000-0000000000" + number + L"}";
}
inline const std::wstring kSmallA = SmallPackageCode(L"A1");
inline const std::wstring kSmallB = SmallPackageCode(L"A2");
inline const std::wstring kSmallC = SmallPackageCode(L"A3");

// Windows Installer's own record of an installed product: its product name
// (MsiGetProductInfo) and its InstallProperties key under the Installer's
// UserData; empty / false when not installed.
std::wstring InstalledProductName(const std::wstring& productCode);
bool HasInstallerRegistryData(const std::wstring& productCode);
// Removes the product silently; true when it is not installed afterwards.
bool UninstallProduct(const std::wstring& productCode);

}  // namespace enginetest
