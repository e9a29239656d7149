#pragma once
// Faces of the bundle's ordered list of product groups.

#include <string>

class IProductAttributes;
class IProductGroup;
class IProductGroupForParser;

class IProductGroupList {
 public:
  // Forward cursor over the groups present now.
  virtual void ResetIteration() = 0;
  // Reverse cursor starting at the last group present now.
  virtual void ResetReverseIteration() = 0;
  // Null when the cursor is exhausted (or was never reset).
  [[nodiscard]] virtual IProductGroup* GetNextGroup() = 0;
  // The first group of kind SetupInitializer, or null.
  [[nodiscard]] virtual IProductGroup* GetSetupInitializerGroup() = 0;
  // The SetupInitializer group's first product when that group exists,
  // otherwise the first product marked WixSource; null when none.
  [[nodiscard]] virtual IProductAttributes* GetUIProduct() = 0;
  virtual void GetTotalSpaceRequired(int& out) const = 0;
  virtual void SetTotalSpaceRequired(int space) = 0;
  [[nodiscard]] virtual int GetProductsToExecuteCount() const = 0;
  virtual void SetProductsToExecuteCount(int count) = 0;

 protected:
  ~IProductGroupList() = default;
};

class IProductGroupListForParser {
 public:
  // Appends a group (skipped, without products); null only when it could not be created.
  [[nodiscard]] virtual IProductGroupForParser* AddGroup(const std::wstring& displayName, int sequence,
                                                         bool showInUI, int groupKind) = 0;
  // Ascending by sequence read as an unsigned number, so negative sequences come last.
  virtual void SortBySequence() = 0;

 protected:
  ~IProductGroupListForParser() = default;
};
