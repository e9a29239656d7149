#include "features/ProductChecks.h"

#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"

bool CheckProductCondition(IMSIManager& msiManager, const std::wstring& condition) {
  if (condition.empty()) return true;
  const bool result = msiManager.EvaluateCondition(condition);
  LogDebug(L"CheckCondition -- Condition %s, is evaluated to %d.", condition.c_str(), result ? 1 : 0);
  return result;
}

bool CheckProductProperty(IMSIManager& msiManager, const std::wstring& propertyName) {
  if (propertyName.empty()) return true;
  const std::wstring value = msiManager.GetProperty(propertyName, false);
  std::wstring shown = value;
  msiManager.MaskHiddenProperties(shown);
  LogDebug(L"CheckProperty -- PropertyName is %s, Property Value is %s.", propertyName.c_str(), shown.c_str());
  return platform::EqualsNoCase(value, L"FALSE");
}
