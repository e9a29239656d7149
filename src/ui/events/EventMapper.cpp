#include "ui/events/EventMapper.h"

#include <commctrl.h>

#include "config/IProductAttributes.h"
#include "engine/ISetupManager.h"
#include "engine/RebootManager.h"
#include "msi/ProgressManager.h"
#include "ui/events/SubscriberRegistry.h"
#include "ui/host/BillboardManager.h"
#include "ui/host/DynamicDialog.h"
#include "ui/host/WizardController.h"
#include "wix/WixControl.h"

namespace ui {

namespace {
constexpr int kCloseControl = 14;
constexpr int kCancelControl = 15;
// Events the execution side names beyond the WiX subscriptions.
constexpr int kSubscribersEnableEvent = 12;
constexpr int kSubscribersTextEvent = 13;
// Often enough that the window feels alive, rarely enough to cost nothing.
constexpr DWORD kPumpIntervalMs = 30;
}  // namespace

CEventMapper::CEventMapper(CWizardController& controller, ISetupManager& setupManager, IEventDispatcher& dispatcher)
    : controller_(controller), setupManager_(setupManager), dispatcher_(dispatcher) {
  controller_.SetEventMapper(this);
}

CEventMapper::~CEventMapper() = default;

void CEventMapper::RegisterControl(int kind, HWND window) {
  if (kind == kCloseControl) closeButton_ = window;
  if (kind == kCancelControl) cancelButton_ = window;
}

int CEventMapper::AttachDialog(HWND dialog) {
  auto* object = dynamic_cast<CDynamicDialog*>(CDialogWindow::FromHandle(dialog));
  registry_ = object != nullptr ? &object->GetSubscriberRegistry() : nullptr;
  return registry_ != nullptr ? 1 : 0;
}

void CEventMapper::SetActionText(const std::wstring& text) {
  if (registry_ != nullptr) registry_->SetText(kSubscribeActionText, text);
  PumpMessages();
}

void CEventMapper::SetActionData(const std::wstring& text) {
  if (registry_ != nullptr) registry_->SetText(kSubscribeActionData, text);
  PumpMessages();
}

void CEventMapper::PumpMessages() {
  if (pumping_ || ::GetCurrentThreadId() != uiThread_ || !controller_.IsRunBusy()) return;
  const DWORD now = ::GetTickCount();
  if (now - lastPump_ < kPumpIntervalMs) return;
  lastPump_ = now;
  pumping_ = true;
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    HWND root = message.hwnd != nullptr ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && ::IsDialogMessageW(root, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  pumping_ = false;
}

// Progress may come from the simulated-progress thread: posted messages keep
// that thread from waiting on the user-interface thread.
void CEventMapper::PostProgress(UINT message, WPARAM wParam, LPARAM lParam) {
  if (registry_ != nullptr && registry_->GetProgressWindow() != nullptr) {
    ::PostMessageW(registry_->GetProgressWindow(), message, wParam, lParam);
  }
  PumpMessages();
}

void CEventMapper::SetProgressPos(int position) { PostProgress(PBM_SETPOS, static_cast<WPARAM>(position), 0); }

void CEventMapper::SetProgressRange(int minimum, int maximum) {
  PostProgress(PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void CEventMapper::SetProgressStep(int step) { PostProgress(PBM_SETSTEP, static_cast<WPARAM>(step), 0); }

void CEventMapper::StepProgress() { PostProgress(PBM_STEPIT, 0, 0); }

// The run's phases move the billboard on; each gives the window a turn too.
void CEventMapper::OnRun(int phase) {
  if (billboard_ != nullptr) billboard_->OnRun(phase);
  PumpMessages();
}

void CEventMapper::OnProductGroup(int phase, IProductGroup* group, int result) {
  if (billboard_ != nullptr) billboard_->OnProductGroup(phase, group, result);
  PumpMessages();
}

void CEventMapper::OnProduct(int phase, IProductAttributes* product, int value) {
  if (billboard_ != nullptr) billboard_->OnProduct(phase, product, value);
  PumpMessages();
}

void CEventMapper::OnRollback(int phase, int steps) {
  if (billboard_ != nullptr) billboard_->OnRollback(phase, steps);
  PumpMessages();
}

void CEventMapper::OnRollbackGroup(int phase, IProductGroup* group, int flag) {
  if (billboard_ != nullptr) billboard_->OnRollbackGroup(phase, group, flag);
  PumpMessages();
}

void CEventMapper::OnRollbackProduct(int phase, IProductAttributes* product, int value) {
  if (billboard_ != nullptr) billboard_->OnRollbackProduct(phase, product, value);
  PumpMessages();
}

void CEventMapper::SetProductRebootState(IProductAttributes* product, DWORD exitCode) {
  CRebootManager* reboot = setupManager_.GetRebootManager();
  if (reboot != nullptr && product != nullptr) reboot->SetProductRebootState(product->GetKey(), exitCode);
}

void CEventMapper::EnableCancel(bool enable) {
  if (cancelButton_ != nullptr && ::IsWindow(cancelButton_)) {
    ::EnableWindow(cancelButton_, enable ? TRUE : FALSE);
    if (enable) ::SetFocus(cancelButton_);
  }
  (void)controller_.EnableCloseCommand(enable);
  if (closeButton_ != nullptr && ::IsWindow(closeButton_)) ::EnableWindow(closeButton_, enable ? TRUE : FALSE);
}

void CEventMapper::EnableSubscribers(bool enable) {
  if (registry_ == nullptr) return;
  if (const auto* list = registry_->GetSubscribers(kSubscribersEnableEvent)) {
    for (const auto& subscriber : *list) ::EnableWindow(subscriber.window, enable ? TRUE : FALSE);
  }
}

void CEventMapper::SetSubscriberText(const std::wstring& text) {
  if (registry_ != nullptr) registry_->SetText(kSubscribersTextEvent, text);
}

void CEventMapper::PublishAttribute(int eventNumber, int value, const std::wstring& text) {
  if (registry_ == nullptr) return;
  const auto* list = registry_->GetSubscribers(eventNumber);
  if (list == nullptr) return;
  for (const auto& subscriber : *list) {
    switch (subscriber.attribute) {
      case kSubscribeEnabled: ::EnableWindow(subscriber.window, value != 0 ? TRUE : FALSE); break;
      case kSubscribeVisible: ::ShowWindow(subscriber.window, value != 0 ? SW_SHOW : SW_HIDE); break;
      case kSubscribeText: ::SetWindowTextW(subscriber.window, text.c_str()); break;
      default: break;
    }
  }
}

void CEventMapper::CreateProgressManager() {
  progress_.reset();
  progress_ = std::make_unique<CProgressManager>(*this);
}

void CEventMapper::StartProgressManager(HANDLE& thread, DWORD expectedMilliseconds) {
  thread = progress_ != nullptr ? progress_->Start(expectedMilliseconds) : nullptr;
}

void CEventMapper::StopProgressManager() {
  if (progress_ != nullptr) progress_->Stop();
}

}  // namespace ui
