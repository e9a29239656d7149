#include "features/ProductPropertyUpdater.h"

#include <string>

#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "features/FeatureUtility.h"
#include "features/ProductChecks.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "config/IWixLocalizationList.h"

namespace {

constexpr wchar_t kBrandToken[] = L"%SelectedBrand%";

// A product without a non-feature, or with one the user left selected.
bool IsSelected(const std::wstring& productName) {
  int selected = 1;
  return !CFeatureUtility::FindNonFeatureSelection(productName, selected) || selected != 0;
}

bool IsSelectedNonFeature(const std::wstring& productName) {
  int selected = 0;
  return CFeatureUtility::FindNonFeatureSelection(productName, selected) && selected != 0;
}

}  // namespace

CProductPropertyUpdater& CProductPropertyUpdater::GetInstance() {
  static CProductPropertyUpdater updater;
  return updater;
}

bool CProductPropertyUpdater::UpdateProducts(ISetupConfigData* record, IMSIManager* msiManager) {
  totalSpace_ = 0;
  productCount_ = 0;
  record_ = record;
  msiManager_ = msiManager;
  if (record == nullptr || msiManager == nullptr) return false;
  IProductGroupList* groups = record->GetProductGroupList();
  if (groups == nullptr) return true;

  const std::wstring brand = record->GetBrand();
  IWixLocalizationList* strings = record->GetWixLocalizationList();
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    std::wstring name = group->GetDisplayName();
    (void)platform::ReplaceAll(name, kBrandToken, brand);
    if (strings != nullptr) name = strings->GetLocalizedText(name);
    group->SetDisplayName(name);

    const bool skipped = UpdateGroup(*group);
    group->SetSkipped(skipped);
    if (group->GetConfiguredShowInUI() && (record->GetExecutionType() != SETUPEXECTYPE_INSTALLATION ||
                                           group->GetGroupKind() != kGroupKindPrerequisites)) {
      group->SetShownInUI(!skipped);
    }
  }
  groups->SetTotalSpaceRequired(totalSpace_);
  groups->SetProductsToExecuteCount(productCount_);
  return true;
}

bool CProductPropertyUpdater::UpdateGroup(IProductGroup& group) {
  IProductList* products = group.GetProductList();
  if (products == nullptr) {
    LogInformation(L"No products are configured under the product group %s", group.GetDisplayName().c_str());
    return true;
  }
  const std::wstring brand = record_->GetBrand();
  bool skipped = true;
  products->ResetIteration();
  while (IProductAttributes* product = products->GetNextProduct()) {
    std::wstring name = product->GetProductName();
    if (platform::ReplaceAll(name, kBrandToken, brand) > 0) product->SetProductName(name);
    product->SetSkipped(true);
    bool countsSpace = false;
    if (!IsProductRun(*product, group, countsSpace)) continue;
    product->SetSkipped(false);
    skipped = false;
    ++productCount_;
    if (countsSpace && !product->IsMainProduct()) totalSpace_ += product->GetSpaceRequired();
  }
  return skipped;
}

bool CProductPropertyUpdater::IsProductRun(IProductAttributes& product, const IProductGroup& group,
                                           bool& countsSpace) {
  switch (record_->GetExecutionType()) {
    case SETUPEXECTYPE_INSTALLATION:
    case SETUPEXECTYPE_PATCH:
    case SETUPEXECTYPE_MINORUPGRADE:
      countsSpace = true;
      return IsSelected(product.GetProductName()) && PassesChecks(product);
    case SETUPEXECTYPE_MODIFY:
      countsSpace = true;
      return (product.IsMainProduct() && PassesChecks(product)) ||
             (IsSelectedNonFeature(product.GetProductName()) && PassesChecks(product)) ||
             group.GetGroupKind() == kGroupKindSetupInitializer;
    case SETUPEXECTYPE_REPAIR:
      return PassesChecks(product) && !product.GetRepairCommand().empty();
    case SETUPEXECTYPE_REMOVE:
      return PassesChecks(product) && !product.GetUninstallCommand().empty();
    default:
      return false;
  }
}

bool CProductPropertyUpdater::PassesChecks(IProductAttributes& product) {
  return CheckProductCondition(*msiManager_, product.GetCondition()) &&
         CheckProductProperty(*msiManager_, product.GetPropertyName());
}
