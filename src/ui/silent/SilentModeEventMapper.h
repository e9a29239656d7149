#pragma once
// The event mapper of a silent run: progress texts go nowhere, finished and
// rolled-back products move the silent indicator, and product results are
// kept for a restart.

#include "msi/IEventMapper.h"
#include "platform/UniqueResource.h"

class ISetupManager;
class ISilentIndicatorController;

class CSilentModeEventMapper final : public IEventMapper {
 public:
  // `indicator` may be null (no indicator).
  CSilentModeEventMapper(ISetupManager& setupManager, ISilentIndicatorController* indicator);

  void RegisterControl(int, HWND) override {}
  int AttachDialog(HWND) override { return 0; }
  void SetActionText(const std::wstring&) override {}
  void SetActionData(const std::wstring&) override {}
  void SetProgressPos(int) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressStep(int) override {}
  void StepProgress() override {}
  void OnRun(int) override {}
  void OnProductGroup(int, IProductGroup*, int) override {}
  void OnProduct(int phase, IProductAttributes* product, int value) override;
  void SetProductRebootState(IProductAttributes* product, DWORD exitCode) override;
  void SetBillboardManager(CBillboardManager*) override {}
  void EnableCancel(bool) override {}
  void OnRollback(int phase, int steps) override;
  void OnRollbackGroup(int phase, IProductGroup* group, int flag) override;
  void OnRollbackProduct(int phase, IProductAttributes* product, int value) override;
  void EnableSubscribers(bool) override {}
  void SetSubscriberText(const std::wstring&) override {}
  void PublishAttribute(int, int, const std::wstring&) override {}
  void CreateProgressManager() override {}
  // No progress thread runs silently: the handle handed out is an event that
  // StopProgressManager signals, so waiting for "the thread" works the same.
  void StartProgressManager(HANDLE& thread, DWORD expectedMilliseconds) override;
  void StopProgressManager() override;

  [[nodiscard]] int GetRollbackPosition() const { return rollbackPosition_; }

 private:
  ISetupManager& setupManager_;
  ISilentIndicatorController* indicator_;
  platform::UniqueHandle progressEvent_;
  // The indicator counts each product once, whichever end notice comes first.
  void CountFinishedProduct();
  bool productCounted_ = false;
  int rollbackStep_ = 100;
  int rollbackPosition_ = 0;
};
