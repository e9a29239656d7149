#include "BundleEntryFixture.h"

#include "registry/ArpEntry.h"
#include "config/ILocalizationSetting.h"
#include "config/LocalizationSettingData.h"
#include "platform/UniqueResource.h"

namespace apptest {

void BundleEntryTest::SetUp() {
  bundleKey_ = L"SetupTestBundle" + std::to_wstring(::GetCurrentProcessId());
  record_->SetBootstrapperRegistry(bundleKey_);
  platform::UniqueHKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(CArpEntry::kUninstallRoot) + record_->GetBootstrapperRegistry()).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, key.Put(), nullptr),
            ERROR_SUCCESS);
}

void BundleEntryTest::TearDown() {
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(CArpEntry::kUninstallRoot) + record_->GetBootstrapperRegistry()).c_str());
  ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(CArpEntry::kUninstallRoot) + record_->GetBootstrapperRegistry()).c_str());
}

void BundleEntryTest::WriteString(const wchar_t* name, const std::wstring& value) {
  platform::UniqueHKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(CArpEntry::kUninstallRoot) + record_->GetBootstrapperRegistry()).c_str(), 0, KEY_WRITE, key.Put()),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

void BundleEntryTest::WriteDword(const wchar_t* name, DWORD value) {
  platform::UniqueHKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(CArpEntry::kUninstallRoot) + record_->GetBootstrapperRegistry()).c_str(), 0, KEY_WRITE, key.Put()),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)),
            ERROR_SUCCESS);
}

void BundleEntryTest::ConfigureLanguages(std::initializer_list<LANGID> languages) {
  ILocalizationSettingForParser* settings = record_->GetOrCreateLocalizationSettings();
  for (LANGID language : languages) {
    ASSERT_TRUE(settings->AddLanguageSetting(
        std::make_unique<CLocalizationSettingData>(language, L"Language" + std::to_wstring(language), L"", L"")));
  }
}

}  // namespace apptest
