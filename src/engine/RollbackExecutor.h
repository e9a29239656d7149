#pragma once
// Undoes what a failed run installed: every group from last to first, and in
// each the products that ran (not failed inside Windows Installer) and have an
// uninstall command, from last to first, as a removal.

class CInstallerFactory;
class CSetupExecutorBase;
class IEventDispatcher;
class IEventMapper;
class ISetupConfigData;

class CRollbackExecutor {
 public:
  CRollbackExecutor(ISetupConfigData& record, IEventDispatcher* dispatcher, IEventMapper* eventMapper,
                    CInstallerFactory& installers, CSetupExecutorBase& executor, int rollbackCount);

  void Run();

 private:
  ISetupConfigData& record_;
  IEventDispatcher* dispatcher_;
  IEventMapper* eventMapper_;
  CInstallerFactory& installers_;
  CSetupExecutorBase& executor_;
  int rollbackCount_;
};
