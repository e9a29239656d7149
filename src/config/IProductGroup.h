#pragma once
// Faces of one product group.

#include <string>

class IProductList;
class IProductListForParser;

// Group kinds as the kind attributes of a ProductGroup select them; 4 is never used.
enum ProductGroupKind : int {
  kGroupKindPrerequisites = 0,
  kGroupKindPostInstallProduct = 1,
  kGroupKindSetupInitializer = 2,
  kGroupKindUninstallProducts = 3,
  kGroupKindOrdinary = 5,
};

class IProductGroup {
 public:
  [[nodiscard]] virtual bool IsSkipped() const = 0;
  [[nodiscard]] virtual int GetSequence() const = 0;
  [[nodiscard]] virtual bool IsShownInUI() const = 0;
  [[nodiscard]] virtual std::wstring GetDisplayName() const = 0;
  [[nodiscard]] virtual int GetGroupKind() const = 0;
  virtual void SetDisplayName(const std::wstring& name) = 0;
  virtual void SetSkipped(bool skipped) = 0;
  virtual void SetShownInUI(bool shown) = 0;
  virtual void SetConfiguredShowInUI(bool shown) = 0;
  [[nodiscard]] virtual bool GetConfiguredShowInUI() const = 0;
  // Null when the group has no products.
  [[nodiscard]] virtual IProductList* GetProductList() = 0;

 protected:
  ~IProductGroup() = default;
};

class IProductGroupForParser {
 public:
  virtual void SetSkipped(bool skipped) = 0;
  // Creates the list with room for expectedCount products on the first call.
  [[nodiscard]] virtual IProductListForParser* GetOrCreateProductList(int expectedCount) = 0;

 protected:
  ~IProductGroupForParser() = default;
};
