#pragma once
// One walk over the bundle's products for the code that looks at all of them.

#include <functional>

class IProductAttributes;
class IProductGroup;
class IProductGroupList;

// Calls `visit` for every product of every group, in list order; a false
// from `visit` ends the walk. False when the walk was ended, true otherwise
// (also for a missing list).
bool ForEachProduct(IProductGroupList* groups,
                    const std::function<bool(IProductGroup& group, IProductAttributes& product)>& visit);
