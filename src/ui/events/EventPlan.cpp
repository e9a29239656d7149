#include "ui/events/EventPlan.h"

#include "platform/StringUtil.h"

namespace ui {

namespace {
bool IsPropertyNameCharacter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'.';
}
}  // namespace

void RunPublishedEvents(const std::vector<WixPublish>& events,
                        const std::function<bool(const std::wstring&)>& conditionHolds,
                        const std::function<void(const WixPublish&)>& run) {
  std::vector<const WixPublish*> dialogChanges;
  for (const WixPublish& event : events) {
    if (platform::EqualsNoCase(event.event, L"SpawnDialog") || platform::EqualsNoCase(event.event, L"NewDialog")) {
      dialogChanges.push_back(&event);
    } else if (conditionHolds(event.condition)) {
      run(event);
    }
  }
  for (auto it = dialogChanges.rbegin(); it != dialogChanges.rend(); ++it) {
    if (conditionHolds((*it)->condition)) {
      run(**it);
      return;
    }
  }
}

std::wstring ResolveEventArgument(const std::wstring& argument,
                                  const std::function<std::wstring(const std::wstring&)>& property) {
  if (platform::Trim(argument) == L"{}") return std::wstring();
  std::wstring result;
  size_t position = 0;
  while (position < argument.size()) {
    const size_t open = argument.find(L'[', position);
    if (open == std::wstring::npos) break;
    const size_t close = argument.find(L']', open + 1);
    if (close == std::wstring::npos) break;
    const std::wstring name = argument.substr(open + 1, close - open - 1);
    bool isName = !name.empty();
    for (wchar_t c : name) isName = isName && IsPropertyNameCharacter(c);
    result += argument.substr(position, open - position);
    result += isName ? property(name) : argument.substr(open, close - open + 1);
    position = close + 1;
  }
  result += argument.substr(position);
  return result;
}

}  // namespace ui
