#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/IProductList.h"
#include "config/IterationCursor.h"
#include "config/ProductAttributes.h"

// The owned products of one group, in execution order once sorted.
class CProductList : public IProductList, public IProductListForParser {
 public:
  explicit CProductList(int expectedCount);
  virtual ~CProductList();
  CProductList(const CProductList&) = delete;
  CProductList& operator=(const CProductList&) = delete;

  // IProductList
  void ResetIteration() override;
  void ResetReverseIteration() override;
  IProductAttributes* GetNextProduct() override;
  int GetCount() const override { return static_cast<int>(products_.size()); }

  // IProductListForParser
  IProductAttributesForParser* AddProduct(const std::wstring& productName, const std::wstring& id,
                                          const std::wstring& key, int productType, int sequence,
                                          const std::wstring& location, const std::wstring& installCommand,
                                          int spaceRequired, const std::wstring& silentInstallCommand) override;
  void SortBySequence() override;

  // Document-order access without disturbing the cursor.
  [[nodiscard]] CProductAttributes* GetProductAt(size_t index) const {
    return index < products_.size() ? products_[index].get() : nullptr;
  }

 private:
  std::vector<std::unique_ptr<CProductAttributes>> products_;
  CIterationCursor cursor_;
};
