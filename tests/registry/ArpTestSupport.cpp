#include "ArpTestSupport.h"

#include <vector>

#include "config/IIconList.h"
#include "platform/StringUtil.h"

namespace arptest {

void PrintTo(const StoredValue& value, std::ostream* out) {
  if (value.type == REG_DWORD) {
    *out << "REG_DWORD " << value.number;
  } else {
    *out << "type " << value.type << " \"" << platform::WideToUtf8(value.text) << "\"";
  }
}

StoredValue Sz(const std::wstring& text) { return StoredValue{REG_SZ, text, 0}; }
StoredValue Dword(DWORD number) { return StoredValue{REG_DWORD, std::wstring(), number}; }

std::map<std::wstring, StoredValue> ReadAllValues(const std::wstring& path, registry::View view) {
  std::map<std::wstring, StoredValue> values;
  platform::UniqueHKey key;
  if (registry::OpenKey(path, KEY_READ, view, key) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD nameLength = static_cast<DWORD>(sizeof(name) / sizeof(name[0]));
    std::vector<BYTE> data(65536);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (::RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
      break;
    }
    StoredValue value;
    value.type = type;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
      value.number = *reinterpret_cast<const DWORD*>(data.data());
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
      const wchar_t* text = reinterpret_cast<const wchar_t*>(data.data());
      size_t chars = size / sizeof(wchar_t);
      while (chars > 0 && text[chars - 1] == L'\0') --chars;
      value.text.assign(text, chars);
    }
    values[std::wstring(name, nameLength)] = value;
  }
  return values;
}

bool KeyExists(const std::wstring& path, registry::View view) {
  platform::UniqueHKey key;
  return registry::OpenKey(path, KEY_READ, view, key) == ERROR_SUCCESS;
}

std::wstring UniqueName(const std::wstring& prefix) {
  static unsigned serial = 0;
  return platform::Format(L"%s_%lu_%u", prefix.c_str(), ::GetCurrentProcessId(), ++serial);
}

ScratchKey::~ScratchKey() { (void)registry::DeleteKeyTree(path_, view_); }

bool ScratchKey::Write(const std::map<std::wstring, std::wstring>& values) const {
  platform::UniqueHKey key;
  if (registry::CreateKey(path_, KEY_WRITE, view_, key) != ERROR_SUCCESS) return false;
  for (const auto& [name, text] : values) {
    if (registry::WriteStringValue(key.Get(), name, text) != ERROR_SUCCESS) return false;
  }
  return true;
}

namespace {
std::wstring UninstallRootPath() {
  std::wstring root = CArpEntry::kUninstallRoot;
  return root.substr(0, root.size() - 1);
}
}  // namespace

Uninstall32Root::Uninstall32Root() {
  if (KeyExists(UninstallRootPath(), registry::View::Force32)) return;
  platform::UniqueHKey key;
  created_ = registry::CreateKey(UninstallRootPath(), KEY_READ, registry::View::Force32, key) == ERROR_SUCCESS;
}

Uninstall32Root::~Uninstall32Root() {
  if (created_) (void)registry::DeleteKeyTree(UninstallRootPath(), registry::View::Force32);
}

bool Uninstall32Root::Exists() const { return KeyExists(UninstallRootPath(), registry::View::Force32); }

void FillRecord(CSetupConfigData& record, const BundleSettings& settings) {
  record.SetBootstrapperRegistry(settings.bundleKey);
  record.SetMainProductUninstallCommand(L"msiexec.exe /x " + settings.mainProductCode + L" REBOOT=ReallySuppress");
  record.SetInstalledLocation(settings.installedLocation);
  record.SetInstallLocation(settings.installLocation);
  record.SetMaintenanceExePath(settings.maintenanceExePath);
  record.SetSourcePath(settings.sourcePath);
  record.SetBrand(settings.brand);
  record.SetProductName(settings.productName);
  record.SetLanguageId(settings.language);
  if (!settings.productIcon.empty()) {
    (void)record.GetOrCreateIconList()->AddImage(CArpEntry::kProductIconName, settings.productIcon);
  }
}

void ArpFixture::SetUp() {
  settings_.bundleKey = UniqueName(L"ArpBundle");
  settings_.mainProductCode = L"{" + UniqueName(L"ArpMain") + L"}";
  bundle_ = std::make_unique<ScratchKey>(BundlePath(), registry::View::Default);
  main_ = std::make_unique<ScratchKey>(MainPath(), registry::View::Default);
}

std::wstring ArpFixture::BundlePath() const { return CArpEntry::kUninstallRoot + settings_.bundleKey; }
std::wstring ArpFixture::MainPath() const { return CArpEntry::kUninstallRoot + settings_.mainProductCode; }

}  // namespace arptest
