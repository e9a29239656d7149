#pragma once
// The executor of a minor upgrade: as an installation, with the bundle's
// entry deleted and written anew at the end.

#include "engine/InstallExecutor.h"

class CMinorUpgradeExecutor : public CInstallExecutor {
 public:
  using CInstallExecutor::CInstallExecutor;

 protected:
  // The new entry is written whatever the deletion gave; the write is the result.
  [[nodiscard]] bool UpdateRegistry() override;
  void PrepareRun() override {}
  void FinishRun(int) override {}
};
