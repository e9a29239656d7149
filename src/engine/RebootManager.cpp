#include "engine/RebootManager.h"

void CRebootManager::SetProductRebootState(const std::wstring& productKey, DWORD exitCode) {
  productResults_[productKey] = exitCode;
}
