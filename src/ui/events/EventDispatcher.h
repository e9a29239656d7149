#pragma once
// The wizard's side of the requests from the execution side and of the
// control events: clicks run the controls' published events, the installation
// is started from the wizard's pages, and questions become wizard dialogs.

#include <memory>
#include <string>

#include "msi/IEventDispatcher.h"

class ISetupConfigData;
class ISetupManager;
struct WixPublish;

namespace ui {

// Posted to the main frame: a run starts once the click that asked for it is over.
constexpr UINT kStartSetupMessage = WM_APP + 0x53;

class CEventHandler;
class CEventMapper;
class CWizardController;

class CEventDispatcher final : public IEventDispatcher {
 public:
  CEventDispatcher(CWizardController& controller, ISetupManager& setupManager, ISetupConfigData& record);
  ~CEventDispatcher();

  void OnControlActivated(CWixControl* control) override;
  [[nodiscard]] IMSIManager* GetMSIManager() override;
  [[nodiscard]] int ShowErrorDialog(const std::wstring& text, UINT style) override;
  [[nodiscard]] int ShowFilesInUseDialog(const std::wstring& processList) override;
  int ShowDialog(const std::wstring& dialogName) override;
  int ShowSourceMessageDialog(const std::wstring& text) override;
  void EndCurrentDialog() override;
  void ShowExitDialog(int status) override;
  void NotifyCurrentDialog(const std::wstring& text) override;
  void ExecuteSetup(int executionType) override;
  void StartSetup(int executionType) override;
  void SetSourceRetry() override { sourceRetry_ = true; }
  [[nodiscard]] IEventMapper* GetEventMapper() override;
  [[nodiscard]] HWND GetMainWindowHandle() override;
  void EnableCloseCommand(bool enable) override;
  void Cancel() override;
  void IntermediateReboot() override;
  void RequestParentReboot() override {}

  // Runs a custom action of the main package; 1602 and 1603 end on the
  // user-exit and failure pages.
  unsigned OnDoAction(const std::wstring& action);
  // The feature tree's remembered choices no longer hold after a new install level.
  void ClearFeatureSelection();
  [[nodiscard]] bool IsSourceRetry() const { return sourceRetry_; }
  // Whether a start is waiting for the frame's message queue.
  [[nodiscard]] bool IsStartPending() const { return pendingStart_ >= 0; }
  // The frame runs the start it was posted.
  void RunPendingStart();

 private:
  // Runs one published event: references in its argument, property assignment or handler.
  void RunEvent(const WixPublish& event);
  // Whether a published event's condition holds ("" and "1" always do).
  [[nodiscard]] bool ConditionHolds(const std::wstring& condition);
  void RunDoActionEvents(const CWixControl& control);
  // The repair's own events (ReinstallMode, Reinstall) whose conditions hold.
  void RunReinstallEvents(const CWixControl& control);
  // Replaces every "[PROP]" in an event argument by the property's value; "{}" is empty.
  [[nodiscard]] std::wstring ResolveArgument(const std::wstring& argument);

  CWizardController& controller_;
  ISetupManager& setupManager_;
  ISetupConfigData& record_;
  std::unique_ptr<CEventMapper> mapper_;
  std::unique_ptr<CEventHandler> handler_;
  // The blocking check, the progress page and the execution.
  void RunStartSetup(int executionType);

  bool sourceRetry_ = false;
  int pendingStart_ = -1;
};

}  // namespace ui
