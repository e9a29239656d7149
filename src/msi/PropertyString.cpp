#include "msi/PropertyString.h"

#include "platform/StringUtil.h"

namespace msiprops {

std::wstring FormatAssignment(const std::wstring& name, const std::wstring& value) {
  std::wstring text = name + L"=\"";
  for (wchar_t c : value) {
    if (c == L'"') text += L'"';
    text += c;
  }
  return text + L"\"";
}

std::vector<std::pair<std::wstring, std::wstring>> Split(const std::wstring& properties) {
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  const size_t size = properties.size();
  size_t at = 0;
  while (at < size) {
    while (at < size && properties[at] == L' ') ++at;
    if (at >= size) break;
    const size_t equals = properties.find(L'=', at);
    if (equals == std::wstring::npos) break;
    std::wstring name = platform::Trim(std::wstring_view(properties).substr(at, equals - at));
    at = equals + 1;
    std::wstring value;
    if (at < size && properties[at] == L'"') {
      // A doubled quote is one quote of the value; a single one closes it.
      ++at;
      while (at < size) {
        if (properties[at] == L'"') {
          if (at + 1 < size && properties[at + 1] == L'"') {
            value += L'"';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        value += properties[at++];
      }
    } else {
      size_t blank = properties.find(L' ', at);
      if (blank == std::wstring::npos) blank = size;
      value = properties.substr(at, blank - at);
      at = blank;
    }
    if (!name.empty()) pairs.emplace_back(std::move(name), std::move(value));
  }
  return pairs;
}

}  // namespace msiprops
