#pragma once
// What the silent run tells the optional progress indicator and tray icon.
// Without an indicator every call does nothing and Finish answers 1.

class ISilentIndicatorController {
 public:
  // Finish states.
  static constexpr int kFinishSuccess = 0;
  static constexpr int kFinishRestartNeeded = 1;
  static constexpr int kFinishFailed = 2;
  static constexpr int kFinishIntermediateRestart = 3;

  virtual void Start() = 0;
  virtual void OnProductFinished() = 0;
  virtual void OnRollbackStarted() = 0;
  virtual void OnRollbackGroup() = 0;
  virtual void ShowProgress(int percent) = 0;
  // Shows the finish window of the state; 1 when no window is shown or the
  // user chose to restart now, else 0.
  [[nodiscard]] virtual int Finish(int state) = 0;
  // Takes the tray icon away on a way out that shows no finish window (a
  // nested setup ending for its parent's restart).
  virtual void RemoveTrayIcon() {}

 protected:
  ~ISilentIndicatorController() = default;
};
