#pragma once
// The executor of a repair: repair commands, failures recorded without
// stopping, and the bundle's entry written anew at the end. An MSI product
// that is not installed at all is installed instead of repaired, and a
// product still missing afterwards fails the run.

#include <set>

#include "engine/SetupExecutorBase.h"

class CRepairExecutor : public CSetupExecutorBase {
 public:
  CRepairExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher);

  // The products' files are still at the bundle's source.
  [[nodiscard]] bool CheckInitialCondition(int& missing) override;

 protected:
  [[nodiscard]] bool IsStopOnFailure(IProductAttributes&, DWORD) override { return false; }
  void RecordExecuted(IProductAttributes&) override {}
  // Deletes the entry and writes it again; false when either fails.
  [[nodiscard]] bool UpdateRegistry() override;
  void BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) override;
  [[nodiscard]] bool HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                         int& noStatus) override;
  void PrepareRun() override { missing_.clear(); }
  void FinishRun(int) override {}

 private:
  // MSI products the repair found not installed and installs instead.
  std::set<const IProductAttributes*> missing_;
};
