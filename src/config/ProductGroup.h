#pragma once

#include <memory>
#include <string>

#include "config/IProductGroup.h"
#include "config/ProductList.h"

// One product group; it owns its product list once the reader created it.
class CProductGroup : public IProductGroup, public IProductGroupForParser {
 public:
  CProductGroup(const std::wstring& displayName, int sequence, bool showInUI, int groupKind);
  virtual ~CProductGroup() = default;
  CProductGroup(const CProductGroup&) = delete;
  CProductGroup& operator=(const CProductGroup&) = delete;

  // IProductGroup
  bool IsSkipped() const override { return skipped_; }
  int GetSequence() const override { return sequence_; }
  bool IsShownInUI() const override { return shownInUI_; }
  std::wstring GetDisplayName() const override { return displayName_; }
  int GetGroupKind() const override { return groupKind_; }
  void SetDisplayName(const std::wstring& name) override { displayName_ = name; }
  void SetSkipped(bool skipped) override { skipped_ = skipped; }
  void SetShownInUI(bool shown) override { shownInUI_ = shown; }
  void SetConfiguredShowInUI(bool shown) override { configuredShowInUI_ = shown; }
  bool GetConfiguredShowInUI() const override { return configuredShowInUI_; }
  IProductList* GetProductList() override { return products_.get(); }

  // IProductGroupForParser
  IProductListForParser* GetOrCreateProductList(int expectedCount) override;

  [[nodiscard]] CProductList* GetOwnedProductList() const { return products_.get(); }

 private:
  bool shownInUI_;
  bool skipped_ = true;
  int sequence_;
  std::wstring displayName_;
  int groupKind_;
  std::unique_ptr<CProductList> products_;
  bool configuredShowInUI_;
};
