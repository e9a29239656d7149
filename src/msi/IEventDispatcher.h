#pragma once
// Requests from the execution side that need the user or the dialog flow. The
// wizard and the silent flow each implement it; launchers, executors,
// installers and the busy wait hold it without owning it.
//
// Threads: every operation is called on the user-interface thread, and only
// there (the wizard's implementation shows windows and may run a nested
// message loop). Workers of the execution side (the busy wait's mutex thread,
// the EXE installer's child-process thread) never call it: they end with a
// result, and the user-interface thread, waiting for them in
// platform::WaitPumpingMessages, makes the call. Windows Installer calls its
// message handlers on the thread that called it, which is this one.

#include <windows.h>

#include <string>

class CWixControl;
class IEventMapper;
class IMSIManager;

class IEventDispatcher {
 public:
  // Runs the control's published events.
  virtual void OnControlActivated(CWixControl* control) = 0;
  // The MSI manager of the run; null before one exists.
  [[nodiscard]] virtual IMSIManager* GetMSIManager() = 0;
  // Shows (or, silently, logs) the text; returns the button pressed (IDOK, IDCANCEL, IDRETRY...).
  [[nodiscard]] virtual int ShowErrorDialog(const std::wstring& text, UINT style) = 0;
  [[nodiscard]] virtual int ShowFilesInUseDialog(const std::wstring& processList) = 0;
  virtual int ShowDialog(const std::wstring& dialogName) = 0;
  virtual int ShowSourceMessageDialog(const std::wstring& text) = 0;
  virtual void EndCurrentDialog() = 0;
  // `status` is a run result (0 success ... 4 restart needed).
  virtual void ShowExitDialog(int status) = 0;
  virtual void NotifyCurrentDialog(const std::wstring& text) = 0;
  virtual void ExecuteSetup(int executionType) = 0;
  virtual void StartSetup(int executionType) = 0;
  virtual void SetSourceRetry() = 0;
  // The dispatcher's own mapper; it lives as long as the dispatcher.
  [[nodiscard]] virtual IEventMapper* GetEventMapper() = 0;
  // Null when there is no main window.
  [[nodiscard]] virtual HWND GetMainWindowHandle() = 0;
  virtual void EnableCloseCommand(bool enable) = 0;
  virtual void Cancel() = 0;
  // Prepares the restart files and ends the run for a restart in the middle of it.
  virtual void IntermediateReboot() = 0;
  // A nested setup hands its restart to the parent setup.
  virtual void RequestParentReboot() = 0;

 protected:
  ~IEventDispatcher() = default;
};
