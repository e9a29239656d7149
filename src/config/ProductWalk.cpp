#include "config/ProductWalk.h"

#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"

bool ForEachProduct(IProductGroupList* groups,
                    const std::function<bool(IProductGroup& group, IProductAttributes& product)>& visit) {
  if (groups == nullptr) return true;
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    IProductList* products = group->GetProductList();
    if (products == nullptr) continue;
    products->ResetIteration();
    while (IProductAttributes* product = products->GetNextProduct()) {
      if (!visit(*group, *product)) return false;
    }
  }
  return true;
}
