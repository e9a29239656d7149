#include "engine/SourceFileCheck.h"

#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "engine/CommonUtility.h"
#include "log/Log.h"
#include "platform/StringUtil.h"

bool CheckSourceFilesPresent(ISetupConfigData& record, int& missing) {
  IProductGroupList* groups = record.GetProductGroupList();
  if (groups == nullptr) return true;
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    IProductList* products = group->GetProductList();
    if (group->IsSkipped() || products == nullptr) continue;
    products->ResetIteration();
    while (IProductAttributes* product = products->GetNextProduct()) {
      std::wstring location = product->GetLocation();
      if (product->IsSkipped() || location.empty() || location.find(L"[InstallDir]") != std::wstring::npos) continue;
      CCommonUtility::ResolvePath(record, location, true);
      platform::ReplaceAll(location, L"\"", L"");
      if (::GetFileAttributesW(location.c_str()) == INVALID_FILE_ATTRIBUTES) {
        LogError(L"The source file %s of the product %s is missing.", location.c_str(),
                 product->GetProductName().c_str());
        missing = 1;
        return false;
      }
    }
  }
  return true;
}
