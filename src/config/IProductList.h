#pragma once
// Faces of the ordered product list of one product group.

#include <string>

class IProductAttributes;
class IProductAttributesForParser;

class IProductList {
 public:
  // Forward cursor over the products present now.
  virtual void ResetIteration() = 0;
  // Reverse cursor starting at the last product present now.
  virtual void ResetReverseIteration() = 0;
  // Null when the cursor is exhausted (or was never reset).
  [[nodiscard]] virtual IProductAttributes* GetNextProduct() = 0;
  [[nodiscard]] virtual int GetCount() const = 0;

 protected:
  ~IProductList() = default;
};

class IProductListForParser {
 public:
  // Appends a product; null only when it could not be created.
  [[nodiscard]] virtual IProductAttributesForParser* AddProduct(
      const std::wstring& productName, const std::wstring& id, const std::wstring& key, int productType, int sequence,
      const std::wstring& location, const std::wstring& installCommand, int spaceRequired,
      const std::wstring& silentInstallCommand) = 0;
  // Ascending by sequence read as an unsigned number, so negative sequences come last.
  virtual void SortBySequence() = 0;

 protected:
  ~IProductListForParser() = default;
};
