#include "app/BundleEntry.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "platform/UniqueResource.h"
#include "registry/RegistryUtil.h"

namespace {
const wchar_t kUninstallRoot[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
}

std::wstring GetBundleEntryKey(const ISetupConfigData& record) {
  return kUninstallRoot + record.GetBootstrapperRegistry();
}

LANGID ReadBundleLanguage(const ISetupConfigData& record) {
  platform::UniqueHKey key;
  if (registry::OpenKey(GetBundleEntryKey(record), KEY_READ, registry::View::Default, key) != ERROR_SUCCESS) {
    return 0;
  }
  DWORD language = 0;
  DWORD type = 0;
  DWORD bytes = sizeof(language);
  if (::RegQueryValueExW(key.Get(), L"Language", nullptr, &type, reinterpret_cast<BYTE*>(&language), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return 0;
  }
  return static_cast<LANGID>(language);
}

bool ReadBundleSettings(ISetupConfigData& record) {
  platform::UniqueHKey key;
  std::wstring path = GetBundleEntryKey(record);
  if (registry::OpenKey(path, KEY_READ, registry::View::Default, key) != ERROR_SUCCESS) {
    LogWarning(L"Not able to open the key %s", path.c_str());
    return false;
  }
  std::wstring value;
  if (registry::ReadStringValue(key.Get(), L"ExePathValue", value)) record.SetSourcePath(value);
  if (registry::ReadStringValue(key.Get(), L"INSTALLDIR", value)) record.SetInstalledLocation(value);
  if (registry::ReadStringValue(key.Get(), L"BRAND", value)) record.SetBrand(value);
  return true;
}
