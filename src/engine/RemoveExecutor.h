#pragma once
// The executor of a removal: products from last to first with their uninstall
// commands; a failure is recorded and the run goes on; a user exit stops it.

#include <string>
#include <vector>

#include "engine/SetupExecutorBase.h"

class CRemoveExecutor : public CSetupExecutorBase {
 public:
  CRemoveExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher);

  [[nodiscard]] bool CheckInitialCondition(int&) override { return true; }

 protected:
  [[nodiscard]] bool IsStopOnFailure(IProductAttributes&, DWORD) override { return false; }
  void RecordExecuted(IProductAttributes&) override {}
  [[nodiscard]] bool UpdateRegistry() override;
  void BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) override;
  [[nodiscard]] bool HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                         int& noStatus) override;
  // Keeps the keys of the patches' child entries, which go with the bundle's
  // entry: the codes of the patches applied to the main product and the keys
  // the bundle's own patch products were registered under.
  void PrepareRun() override;
  void FinishRun(int) override {}
  // An MSI product Windows Installer does not know is already removed (an
  // earlier removal stopped half-way, or it was removed on its own): it
  // counts as removed, not as a failure.
  [[nodiscard]] bool IsAlreadyInPlace(IProductAttributes& product) override;

 private:
  void AddPatchKey(const std::wstring& key);

  std::vector<std::wstring> patchCodes_;
};
