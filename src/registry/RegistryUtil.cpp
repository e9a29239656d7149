#include "registry/RegistryUtil.h"

#include <new>
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

LSTATUS CreateKey(const std::wstring& path, REGSAM access, View view, platform::UniqueHKey& key) {
  return ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           access | ViewFlag(view), nullptr, key.Put(), nullptr);
}

bool ReadStringValue(HKEY key, const std::wstring& name, std::wstring& value) {
  try {
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
  } catch (...) {
    // A value of absurd size can exhaust memory; the caller sees a missing value.
    // Deliberate text ("GetStringValue", the trailing blank): kept as written.
    LogError(L"Exception in GetStringValue ");
    return false;
  }
}

bool ReadDwordValue(HKEY key, const std::wstring& name, DWORD& value) {
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof(data);
  if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(data)) {
    return false;
  }
  value = data;
  return true;
}

LSTATUS WriteStringValue(HKEY key, const std::wstring& name, const std::wstring& value) {
  DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

LSTATUS WriteDwordValue(HKEY key, const std::wstring& name, DWORD value) {
  return ::RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

namespace {

// Deletes every subkey of `key` (opened in `view`), depth first.
LSTATUS DeleteSubkeys(HKEY key, REGSAM viewFlag) {
  for (;;) {
    // Always take the first child: the enumeration order shifts as children go.
    wchar_t name[256];
    DWORD length = static_cast<DWORD>(sizeof(name) / sizeof(name[0]));
    LSTATUS status = ::RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    {
      platform::UniqueHKey child;
      status = ::RegOpenKeyExW(key, name, 0, KEY_READ | viewFlag, child.Put());
      if (status != ERROR_SUCCESS) return status;
      status = DeleteSubkeys(child.Get(), viewFlag);
      if (status != ERROR_SUCCESS) return status;
    }
    status = ::RegDeleteKeyExW(key, name, viewFlag, 0);
    if (status != ERROR_SUCCESS) return status;
  }
}

}  // namespace

LSTATUS DeleteKeyTree(const std::wstring& path, View view) {
  platform::UniqueHKey key;
  LSTATUS status = OpenKey(path, KEY_READ, view, key);
  if (status != ERROR_SUCCESS) return status;
  status = DeleteSubkeys(key.Get(), ViewFlag(view));
  key.Reset();
  if (status != ERROR_SUCCESS) return status;
  return ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), ViewFlag(view), 0);
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
    if (CreateKey(key, KEY_WRITE, View::Default, handle) != ERROR_SUCCESS) {
      LogError(L"SetRegistryKeyValueData:: Unable to create the key %s.", key.c_str());
      return 0;
    }
  }
  if (WriteStringValue(handle.Get(), name, value) != ERROR_SUCCESS) {
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

bool IsRebootMarkerPresent() {
  platform::UniqueHKey key;
  if (OpenKey(kRunOnceKey, KEY_QUERY_VALUE, View::Default, key) != ERROR_SUCCESS) return false;
  return ::RegQueryValueExW(key.Get(), kRebootMarkerValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace registry
