#pragma once
// The executor of a patch run: the patches run with the install commands and
// each applied patch of the main product gets a child entry under the bundle.

#include "engine/InstallExecutor.h"

class CPatchExecutor : public CInstallExecutor {
 public:
  using CInstallExecutor::CInstallExecutor;

  [[nodiscard]] bool CheckInitialCondition(int&) override { return true; }

 protected:
  [[nodiscard]] bool UpdateRegistry() override { return RegisterAppliedPatches(); }
  [[nodiscard]] bool HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                         int& noStatus) override;
  void PrepareRun() override {}
  void FinishRun(int) override {}
};
