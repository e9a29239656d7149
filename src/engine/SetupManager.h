#pragma once
// The object through which both roads of a run reach Windows Installer and
// the executors: it owns the MSI manager (with the launcher chosen for the
// execution type), the reboot manager, the registrar of the Add/Remove
// Programs entry and the executor. After the run its result is the process
// exit code: the application reads it with GetExitCode or receives it
// through the exit-code callback, as the engine cannot call the application.

#include <functional>
#include <memory>
#include <string>

#include "engine/ISetupManager.h"
#include "engine/InstallExecutor.h"
#include "engine/SetupLauncherReboot.h"
#include "engine/SetupStartData.h"

class CArpBundleRegistrar;
class CMSIManager;
class CRebootManager;
class CSetupExecutorBase;
class IBundleRegistrar;
class IEventDispatcher;
class ISetupConfigData;
class ISetupLauncher;

class CSetupManager : public ISetupManager {
 public:
  // Steps that belong to layers above the engine; each may be empty.
  struct Hooks {
    // The product property update before every execution (which products run).
    std::function<void()> updateProductProperties;
    // The default feature selection and removal lists when the wizard chose none.
    std::function<void()> computeDefaultFeatureSelection;
    // The bytes the selected features need on a drive ("C:").
    CInstallExecutor::FeatureDriveCost featureDriveCost;
    // Free space of a drive; the real query when empty.
    CInstallExecutor::FreeSpaceQuery freeSpaceQuery;
    // Restores the archived state of a resumed run (the reboot manager's archive).
    CSetupLauncherReboot::Restorer restoreRunState;
    // Receives the exit code when Execute ends.
    std::function<void(int exitCode)> onExitCode;
  };

  // Builds the MSI manager (loading the Windows Installer library) and the
  // launcher of the record's execution type.
  CSetupManager(ISetupConfigData& record, bool silent, SetupStartData start, Hooks hooks = {});
  ~CSetupManager();
  CSetupManager(const CSetupManager&) = delete;
  CSetupManager& operator=(const CSetupManager&) = delete;

  [[nodiscard]] CMSIManager* GetMSIManager() override { return msiManager_.get(); }
  [[nodiscard]] CRebootManager* GetRebootManager() override { return rebootManager_.get(); }
  [[nodiscard]] int LaunchInitializer(IEventDispatcher* dispatcher) override;
  [[nodiscard]] int Execute(int executionType) override;
  void Cancel() override;
  [[nodiscard]] int PrepareExecution(int& blocked) override;
  [[nodiscard]] bool IsRebootRequired() override;

  // The exit code of the last Execute (3 before any).
  [[nodiscard]] int GetExitCode() const { return exitCode_; }
  // The executor of the run; null before PrepareExecution or Execute.
  [[nodiscard]] CSetupExecutorBase* GetExecutor() const { return executor_.get(); }
  // Replaces the writer of the Add/Remove Programs entry (tests use a scratch key).
  void SetBundleRegistrar(std::unique_ptr<IBundleRegistrar> registrar);
  // The dispatcher of a run that starts without an initializer pass.
  void SetDispatcher(IEventDispatcher* dispatcher) { dispatcher_ = dispatcher; }

  // The launcher the execution type gets; null for types without one.
  [[nodiscard]] static std::unique_ptr<ISetupLauncher> CreateLauncher(ISetupConfigData& record, CMSIManager& manager,
                                                                      const SetupStartData& start,
                                                                      const Hooks& hooks);
  // The executor of the execution type; null for types without one.
  [[nodiscard]] std::unique_ptr<CSetupExecutorBase> CreateExecutor(int executionType);

 private:
  void LogResult(int executionType, int result) const;
  void LogSummary() const;

  ISetupConfigData& record_;
  bool silent_;
  SetupStartData start_;
  Hooks hooks_;
  IEventDispatcher* dispatcher_ = nullptr;
  std::unique_ptr<CMSIManager> msiManager_;
  std::unique_ptr<CSetupExecutorBase> executor_;
  std::unique_ptr<CRebootManager> rebootManager_;
  std::unique_ptr<IBundleRegistrar> registrar_;
  int exitCode_ = 3;
};
