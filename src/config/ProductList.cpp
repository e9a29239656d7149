#include "config/ProductList.h"

#include <algorithm>

#include "log/Log.h"

CProductList::CProductList(int expectedCount) {
  if (expectedCount <= 0) return;
  try {
    products_.reserve(static_cast<size_t>(expectedCount));
  } catch (...) {
    // Only a hint: the list still grows as products are added.
    LogWarning(L"CProductList::CProductList() - Unable to reserve room for %d products.", expectedCount);
  }
}

CProductList::~CProductList() { products_.clear(); }

void CProductList::ResetIteration() { cursor_.Reset(products_.size()); }

void CProductList::ResetReverseIteration() { cursor_.ResetReverse(products_.size()); }

IProductAttributes* CProductList::GetNextProduct() {
  size_t index = 0;
  if (!cursor_.Next(products_.size(), index)) return nullptr;
  return products_[index].get();
}

IProductAttributesForParser* CProductList::AddProduct(const std::wstring& productName, const std::wstring& id,
                                                      const std::wstring& key, int productType, int sequence,
                                                      const std::wstring& location,
                                                      const std::wstring& installCommand, int spaceRequired,
                                                      const std::wstring& silentInstallCommand) {
  try {
    products_.push_back(std::make_unique<CProductAttributes>(productName, id, key, productType, sequence, location,
                                                             installCommand, spaceRequired, silentInstallCommand));
  } catch (...) {
    LogError(L"CProductList::AddProduct() - Unable to add the product %s.", productName.c_str());
    return nullptr;
  }
  return products_.back().get();
}

void CProductList::SortBySequence() {
  std::stable_sort(products_.begin(), products_.end(), [](const auto& a, const auto& b) {
    return static_cast<unsigned int>(a->GetSequence()) < static_cast<unsigned int>(b->GetSequence());
  });
}
