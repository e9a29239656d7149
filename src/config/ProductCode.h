#pragma once
// Product codes as bundle authors write them into product commands.

#include <string>

// The text from the first "{" to the first "}" after it, both included: the
// product code an MSI product's uninstall command starts with. Empty when the
// command holds no complete code.
[[nodiscard]] std::wstring ExtractProductCode(const std::wstring& command);
