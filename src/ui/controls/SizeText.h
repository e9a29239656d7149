#pragma once
// Byte counts as the feature tree and the volume list show them: "KB", "MB"
// or "GB" chosen by size, as a whole number or with two decimals.

#include <string>

namespace ui {

// n truncated to the unit, e.g. 1,048,577 -> "1MB"; negative counts keep their sign.
std::wstring FormatSize(long long bytes);
// n in the unit with two decimals, e.g. 1,572,864 -> "1.50MB".
std::wstring FormatSizeDecimal(long long bytes);

}  // namespace ui
