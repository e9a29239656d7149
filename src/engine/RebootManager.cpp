#include "engine/RebootManager.h"

#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "platform/Archive.h"

void CRebootManager::SetProductRebootState(const std::wstring& productKey, DWORD exitCode) {
  productResults_[productKey] = exitCode;
}

bool CRebootManager::Serialize(platform::CArchive& archive) {
  if (archive.IsStoring()) {
    archive.WriteString(installProperties_);
    archive.WriteString(selectedFeatures_);
    archive.WriteUInt32(static_cast<uint32_t>(productResults_.size()));
    for (const auto& [key, exitCode] : productResults_) {
      archive.WriteString(key);
      archive.WriteUInt32(exitCode);
    }
    return !archive.IsFailed();
  }

  std::wstring properties;
  std::wstring features;
  std::map<std::wstring, DWORD> results;
  uint32_t count = 0;
  if (!archive.ReadString(properties) || !archive.ReadString(features) || !archive.ReadUInt32(count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    std::wstring key;
    uint32_t exitCode = 0;
    if (!archive.ReadString(key) || !archive.ReadUInt32(exitCode)) return false;
    results[key] = exitCode;
  }
  installProperties_ = std::move(properties);
  selectedFeatures_ = std::move(features);
  productResults_ = std::move(results);
  return true;
}

void CRebootManager::SwapResumeData(CRebootManager& other) noexcept {
  installProperties_.swap(other.installProperties_);
  selectedFeatures_.swap(other.selectedFeatures_);
  productResults_.swap(other.productResults_);
}

void CRebootManager::ApplyToProducts(ISetupConfigData& record) const {
  if (productResults_.empty()) return;
  IProductGroupList* groups = record.GetProductGroupList();
  if (groups == nullptr) return;
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    if (group->IsSkipped()) continue;
    IProductList* products = group->GetProductList();
    if (products == nullptr) continue;
    products->ResetIteration();
    while (IProductAttributes* product = products->GetNextProduct()) {
      if (product->IsSkipped()) continue;
      auto found = productResults_.find(product->GetKey());
      if (found == productResults_.end()) continue;
      product->SetExecutedBeforeReboot(true);
      product->SetResultBeforeReboot(static_cast<int>(found->second));
    }
  }
}
