#pragma once
// The two checks that decide whether a bundle product applies to this machine,
// shared by the feature states and the product selection.

#include <string>

class IMSIManager;

// True when the condition is empty or the main package's session finds it true.
[[nodiscard]] bool CheckProductCondition(IMSIManager& msiManager, const std::wstring& condition);

// True when the property name is empty or the property's value is "FALSE"
// (any case): the product's own search found nothing installed.
[[nodiscard]] bool CheckProductProperty(IMSIManager& msiManager, const std::wstring& propertyName);
