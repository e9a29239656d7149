#pragma once
// The executor of a first installation: install commands, stop and roll back
// on a failed product marked Rollback, the products' restart rules, and the
// bundle's Add/Remove Programs entry at the end.

#include "engine/SetupExecutorBase.h"

class CInstallExecutor : public CSetupExecutorBase {
 public:
  CInstallExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher);

  // Checks that the drive of INSTALLDIR has room for the bundle.
  [[nodiscard]] bool CheckInitialCondition(int& outOfSpace) override;

 protected:
  [[nodiscard]] bool IsStopOnFailure(IProductAttributes& product, DWORD exitCode) override;
  void RecordExecuted(IProductAttributes& product) override;
  [[nodiscard]] bool UpdateRegistry() override;
  void BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) override;
  [[nodiscard]] bool HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                         int& noStatus) override;
  void PrepareRun() override {}
  void FinishRun(int) override {}
};
