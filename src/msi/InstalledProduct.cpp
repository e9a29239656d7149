#include "msi/InstalledProduct.h"

#include <algorithm>
#include <vector>

#include "log/Log.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"

namespace {

const wchar_t kInstallerProductsKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\";

std::wstring SwapPairs(const std::wstring& group) {
  std::wstring swapped = group;
  for (size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
  return swapped;
}

// A REG_SZ value of an open key; false when missing or of another type.
bool QueryString(HKEY key, const wchar_t* name, std::wstring& value) {
  DWORD bytes = 0;
  if (::RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return false;
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (::RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) != ERROR_SUCCESS) {
    return false;
  }
  value.assign(buffer.data());
  return true;
}

}  // namespace

std::wstring PackCode(const std::wstring& code) {
  std::wstring bare = code;
  platform::ReplaceAll(bare, L"{", L"");
  platform::ReplaceAll(bare, L"}", L"");
  std::vector<std::wstring> groups = platform::Split(bare, L"-");
  if (groups.size() != 5) return {};
  std::wstring packed;
  for (size_t i = 0; i < 3; ++i) packed.append(groups[i].rbegin(), groups[i].rend());
  packed += SwapPairs(groups[3]);
  packed += SwapPairs(groups[4]);
  return packed;
}

std::wstring GetCachedPackagePath(const std::wstring& productCode) {
  std::wstring path;
  const UINT result = GetProductInfoText(productCode, INSTALLPROPERTY_LOCALPACKAGE, path);
  if (result == ERROR_SUCCESS && !path.empty()) return path;
  if (result != ERROR_UNKNOWN_PRODUCT) {
    LogDebug(L"GetCachedPackagePath() - Windows Installer gave %u for the cached package of %s; reading its "
             L"product data instead.",
             result, productCode.c_str());
  }
  return ReadCachedPackageFromInstallerData(productCode);
}

std::wstring ReadCachedPackageFromInstallerData(const std::wstring& productCode) {
  std::wstring keyPath = kInstallerProductsKey + PackCode(productCode) + L"\\InstallProperties";
  // The 32-bit setup program must read the installer's data where the 64-bit
  // Windows Installer keeps it.
  platform::UniqueHKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.Put()) !=
      ERROR_SUCCESS) {
    LogWarning(L"Not able to open the key %s", keyPath.c_str());
    return {};
  }
  std::wstring path;
  if (!QueryString(key.Get(), L"LocalPackage", path)) return {};
  return path;
}

UINT GetProductInfoText(const std::wstring& productCode, const wchar_t* property, std::wstring& value) {
  value.clear();
  wchar_t empty[1] = {};
  DWORD length = 0;
  UINT result = MsiGetProductInfoStub(productCode.c_str(), property, empty, &length);
  if (result != ERROR_MORE_DATA) return result;
  // The value may grow between the calls; ask again while it does.
  for (int attempt = 0; attempt < 3 && result == ERROR_MORE_DATA; ++attempt) {
    std::vector<wchar_t> buffer(length + 1, L'\0');
    length = static_cast<DWORD>(buffer.size());
    result = MsiGetProductInfoStub(productCode.c_str(), property, buffer.data(), &length);
    if (result == ERROR_SUCCESS) value.assign(buffer.data(), std::min<size_t>(length, buffer.size() - 1));
  }
  return result;
}
