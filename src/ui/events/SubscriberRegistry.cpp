#include "ui/events/SubscriberRegistry.h"

#include "wix/WixControl.h"

namespace ui {

void CSubscriberRegistry::AddSubscriber(int event, int attribute, HWND window) {
  if (event == kSubscribeSetProgress) {
    progressWindow_ = window;
    return;
  }
  subscribers_[event].push_back(Subscriber{attribute, window});
}

const std::vector<CSubscriberRegistry::Subscriber>* CSubscriberRegistry::GetSubscribers(int event) const {
  auto found = subscribers_.find(event);
  return found == subscribers_.end() ? nullptr : &found->second;
}

void CSubscriberRegistry::SetText(int event, const std::wstring& text) const {
  const auto* list = GetSubscribers(event);
  if (list == nullptr) return;
  for (const Subscriber& subscriber : *list) ::SetWindowTextW(subscriber.window, text.c_str());
}

void CSubscriberRegistry::Notify(const std::wstring& text) const { SetText(kSubscribeActionText, text); }

}  // namespace ui
