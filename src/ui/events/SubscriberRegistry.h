#pragma once
// One dialog's subscriptions: which windows show the installation's action
// texts and progress, and which follow the feature tree's selection.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace ui {

class CSubscriberRegistry {
 public:
  struct Subscriber {
    int attribute;
    HWND window;
  };

  // SetProgress replaces the progress window; every other event appends.
  void AddSubscriber(int event, int attribute, HWND window);
  [[nodiscard]] HWND GetProgressWindow() const { return progressWindow_; }
  [[nodiscard]] const std::vector<Subscriber>* GetSubscribers(int event) const;
  // Sets the window text of every Text subscriber of the event.
  void SetText(int event, const std::wstring& text) const;
  // The dispatcher's notification: the text goes to the ActionText subscribers.
  void Notify(const std::wstring& text) const;

 private:
  HWND progressWindow_ = nullptr;
  std::map<int, std::vector<Subscriber>> subscribers_;
};

}  // namespace ui
