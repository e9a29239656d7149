#include "config/SilentConfigData.h"

#include "config/WixFileContainer.h"

CSilentConfigData::CSilentConfigData() = default;

// Defined here, where the container type is complete.
CSilentConfigData::~CSilentConfigData() = default;

void CSilentConfigData::ApplyGeneralProperties(IPropertyTarget& target) const {
  for (const auto& [name, value] : properties_) target.SetProperty(name, value, false);
}

int CSilentConfigData::GetKeyValue(const std::wstring& key, std::wstring& value) const {
  auto found = keyValues_.find(key);
  if (found == keyValues_.end()) return -1;
  value = found->second;
  return 1;
}

CWixFileContainer* CSilentConfigData::GetOrCreateWixFileContainer(int expectedCount) {
  if (!wixFiles_) wixFiles_ = std::make_unique<CWixFileContainer>(expectedCount > 0 ? expectedCount : 0);
  return wixFiles_.get();
}
