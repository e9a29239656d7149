#pragma once
// Decides, for the run's execution type, which product groups and products
// run (their Skipped flags), puts the selected brand into their names, and
// totals the space the products need and how many of them run.

class IMSIManager;
class IProductAttributes;
class IProductGroup;
class ISetupConfigData;

class CProductPropertyUpdater {
 public:
  static CProductPropertyUpdater& GetInstance();

  // False only when the record or the MSI manager is missing.
  [[nodiscard]] bool UpdateProducts(ISetupConfigData* record, IMSIManager* msiManager);

  // Totals of the last update.
  [[nodiscard]] int GetTotalSpaceRequired() const { return totalSpace_; }
  [[nodiscard]] int GetProductsToExecuteCount() const { return productCount_; }

 private:
  CProductPropertyUpdater() = default;
  // True when no product of the group runs.
  [[nodiscard]] bool UpdateGroup(IProductGroup& group);
  [[nodiscard]] bool IsProductRun(IProductAttributes& product, const IProductGroup& group, bool& countsSpace);
  [[nodiscard]] bool PassesChecks(IProductAttributes& product);

  ISetupConfigData* record_ = nullptr;
  IMSIManager* msiManager_ = nullptr;
  int totalSpace_ = 0;
  int productCount_ = 0;
};
