#include "engine/ArpBundleRegistrar.h"

#include "config/ISetupConfigData.h"

CArpBundleRegistrar::CArpBundleRegistrar(ISetupConfigData& record, CArpEntry entry)
    : record_(record), entry_(std::move(entry)) {}

bool CArpBundleRegistrar::WriteBundleEntry() { return entry_.WriteArpEntry(record_) != 0; }

bool CArpBundleRegistrar::RemoveBundleEntry(const std::vector<std::wstring>& patchCodes) {
  for (const std::wstring& code : patchCodes) (void)entry_.DeleteUninstallKey(code);
  return entry_.DeleteUninstallKey(record_.GetBootstrapperRegistry()) != 0;
}

bool CArpBundleRegistrar::DeleteBundleEntry() {
  return entry_.DeleteUninstallKey(record_.GetBootstrapperRegistry()) != 0;
}

bool CArpBundleRegistrar::UpdateBundleSize() { return entry_.UpdateRegistryOnMinorUpgrade(record_) != 0; }

bool CArpBundleRegistrar::AddPatchEntry(const std::wstring& keyName, const std::wstring& displayName,
                                        const std::wstring& sourceKey) {
  return entry_.AddChildEntry(record_, keyName, displayName, sourceKey) != 0;
}

bool CArpBundleRegistrar::DeleteEntry(const std::wstring& keyName) { return entry_.DeleteUninstallKey(keyName) != 0; }

bool CArpBundleRegistrar::DeleteInstallerKey(const std::wstring& keyName) {
  return entry_.DeleteInstallerKey(keyName) != 0;
}

std::wstring CArpBundleRegistrar::ReadBundleInstallFolder() {
  return entry_.ReadInstallFolder(record_.GetBootstrapperRegistry());
}
