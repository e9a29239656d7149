#include "wix/LocReference.h"

#include "platform/StringUtil.h"

#include <string_view>

#include "log/Log.h"
#include "config/IWixLocalizationList.h"

namespace {

constexpr std::wstring_view kBindPrefix = L"!(loc.";
constexpr std::wstring_view kPreprocessorPrefix = L"$(loc.";

size_t FindReference(const std::wstring& text, size_t from) {
  size_t bind = text.find(kBindPrefix, from);
  size_t preprocessor = text.find(kPreprocessorPrefix, from);
  return bind < preprocessor ? bind : preprocessor;
}

std::wstring LookUp(const IWixLocalizationList* table, const std::wstring& id) {
  if (table != nullptr) return table->GetLocalizedText(id);
  LogWarning(L"The localization for the id, %s does not exist.", id.c_str());
  return id;
}

}  // namespace

std::wstring ResolveLocReference(const IWixLocalizationList* table, const std::wstring& text) {
  size_t at = FindReference(text, 0);
  if (at == std::wstring::npos) return text;
  // Both prefixes have the same length. WiX itself substitutes references in
  // place, so a reference surrounded by other text keeps that text.
  const size_t prefixLength = kBindPrefix.size();
  std::wstring result;
  size_t copied = 0;
  while (at != std::wstring::npos) {
    size_t close = text.find(L')', at + prefixLength);
    if (close == std::wstring::npos) break;
    result.append(text, copied, at - copied);
    result += LookUp(table, text.substr(at + prefixLength, close - at - prefixLength));
    copied = close + 1;
    at = FindReference(text, copied);
  }
  result.append(text, copied, std::wstring::npos);
  return result;
}

std::wstring SplitStyledText(const IWixLocalizationList* table, const std::wstring& text, std::wstring& style) {
  std::wstring resolved = ResolveLocReference(table, text);
  style.clear();
  // A text style leads the text ({\Name} or {&Name}); rich text ({\rtf1...) has none.
  const bool styled = platform::StartsWith(resolved, L"{\\") || platform::StartsWith(resolved, L"{&");
  if (!styled || platform::StartsWith(resolved, L"{\\rtf")) return resolved;
  const size_t open = 0;
  size_t close = resolved.find(L'}', open + 2);
  if (close == std::wstring::npos) return resolved;
  style = resolved.substr(open + 2, close - open - 2);
  return resolved.substr(close + 1);
}
