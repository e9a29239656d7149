#include "engine/PatchEntry.h"

#include "config/CommonUtilityBase.h"
#include "config/IProductAttributes.h"
#include "log/Log.h"
#include "msi/PatchPackage.h"

std::wstring PatchEntryKey(const ISetupConfigData& record, IProductAttributes& patch) {
  std::wstring location = patch.GetLocation();
  CCommonUtilityBase::ResolvePath(record, location, true);
  std::wstring key = ReadPatchCode(location);
  if (key.empty()) key = patch.GetProductName();
  if (IsInstalledProductCode(key)) {
    LogError(L"The key %s of the patch %s is the code of an installed product; no child entry is written under it.",
             key.c_str(), patch.GetProductName().c_str());
    return {};
  }
  return key;
}
