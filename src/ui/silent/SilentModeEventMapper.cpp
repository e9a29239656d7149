#include "ui/silent/SilentModeEventMapper.h"

#include <algorithm>

#include "config/IProductAttributes.h"
#include "engine/ISetupManager.h"
#include "engine/RebootManager.h"
#include "ui/silent/ISilentIndicatorController.h"

CSilentModeEventMapper::CSilentModeEventMapper(ISetupManager& setupManager, ISilentIndicatorController* indicator)
    : setupManager_(setupManager),
      indicator_(indicator),
      progressEvent_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

void CSilentModeEventMapper::OnProduct(int phase, IProductAttributes*, int) {
  if (phase == 0) {
    productCounted_ = false;
    return;
  }
  CountFinishedProduct();
}

void CSilentModeEventMapper::CountFinishedProduct() {
  if (productCounted_) return;
  productCounted_ = true;
  if (indicator_ != nullptr) indicator_->OnProductFinished();
}

void CSilentModeEventMapper::SetProductRebootState(IProductAttributes* product, DWORD exitCode) {
  CRebootManager* rebootManager = setupManager_.GetRebootManager();
  if (product != nullptr && rebootManager != nullptr) rebootManager->SetProductRebootState(product->GetKey(), exitCode);
  // A product that succeeded ends without a status (no OnProduct end): its
  // result is the one sign every executed product gives.
  CountFinishedProduct();
}

void CSilentModeEventMapper::OnRollback(int phase, int steps) {
  if (phase != 0) return;
  if (indicator_ != nullptr) indicator_->OnRollbackStarted();
  rollbackStep_ = steps > 0 ? 100 / steps : 100;
  rollbackPosition_ = 0;
}

void CSilentModeEventMapper::OnRollbackGroup(int phase, IProductGroup*, int) {
  if (phase == 0 && indicator_ != nullptr) indicator_->OnRollbackGroup();
}

void CSilentModeEventMapper::OnRollbackProduct(int phase, IProductAttributes*, int) {
  if (phase != 1) return;
  rollbackPosition_ = std::min(100, rollbackPosition_ + rollbackStep_);
  if (indicator_ != nullptr) indicator_->ShowProgress(rollbackPosition_);
}

void CSilentModeEventMapper::StartProgressManager(HANDLE& thread, DWORD) { thread = progressEvent_.Get(); }

void CSilentModeEventMapper::StopProgressManager() {
  if (progressEvent_) ::SetEvent(progressEvent_.Get());
}
