#include "registry/RegistryUtil.h"

#include <vector>

#include "log/Log.h"

namespace registry {

REGSAM ViewFlag(View view) {
  switch (view) {
    case View::Force64: return KEY_WOW64_64KEY;
    case View::Force32: return KEY_WOW64_32KEY;
    case View::Default: break;
  }
  return 0;
}

LSTATUS OpenKey(const std::wstring& path, REGSAM access, View view, platform::UniqueHKey& key) {
  return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access | ViewFlag(view), key.Put());
}

bool ReadStringValue(HKEY key, const std::wstring& name, std::wstring& value) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // The value may change between the two calls; retry with the new size.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LSTATUS status =
        ::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_MORE_DATA) {
      bytes = size;
      continue;
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // Stored strings need not be terminated: stop at the first zero or the stored length.
    size_t chars = size / sizeof(wchar_t);
    size_t length = 0;
    while (length < chars && buffer[length] != L'\0') ++length;
    value.assign(buffer.data(), length);
    return true;
  }
  return false;
}

std::wstring GetRegistryKeyValueData(const std::wstring& key, const std::wstring& name) {
  platform::UniqueHKey handle;
  if (OpenKey(key, KEY_READ, View::Default, handle) != ERROR_SUCCESS) {
    LogDebug(L"GetRegistryKeyValueData:: Unable to open the key %s.", key.c_str());
    return {};
  }
  std::wstring value;
  if (!ReadStringValue(handle.Get(), name, value)) return {};
  return value;
}

int SetRegistryKeyValueData(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
  platform::UniqueHKey handle;
  if (OpenKey(key, KEY_WRITE, View::Default, handle) != ERROR_SUCCESS) {
    LogDebug(L"SetRegistryKeyValueData:: Unable to open the key %s. Creating the key..", key.c_str());
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                          handle.Put(), nullptr) != ERROR_SUCCESS) {
      LogError(L"SetRegistryKeyValueData:: Unable to create the key %s.", key.c_str());
      return 0;
    }
  }
  DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  if (::RegSetValueExW(handle.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) !=
      ERROR_SUCCESS) {
    LogError(L"SetRegistryKeyValueData:: SetStringValue failed for the key %s and value %s.", key.c_str(),
             name.c_str());
    return 0;
  }
  return 1;
}

int DeleteValue(const std::wstring& key, const std::wstring& value) {
  platform::UniqueHKey handle;
  LSTATUS status = OpenKey(key, KEY_SET_VALUE, View::Default, handle);
  if (status == ERROR_SUCCESS) status = ::RegDeleteValueW(handle.Get(), value.c_str());
  if (status != ERROR_SUCCESS) {
    LogWarning(L"Unable to delete the registry key with the name %s under the key, %s", value.c_str(), key.c_str());
    return 0;
  }
  return 1;
}

}  // namespace registry
