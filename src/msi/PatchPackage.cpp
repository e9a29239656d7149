#include "msi/PatchPackage.h"

#include <windows.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>

#include "config/ProductCode.h"
#include "log/Log.h"
#include "msi/InstalledProduct.h"
#include "msi/MsiEntryPoints.h"
#include "platform/UniqueResource.h"

namespace {

constexpr size_t kCodeLength = 38;  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}

std::wstring RevisionNumberOf(MSIHANDLE summary) {
  UINT type = 0;
  INT number = 0;
  FILETIME time = {};
  DWORD length = 0;
  wchar_t empty[1] = L"";
  UINT result = MsiSummaryInfoGetPropertyStub(summary, PID_REVNUMBER, &type, &number, &time, empty, &length);
  if (result == ERROR_SUCCESS) return {};
  if (result != ERROR_MORE_DATA) return {};
  std::wstring value(length + 1, L'\0');
  DWORD size = length + 1;
  result = MsiSummaryInfoGetPropertyStub(summary, PID_REVNUMBER, &type, &number, &time, &value[0], &size);
  if (result != ERROR_SUCCESS) return {};
  value.resize(size);
  return value;
}

}  // namespace

std::wstring ReadPatchCode(const std::wstring& patchFile) {
  MSIHANDLE raw = 0;
  const UINT result = MsiGetSummaryInformationStub(0, patchFile.c_str(), 0, &raw);
  platform::UniqueMsiHandle summary(raw);
  if (result != ERROR_SUCCESS || !summary) {
    LogWarning(L"The summary information of the patch %s could not be read. The error code is %d.",
               patchFile.c_str(), static_cast<int>(result));
    return {};
  }
  const std::wstring code = ExtractProductCode(RevisionNumberOf(summary.Get()));
  if (code.size() != kCodeLength) {
    LogWarning(L"The patch %s names no patch code in its revision number.", patchFile.c_str());
    return {};
  }
  return code;
}

bool IsInstalledProductCode(const std::wstring& code) {
  if (code.size() != kCodeLength || code.front() != L'{') return false;
  std::wstring name;
  const UINT result = GetProductInfoText(code, INSTALLPROPERTY_INSTALLEDPRODUCTNAME, name);
  // 1605: not a product; 1608/1620 and the like: a malformed code, no product either.
  return result == ERROR_SUCCESS;
}
