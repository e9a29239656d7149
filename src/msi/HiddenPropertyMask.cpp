#include "msi/HiddenPropertyMask.h"

#include <algorithm>

#include "platform/StringUtil.h"

const wchar_t kHiddenValueMask[] = L"*****";

void MaskHiddenPropertyValues(std::wstring& text, const std::vector<std::wstring>& hiddenNames,
                              const std::map<std::wstring, std::wstring>& cachedValues) {
  std::vector<std::wstring> values;
  for (const std::wstring& name : hiddenNames) {
    auto found = cachedValues.find(name);
    if (found != cachedValues.end() && !found->second.empty()) values.push_back(found->second);
  }
  // Longest first, so a value that contains a shorter one is masked whole.
  std::sort(values.begin(), values.end(),
            [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
  for (const std::wstring& value : values) platform::ReplaceAll(text, value, kHiddenValueMask);
}
