#include "engine/SourceFileCheck.h"

#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ProductWalk.h"
#include "config/ISetupConfigData.h"
#include "engine/CommonUtility.h"
#include "log/Log.h"
#include "platform/StringUtil.h"

bool CheckSourceFilesPresent(ISetupConfigData& record, int& missing) {
  return ForEachProduct(record.GetProductGroupList(), [&](IProductGroup& group, IProductAttributes& product) {
    std::wstring location = product.GetLocation();
    if (group.IsSkipped() || product.IsSkipped() || location.empty() ||
        location.find(L"[InstallDir]") != std::wstring::npos) {
      return true;
    }
    CCommonUtility::ResolvePath(record, location, true);
    platform::ReplaceAll(location, L"\"", L"");
    if (::GetFileAttributesW(location.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    LogError(L"The source file %s of the product %s is missing.", location.c_str(), product.GetProductName().c_str());
    missing = 1;
    return false;
  });
}
