#include "engine/PatchExecutor.h"

#include "engine/ProductExitCodes.h"

bool CPatchExecutor::HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result, int& noStatus) {
  if (exitCode == kExitSuccess || exitCode == kExitRebootRequired) {
    MarkProductRun(product);
    AddAppliedPatch(product);
    return true;
  }
  MarkProductFailed(product);
  result = kRunFailedContinued;
  noStatus = 0;
  if (IsStopOnFailure(product, exitCode)) {
    result = kRunFailedStopped;
    return false;
  }
  return true;
}
