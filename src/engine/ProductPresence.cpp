#include "engine/ProductPresence.h"

#include <windows.h>

#include "config/IProductAttributes.h"
#include "config/ProductCode.h"
#include "msi/InstalledProduct.h"

std::wstring GetPresenceProductCode(const IProductAttributes& product) {
  if (product.GetProductType() != kProductTypeMsi) return std::wstring();
  return ExtractProductCode(product.GetUninstallCommand());
}

ProductPresence GetProductPresence(const IProductAttributes& product) {
  const std::wstring code = GetPresenceProductCode(product);
  if (code.empty()) return ProductPresence::kUnknown;
  std::wstring name;
  const UINT result = GetProductInfoText(code, L"InstalledProductName", name);
  if (result == ERROR_UNKNOWN_PRODUCT) return ProductPresence::kAbsent;
  if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) return ProductPresence::kInstalled;
  return ProductPresence::kUnknown;
}
