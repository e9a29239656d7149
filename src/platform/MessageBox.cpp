#include "platform/MessageBox.h"

#include <mutex>

namespace platform {

namespace {
std::mutex g_handlerMutex;
MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}
}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
  MessageBoxHandler handler;
  {
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    handler = Handler();
  }
  if (handler) return handler(owner, text, caption, flags);
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard<std::mutex> lock(g_handlerMutex);
  Handler() = std::move(handler);
}

}  // namespace platform
