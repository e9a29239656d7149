#pragma once
// The executor of a modify run: install commands with the changed feature
// selection, stop and roll back on a failed product marked Rollback, and the
// entry's size rewritten at the end.

#include "engine/SetupExecutorBase.h"

class CModifyExecutor : public CSetupExecutorBase {
 public:
  CModifyExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher);

  // The products' files are still at the bundle's source.
  [[nodiscard]] bool CheckInitialCondition(int& missing) override;

 protected:
  [[nodiscard]] bool IsStopOnFailure(IProductAttributes& product, DWORD) override;
  void RecordExecuted(IProductAttributes& product) override;
  [[nodiscard]] bool UpdateRegistry() override;
  void BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) override;
  [[nodiscard]] bool HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                         int& noStatus) override;
  void PrepareRun() override {}
  void FinishRun(int) override {}
};
