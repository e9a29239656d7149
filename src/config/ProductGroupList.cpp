#include "config/ProductGroupList.h"

#include <algorithm>

#include "log/Log.h"

CProductGroupList::CProductGroupList(int expectedCount) {
  if (expectedCount <= 0) return;
  try {
    groups_.reserve(static_cast<size_t>(expectedCount));
  } catch (...) {
    // Only a hint: the list still grows as groups are added.
    LogWarning(L"CProductGroupList::CProductGroupList() - Unable to reserve room for %d groups.", expectedCount);
  }
}

CProductGroupList::~CProductGroupList() { groups_.clear(); }

void CProductGroupList::ResetIteration() { cursor_.Reset(groups_.size()); }

void CProductGroupList::ResetReverseIteration() { cursor_.ResetReverse(groups_.size()); }

IProductGroup* CProductGroupList::GetNextGroup() {
  size_t index = 0;
  if (!cursor_.Next(groups_.size(), index)) return nullptr;
  return groups_[index].get();
}

IProductGroup* CProductGroupList::GetSetupInitializerGroup() {
  for (const auto& group : groups_) {
    if (group->GetGroupKind() == kGroupKindSetupInitializer) return group.get();
  }
  return nullptr;
}

IProductAttributes* CProductGroupList::GetUIProduct() {
  // The initializer group decides alone when it exists, even without products.
  for (const auto& group : groups_) {
    if (group->GetGroupKind() != kGroupKindSetupInitializer) continue;
    CProductList* products = group->GetOwnedProductList();
    return products ? products->GetProductAt(0) : nullptr;
  }
  for (const auto& group : groups_) {
    CProductList* products = group->GetOwnedProductList();
    if (!products) continue;
    for (size_t i = 0; CProductAttributes* product = products->GetProductAt(i); ++i) {
      if (product->IsWixSource()) return product;
    }
  }
  return nullptr;
}

IProductGroupForParser* CProductGroupList::AddGroup(const std::wstring& displayName, int sequence, bool showInUI,
                                                    int groupKind) {
  try {
    groups_.push_back(std::make_unique<CProductGroup>(displayName, sequence, showInUI, groupKind));
  } catch (...) {
    LogError(L"CProductGroupList::AddGroup() - Unable to add the group %s.", displayName.c_str());
    return nullptr;
  }
  return groups_.back().get();
}

void CProductGroupList::SortBySequence() {
  std::stable_sort(groups_.begin(), groups_.end(), [](const auto& a, const auto& b) {
    return static_cast<unsigned int>(a->GetSequence()) < static_cast<unsigned int>(b->GetSequence());
  });
}
