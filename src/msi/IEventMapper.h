#pragma once
// Progress and notifications from the execution side to the user interface.
//
// Threads: every operation is called on the user-interface thread, except
// SetProgressPos and SetProgressRange, which the simulated progress thread of
// the mapper's own progress manager (msi/ProgressManager) also calls while the
// user-interface thread waits in platform::WaitPumpingMessages. Those two reach
// windows only through posted or sent messages and take no lock. No other
// worker calls the mapper: the EXE installer's worker reports its result and
// the user-interface thread stops the progress.

#include <windows.h>

#include <string>

class CBillboardManager;
class IProductAttributes;
class IProductGroup;

class IEventMapper {
 public:
  // Remembers the close (kind 14) and Cancel (kind 15) controls.
  virtual void RegisterControl(int kind, HWND window) = 0;
  // Progress and subscriber texts go to this dialog window from now on.
  virtual int AttachDialog(HWND dialog) = 0;
  virtual void SetActionText(const std::wstring& text) = 0;
  virtual void SetActionData(const std::wstring& text) = 0;
  // Also called on the simulated progress thread (see above).
  virtual void SetProgressPos(int position) = 0;
  // Also called on the simulated progress thread (see above).
  virtual void SetProgressRange(int minimum, int maximum) = 0;
  virtual void SetProgressStep(int step) = 0;
  virtual void StepProgress() = 0;
  // Phase 0 before the first group, 1 after the last.
  virtual void OnRun(int phase) = 0;
  // Before (0, result 0) and after (1, the group status) a group.
  virtual void OnProductGroup(int phase, IProductGroup* group, int result) = 0;
  // Before (0, value 1) and after (1, the product status) a product.
  virtual void OnProduct(int phase, IProductAttributes* product, int value) = 0;
  // Keeps the exit code for the reboot manager under the product's key.
  virtual void SetProductRebootState(IProductAttributes* product, DWORD exitCode) = 0;
  virtual void SetBillboardManager(CBillboardManager* manager) = 0;
  virtual void EnableCancel(bool enable) = 0;
  // Rollback starts (0) or ends (1); steps is the executor's rollback count.
  virtual void OnRollback(int phase, int steps) = 0;
  // Before (0, flag 1) and after (1, whether a product failed) a rolled-back group.
  virtual void OnRollbackGroup(int phase, IProductGroup* group, int flag) = 0;
  // Before (0, value 1) and after (1, whether the result was not 0) a rolled-back product.
  virtual void OnRollbackProduct(int phase, IProductAttributes* product, int value) = 0;
  virtual void EnableSubscribers(bool enable) = 0;
  virtual void SetSubscriberText(const std::wstring& text) = 0;
  virtual void PublishAttribute(int eventNumber, int value, const std::wstring& text) = 0;
  virtual void CreateProgressManager() = 0;
  // Starts the simulated progress; a null handle means it could not start.
  // The handle stays owned by the mapper and is signalled once stopped.
  virtual void StartProgressManager(HANDLE& thread, DWORD expectedMilliseconds) = 0;
  virtual void StopProgressManager() = 0;

 protected:
  ~IEventMapper() = default;
};
