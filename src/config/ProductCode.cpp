#include "config/ProductCode.h"

std::wstring ExtractProductCode(const std::wstring& command) {
  const size_t open = command.find(L'{');
  if (open == std::wstring::npos) return {};
  const size_t close = command.find(L'}', open);
  if (close == std::wstring::npos) return {};
  return command.substr(open, close - open + 1);
}
