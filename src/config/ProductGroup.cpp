#include "config/ProductGroup.h"

#include "log/Log.h"

CProductGroup::CProductGroup(const std::wstring& displayName, int sequence, bool showInUI, int groupKind)
    : shownInUI_(showInUI),
      sequence_(sequence),
      displayName_(displayName),
      groupKind_(groupKind),
      configuredShowInUI_(showInUI) {}

IProductListForParser* CProductGroup::GetOrCreateProductList(int expectedCount) {
  if (!products_) {
    try {
      products_ = std::make_unique<CProductList>(expectedCount);
    } catch (...) {
      LogError(L"CProductGroup::GetOrCreateProductList() - Unable to create the product list of %s.",
               displayName_.c_str());
      return nullptr;
    }
  }
  return products_.get();
}
