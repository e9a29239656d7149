#pragma once
// The rules that decide what a click runs, kept apart from the windows so
// they can be checked on their own: which published events of a control run
// and in which order, and how an event's argument is filled in.

#include <functional>
#include <string>
#include <vector>

#include "wix/WixControl.h"

namespace ui {

// Every event except NewDialog and SpawnDialog runs in authoring order when
// its condition holds; then, of the dialog changes, only the last one authored
// whose condition holds runs (after the others). Each condition is asked just
// before its event would run, so it sees what the events before it did (the
// WiX sets set a property by DoAction and test it in the next event).
void RunPublishedEvents(const std::vector<WixPublish>& events,
                        const std::function<bool(const std::wstring&)>& conditionHolds,
                        const std::function<void(const WixPublish&)>& run);

// Replaces every "[NAME]" by the property's value (other bracketed forms stay
// as they are); "{}" stands for the empty value.
std::wstring ResolveEventArgument(const std::wstring& argument,
                                  const std::function<std::wstring(const std::wstring&)>& property);

}  // namespace ui
