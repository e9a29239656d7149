#include "wix/WixVariables.h"

#include <string_view>

#include "log/Log.h"

namespace {

constexpr std::wstring_view kPrefix = L"!(wix.";

// The position of the parenthesis that closes the one at `open`, or npos.
size_t MatchingParenthesis(const std::wstring& text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (text[i] == L'(') ++depth;
    if (text[i] == L')' && --depth == 0) return i;
  }
  return std::wstring::npos;
}

}  // namespace

bool CWixVariableTable::Add(const std::wstring& id, const std::wstring& value, bool overridable) {
  auto found = values_.find(id);
  if (found == values_.end()) {
    values_.emplace(id, Entry{value, overridable});
    return true;
  }
  Entry& entry = found->second;
  if (entry.overridable && !overridable) {
    LogDebug(L"The WiX variable %s takes the value %s in place of the overridable %s.", id.c_str(), value.c_str(),
             entry.value.c_str());
    entry = Entry{value, false};
    return true;
  }
  if (!entry.overridable && !overridable) {
    LogWarning(L"The WiX variable %s is declared twice; the first value %s is kept, %s is ignored.", id.c_str(),
               entry.value.c_str(), value.c_str());
  }
  return false;
}

const std::wstring* CWixVariableTable::Find(const std::wstring& id) const {
  auto found = values_.find(id);
  return found == values_.end() ? nullptr : &found->second.value;
}

bool HasWixVariable(const std::wstring& text) { return text.find(kPrefix) != std::wstring::npos; }

std::wstring ResolveWixVariables(const CWixVariableTable& table, const std::wstring& text) {
  size_t at = text.find(kPrefix);
  if (at == std::wstring::npos) return text;
  std::wstring result;
  size_t copied = 0;
  while (at != std::wstring::npos) {
    const size_t close = MatchingParenthesis(text, at + 1);
    if (close == std::wstring::npos) break;
    result.append(text, copied, at - copied);
    const size_t nameStart = at + kPrefix.size();
    const std::wstring body = text.substr(nameStart, close - nameStart);
    const size_t equals = body.find(L'=');
    const std::wstring name = body.substr(0, equals);
    if (const std::wstring* value = table.Find(name)) {
      result += *value;
    } else if (equals != std::wstring::npos) {
      // A default may itself name another variable; it is shorter than the
      // text, so this ends.
      result += ResolveWixVariables(table, body.substr(equals + 1));
    } else {
      LogWarning(L"The WiX variable %s has neither a WixVariable value nor a default; it is read as empty.",
                 name.c_str());
    }
    copied = close + 1;
    at = text.find(kPrefix, copied);
  }
  result.append(text, copied, std::wstring::npos);
  return result;
}
