#pragma once
// An executor as the setup manager uses it: run once, cancel, check the
// initial condition, read the three counters.

class ISetupExecutorBase {
 public:
  // The run result: 0 success, 1 cancelled, 2 failed and rolled back, 3 failed
  // and went on (or registration failed), 4 a restart is needed to continue.
  [[nodiscard]] virtual int Execute() = 0;
  virtual void Cancel() = 0;
  [[nodiscard]] virtual bool CheckInitialCondition(int& outOfSpace) = 0;
  virtual ~ISetupExecutorBase() = default;
  [[nodiscard]] virtual int GetErrorCount() const = 0;
  [[nodiscard]] virtual int GetWarningCount() const = 0;
  [[nodiscard]] virtual int GetInformationCount() const = 0;
};
