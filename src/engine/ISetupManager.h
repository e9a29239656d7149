#pragma once
// The setup manager as both roads of a run (wizard and silent) see it.

class CMSIManager;
class CRebootManager;
class IEventDispatcher;

class ISetupManager {
 public:
  [[nodiscard]] virtual CMSIManager* GetMSIManager() = 0;
  [[nodiscard]] virtual CRebootManager* GetRebootManager() = 0;
  // 1 when the main package is open and its initializer ran, else 0 (logged).
  [[nodiscard]] virtual int LaunchInitializer(IEventDispatcher* dispatcher) = 0;
  // Runs the executor of the type; the run result (0 success ... 4 restart
  // needed), or 3 when no executor exists for the type.
  [[nodiscard]] virtual int Execute(int executionType) = 0;
  virtual void Cancel() = 0;
  // Everything before the products run; the executor's initial condition.
  [[nodiscard]] virtual int PrepareExecution(int& blocked) = 0;
  [[nodiscard]] virtual bool IsRebootRequired() = 0;

 protected:
  ~ISetupManager() = default;
};
