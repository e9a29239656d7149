#include "PackageCodes.h"

#include "msi/MsiEntryPoints.h"
#include "platform/UniqueResource.h"

namespace enginetest {

namespace {

// {5EC0A002-0000-4000-8000-0000000000A2} -> 200A0CE500000004080000000000002A
std::wstring PackedCode(const std::wstring& code) {
  std::wstring hex;
  for (wchar_t c : code) {
    if (c != L'{' && c != L'}' && c != L'-') hex.push_back(c);
  }
  if (hex.size() != 32) return {};
  std::wstring packed;
  auto reverse = [&](size_t from, size_t count) {
    for (size_t i = 0; i < count; ++i) packed.push_back(hex[from + count - 1 - i]);
  };
  reverse(0, 8);
  reverse(8, 4);
  reverse(12, 4);
  for (size_t at = 16; at < 32; at += 2) {
    packed.push_back(hex[at + 1]);
    packed.push_back(hex[at]);
  }
  return packed;
}

}  // namespace

std::wstring InstalledProductName(const std::wstring& productCode) {
  LoadMsiLibrary();
  DWORD length = 0;
  wchar_t empty[1] = L"";
  UINT result = MsiGetProductInfoStub(productCode.c_str(), INSTALLPROPERTY_INSTALLEDPRODUCTNAME, empty, &length);
  if (result != ERROR_MORE_DATA && result != ERROR_SUCCESS) return {};
  std::wstring value(length + 1, L'\0');
  DWORD size = length + 1;
  if (MsiGetProductInfoStub(productCode.c_str(), INSTALLPROPERTY_INSTALLEDPRODUCTNAME, &value[0], &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  value.resize(size);
  return value;
}

bool HasInstallerRegistryData(const std::wstring& productCode) {
  std::wstring key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\" +
                     PackedCode(productCode) + L"\\InstallProperties";
  platform::UniqueHKey opened;
  return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, opened.Put()) == ERROR_SUCCESS;
}

bool UninstallProduct(const std::wstring& productCode) {
  LoadMsiLibrary();
  if (InstalledProductName(productCode).empty()) return true;
  (void)MsiSetExternalUIStub(nullptr, 0, nullptr);
  (void)MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  (void)MsiConfigureProductExStub(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"");
  return InstalledProductName(productCode).empty();
}

}  // namespace enginetest
