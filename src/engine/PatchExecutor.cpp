#include "engine/PatchExecutor.h"

#include "engine/ProductExitCodes.h"

bool CPatchExecutor::HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result, int& noStatus) {
  if (exitCode == kExitSuccess || exitCode == kExitRebootRequired) {
    MarkProductRun(product);
    AddAppliedPatch(product);
    return true;
  }
  return FailProduct(product, exitCode, result, noStatus);
}
