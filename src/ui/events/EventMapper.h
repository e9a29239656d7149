#pragma once
// The wizard's side of the execution's progress: action texts and progress
// go to the current dialog's subscribers, the run's phases to the billboard.

#include <windows.h>

#include <memory>
#include <string>

#include "msi/IEventMapper.h"

class CProgressManager;
class IEventDispatcher;
class ISetupManager;

namespace ui {

class CSubscriberRegistry;
class CWizardController;

class CEventMapper final : public IEventMapper {
 public:
  CEventMapper(CWizardController& controller, ISetupManager& setupManager, IEventDispatcher& dispatcher);
  ~CEventMapper();

  void RegisterControl(int kind, HWND window) override;
  int AttachDialog(HWND dialog) override;
  void SetActionText(const std::wstring& text) override;
  void SetActionData(const std::wstring& text) override;
  void SetProgressPos(int position) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressStep(int step) override;
  void StepProgress() override;
  void OnRun(int phase) override;
  void OnProductGroup(int phase, IProductGroup* group, int result) override;
  void OnProduct(int phase, IProductAttributes* product, int value) override;
  void SetProductRebootState(IProductAttributes* product, DWORD exitCode) override;
  void SetBillboardManager(CBillboardManager* manager) override { billboard_ = manager; }
  void EnableCancel(bool enable) override;
  void OnRollback(int phase, int steps) override;
  void OnRollbackGroup(int phase, IProductGroup* group, int flag) override;
  void OnRollbackProduct(int phase, IProductAttributes* product, int value) override;
  void EnableSubscribers(bool enable) override;
  void SetSubscriberText(const std::wstring& text) override;
  void PublishAttribute(int eventNumber, int value, const std::wstring& text) override;
  void CreateProgressManager() override;
  void StartProgressManager(HANDLE& thread, DWORD expectedMilliseconds) override;
  void StopProgressManager() override;

  // The registry of the dialog attached last; null before the first.
  void SetRegistry(const CSubscriberRegistry* registry) { registry_ = registry; }

 private:
  void PostProgress(UINT message, WPARAM wParam, LPARAM lParam);
  // While a run holds the user-interface thread inside Windows Installer or
  // an executor, the window still repaints, moves its progress bar and
  // answers Cancel: the run's notifications give the queue a turn.
  void PumpMessages();

  CWizardController& controller_;
  ISetupManager& setupManager_;
  IEventDispatcher& dispatcher_;
  const CSubscriberRegistry* registry_ = nullptr;
  std::unique_ptr<CProgressManager> progress_;
  CBillboardManager* billboard_ = nullptr;
  HWND closeButton_ = nullptr;
  HWND cancelButton_ = nullptr;
  DWORD uiThread_ = ::GetCurrentThreadId();
  bool pumping_ = false;
  DWORD lastPump_ = 0;
};

}  // namespace ui
