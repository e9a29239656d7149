#include "engine/RemoveExecutor.h"

#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "config/ProductCode.h"
#include "config/ProductWalk.h"
#include "engine/IBundleRegistrar.h"
#include "engine/PatchEntry.h"
#include "engine/ProductExitCodes.h"
#include "engine/ProductPresence.h"
#include "log/Log.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"

CRemoveExecutor::CRemoveExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupExecutorBase(record, dispatcher) {}

bool CRemoveExecutor::UpdateRegistry() {
  IBundleRegistrar* registrar = GetBundleRegistrar();
  return registrar != nullptr && registrar->RemoveBundleEntry(patchCodes_);
}

void CRemoveExecutor::PrepareRun() {
  patchCodes_.clear();
  const std::wstring product = ExtractProductCode(record_.GetMainProductUninstallCommand());
  if (product.empty()) return;
  for (DWORD index = 0;; ++index) {
    wchar_t patch[39] = {};
    wchar_t transforms[512] = {};
    DWORD length = 512;
    if (MsiEnumPatchesStub(product.c_str(), index, patch, transforms, &length) != ERROR_SUCCESS) break;
    AddPatchKey(patch);
  }
  // The child entries this bundle wrote are keyed by the patch packages' own
  // codes; a patch Windows Installer no longer lists still leaves its entry.
  (void)ForEachProduct(record_.GetProductGroupList(), [this](IProductGroup&, IProductAttributes& product) {
    if (product.GetProductType() == kProductTypeMsp && product.IsMainProductPatch()) {
      AddPatchKey(PatchEntryKey(record_, product));
    }
    return true;
  });
}

void CRemoveExecutor::AddPatchKey(const std::wstring& key) {
  if (key.empty()) return;
  for (const std::wstring& known : patchCodes_) {
    if (platform::EqualsNoCase(known, key)) return;
  }
  patchCodes_.push_back(key);
}

void CRemoveExecutor::BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) {
  commandLine = product.GetUninstallCommand();
}

bool CRemoveExecutor::HandleProductResult(IProductAttributes&, DWORD exitCode, int& result, int& noStatus) {
  if (IsUserExit(exitCode, result, noStatus)) return false;
  if (exitCode != kExitSuccess && exitCode != kExitRebootRequired) {
    result = kRunFailedContinued;
    noStatus = 0;
  }
  return true;
}

bool CRemoveExecutor::IsAlreadyInPlace(IProductAttributes& product) {
  if (GetProductPresence(product) != ProductPresence::kAbsent) return false;
  LogInformation(L"The product %s (%s) is not installed; there is nothing to remove.",
                 product.GetProductName().c_str(), GetPresenceProductCode(product).c_str());
  return true;
}
