#include "ui/dialogs/ProgressDialog.h"

#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IEventMapper.h"

namespace ui {

namespace {
constexpr int kCancelControlKind = 15;
// The progress page whose hook runs; one page at a time lives in the frame.
CProgressDialog* g_hookedPage = nullptr;

bool IsUserInput(UINT message) {
  if (message >= WM_KEYFIRST && message <= WM_KEYLAST) return true;
  if (message >= WM_LBUTTONDOWN && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL) {
    return true;
  }
  return message >= WM_NCLBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK;
}
}  // namespace

CProgressDialog::~CProgressDialog() {
  if (g_hookedPage == this) g_hookedPage = nullptr;
}

bool CProgressDialog::IsStrayInput(const MSG& message, DWORD shownAt, HWND frame) {
  if (frame == nullptr || message.hwnd == nullptr || !IsUserInput(message.message)) return false;
  if (message.hwnd != frame && ::GetAncestor(message.hwnd, GA_ROOT) != frame) return false;
  // Message times wrap with the tick count: compare by difference.
  return static_cast<LONG>(message.time - shownAt) < 0;
}

LRESULT CALLBACK CProgressDialog::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  CProgressDialog* page = g_hookedPage;
  if (code == HC_ACTION && wParam == PM_REMOVE && page != nullptr && page->GetHwnd() != nullptr) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    HWND frame = ::GetParent(page->GetHwnd());
    if (IsStrayInput(*message, page->shownAt_, frame)) message->message = WM_NULL;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CProgressDialog::OnInitDialog() {
  shownAt_ = ::GetTickCount();
  hook_.Reset(::SetWindowsHookExW(WH_GETMESSAGE, &CProgressDialog::GetMessageHook, nullptr, ::GetCurrentThreadId()));
  if (hook_) {
    g_hookedPage = this;
  } else {
    LogDebug(L"The progress page could not install its message hook (error %lu).", ::GetLastError());
  }
  CMSIDialog::OnInitDialog();
  if (services_.dispatcher == nullptr) return;
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control->GetId() == L"Cancel") {
      services_.dispatcher->GetEventMapper()->RegisterControl(kCancelControlKind, binding.window);
    }
  }
}

}  // namespace ui
