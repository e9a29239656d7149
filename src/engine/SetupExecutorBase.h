#pragma once
// Runs the bundle's product groups and products for one execution type: order
// (reverse for a removal), skipped products, products run before a restart,
// the busy wait, the installer per product kind, counters and statuses,
// cancel, rollback, the setup-initializer group last and the registration.
// Derived executors supply the steps that differ per type.

#include <windows.h>

#include <memory>
#include <string>

#include "engine/ISetupExecutorBase.h"

class CInstallerFactory;
class IBundleRegistrar;
class CRollbackExecutor;
class CSetupInstallerBase;
class IEventDispatcher;
class IEventMapper;
class IProductAttributes;
class IProductGroup;
class ISetupConfigData;
class ISilentConfigData;

class CSetupExecutorBase : public ISetupExecutorBase {
 public:
  CSetupExecutorBase(ISetupConfigData& record, IEventDispatcher* dispatcher);
  ~CSetupExecutorBase() override;
  CSetupExecutorBase(const CSetupExecutorBase&) = delete;
  CSetupExecutorBase& operator=(const CSetupExecutorBase&) = delete;

  [[nodiscard]] int Execute() override;
  void Cancel() override;
  [[nodiscard]] int GetErrorCount() const override { return errorCount_; }
  [[nodiscard]] int GetWarningCount() const override { return warningCount_; }
  [[nodiscard]] int GetInformationCount() const override { return informationCount_; }

  void SetSilentConfigData(const ISilentConfigData* silentConfig);
  // The writer of the bundle's Add/Remove Programs entry that UpdateRegistry uses.
  void SetBundleRegistrar(IBundleRegistrar* registrar) { registrar_ = registrar; }
  // Whether a product asked for a restart that was put off to the end of the run.
  [[nodiscard]] bool IsConditionalRebootAccumulated() const { return conditionalRebootAccumulated_; }

  // Waits for a busy Windows Installer before a product marked CheckMSIMutex;
  // false when the user gave up.
  [[nodiscard]] bool CheckForMutex(IProductAttributes& product);

 protected:
  [[nodiscard]] virtual bool IsStopOnFailure(IProductAttributes& product, DWORD exitCode) = 0;
  virtual void RecordExecuted(IProductAttributes& product) = 0;
  [[nodiscard]] virtual bool UpdateRegistry() = 0;
  virtual void BuildCommandLine(IProductAttributes& product, std::wstring& commandLine) = 0;
  // Classifies a product's exit code; false stops the run. `noStatus` set
  // means no status is reported for the product.
  [[nodiscard]] virtual bool HandleProductResult(IProductAttributes& product, DWORD exitCode, int& result,
                                                 int& noStatus) = 0;
  virtual void PrepareRun() = 0;
  virtual void FinishRun(int result) = 0;
  // Whether the machine already holds the product as this run would leave it
  // (logged by the executor that says so): the product is passed over
  // without a status, not run and not counted for rollback.
  [[nodiscard]] virtual bool IsAlreadyInPlace(IProductAttributes&) { return false; }

  // The product's restart rule; true when a restart is to happen now.
  [[nodiscard]] bool HandleProductReboot(IProductAttributes& product, DWORD exitCode);
  [[nodiscard]] bool IsCancelled() const { return cancelled_; }
  void AddRollbackStep() { ++rollbackCount_; }
  // A product that ran (status "run", counted for rollback by RecordExecuted).
  void MarkProductRun(IProductAttributes& product);
  // A failed installer package did not change the machine (status "failed");
  // any other failed product may have, and is marked as run.
  void MarkProductFailed(IProductAttributes& product);
  // A failed product: marked, result 3, and 2 with a stop when the product
  // stops the run on failure. False stops the run.
  // A user exit (1602) ends maintenance runs as cancelled: true with result 1.
  [[nodiscard]] static bool IsUserExit(DWORD exitCode, int& result, int& noStatus);
  [[nodiscard]] bool FailProduct(IProductAttributes& product, DWORD exitCode, int& result, int& noStatus);
  // Sets a property of the main package's session, when there is one.
  void SetSessionProperty(const std::wstring& name, const std::wstring& value);

  // The registrar, or null after logging that there is none.
  [[nodiscard]] IBundleRegistrar* GetBundleRegistrar() const;

  ISetupConfigData& record_;
  IEventDispatcher* dispatcher_;
  IEventMapper* eventMapper_;

 private:
  [[nodiscard]] bool RunGroup(IProductGroup& group, int& result);
  [[nodiscard]] bool RunProduct(IProductAttributes& product, int& result, int& status);
  [[nodiscard]] DWORD ExecuteProduct(IProductAttributes& product);
  void CountResult(IProductAttributes& product, DWORD exitCode);
  [[nodiscard]] bool RunSetupInitializerGroup(int& result);
  void RegisterBundle(int& result);
  void StartRollback();

  bool cancelled_ = false;
  int rollbackCount_ = 0;
  std::unique_ptr<CInstallerFactory> installerFactory_;
  CSetupInstallerBase* currentInstaller_ = nullptr;
  std::unique_ptr<CRollbackExecutor> rollbackExecutor_;
  int errorCount_ = 0;
  int warningCount_ = 0;
  int informationCount_ = 0;
  bool conditionalRebootAccumulated_ = false;
  IBundleRegistrar* registrar_ = nullptr;
};
