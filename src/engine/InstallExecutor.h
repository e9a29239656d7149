#pragma once
// The executor of a first installation: install commands, stop and roll back
// on a failed product marked Rollback, the products' restart rules, and the
// bundle's Add/Remove Programs entry at the end, with child entries for the
// patches of the main product that ran. A major upgrade also removes the
// earlier bundle's entry once the run succeeded.

#include <functional>
#include <string>
#include <vector>

#include "engine/SetupExecutorBase.h"

class CInstallExecutor : public CSetupExecutorBase {
 public:
  // The one rule for INSTALLDIR, wherever it came from (package, command line,
  // SilentConfig.xml): an absolute local folder without "..".
  [[nodiscard]] static bool IsInstallFolderAcceptable(const std::wstring& folder);
  // The free bytes of the drive with the root `drive` ("C:\"); false when unknown.
  using FreeSpaceQuery = std::function<bool(const std::wstring& drive, ULONGLONG& freeBytes)>;
  // The bytes the selected features need on `drive` ("C:").
  using FeatureDriveCost = std::function<ULONGLONG(const std::wstring& drive)>;

  CInstallExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher);

  // Checks that the drive of INSTALLDIR has room for the bundle.
  [[nodiscard]] bool CheckInitialCondition(int& outOfSpace) override;

  // The disk seam: the real query is GetDiskFreeSpaceExW.
  void SetFreeSpaceQuery(FreeSpaceQuery query) { freeSpace_ = std::move(query); }
  void SetFeatureDriveCost(FeatureDriveCost cost) { featureDriveCost_ = std::move(cost); }
  [[nodiscard]] const std::vector<IProductAttributes*>& GetAppliedPatches() const { return appliedPatches_; }

 protected:
  [[nodiscard]] bool IsStopOnFailure(IProductAttributes& product, DWORD exitCode) override;
  void RecordExecuted(IProductAttributes& product) override;
  [[nodiscard]] bool UpdateRegistry() override;
  void BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) override;
  [[nodiscard]] bool HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                         int& noStatus) override;
  void PrepareRun() override;
  void FinishRun(int result) override;

  // Child entries of the applied patches under the bundle's entry.
  [[nodiscard]] bool RegisterAppliedPatches();
  void AddAppliedPatch(IProductAttributes& product);

 private:
  std::vector<IProductAttributes*> appliedPatches_;
  std::wstring earlierInstallFolder_;
  std::wstring earlierKeyName_;
  FreeSpaceQuery freeSpace_;
  FeatureDriveCost featureDriveCost_;
};
