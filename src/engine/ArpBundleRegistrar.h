#pragma once
// The executors' registrar on the real Add/Remove Programs entry.

#include "engine/IBundleRegistrar.h"
#include "registry/ArpEntry.h"

class ISetupConfigData;

class CArpBundleRegistrar final : public IBundleRegistrar {
 public:
  explicit CArpBundleRegistrar(ISetupConfigData& record, CArpEntry entry = CArpEntry());

  bool WriteBundleEntry() override;
  bool RemoveBundleEntry(const std::vector<std::wstring>& patchCodes) override;
  bool DeleteBundleEntry() override;
  bool UpdateBundleSize() override;
  bool AddPatchEntry(const std::wstring& keyName, const std::wstring& displayName,
                     const std::wstring& sourceKey) override;
  bool DeleteEntry(const std::wstring& keyName) override;
  bool DeleteInstallerKey(const std::wstring& keyName) override;
  std::wstring ReadBundleInstallFolder() override;

 private:
  ISetupConfigData& record_;
  CArpEntry entry_;
};
