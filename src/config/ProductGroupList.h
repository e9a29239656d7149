#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/IProductGroupList.h"
#include "config/IterationCursor.h"
#include "config/ProductGroup.h"

// The bundle's owned product groups, in execution order once sorted.
class CProductGroupList : public IProductGroupList, public IProductGroupListForParser {
 public:
  explicit CProductGroupList(int expectedCount);
  virtual ~CProductGroupList();
  CProductGroupList(const CProductGroupList&) = delete;
  CProductGroupList& operator=(const CProductGroupList&) = delete;

  // IProductGroupList
  void ResetIteration() override;
  void ResetReverseIteration() override;
  IProductGroup* GetNextGroup() override;
  IProductGroup* GetSetupInitializerGroup() override;
  IProductAttributes* GetUIProduct() override;
  void GetTotalSpaceRequired(int& out) const override { out = totalSpaceRequired_; }
  void SetTotalSpaceRequired(int space) override { totalSpaceRequired_ = space; }
  int GetProductsToExecuteCount() const override { return productsToExecuteCount_; }
  void SetProductsToExecuteCount(int count) override { productsToExecuteCount_ = count; }

  // IProductGroupListForParser
  IProductGroupForParser* AddGroup(const std::wstring& displayName, int sequence, bool showInUI,
                                   int groupKind) override;
  void SortBySequence() override;

  [[nodiscard]] int GetCount() const { return static_cast<int>(groups_.size()); }

 private:
  std::vector<std::unique_ptr<CProductGroup>> groups_;
  CIterationCursor cursor_;
  int totalSpaceRequired_ = 0;
  int productsToExecuteCount_ = 0;
};
