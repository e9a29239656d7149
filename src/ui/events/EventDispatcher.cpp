#include "ui/events/EventDispatcher.h"

#include "config/ExecutionType.h"
#include "config/ISetupConfigData.h"
#include "engine/CommonUtility.h"
#include "engine/ISetupManager.h"
#include "engine/RebootManager.h"
#include "features/FeatureUtility.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "msi/MSIManager.h"
#include "platform/StringUtil.h"
#include "ui/events/EventHandler.h"
#include "ui/events/EventPlan.h"
#include "ui/events/EventMapper.h"
#include "ui/host/DynamicDialog.h"
#include "ui/host/MainDialog.h"
#include "ui/host/WizardController.h"
#include "wix/WixControl.h"
#include "wix/IWixDataManager.h"

namespace ui {

namespace {

constexpr unsigned kUserExit = 1602;
constexpr unsigned kInstallFailure = 1603;

bool IsIdOneOf(const std::wstring& id, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names) {
    if (platform::EqualsNoCase(id, name)) return true;
  }
  return false;
}

}  // namespace

CEventDispatcher::CEventDispatcher(CWizardController& controller, ISetupManager& setupManager,
                                   ISetupConfigData& record)
    : controller_(controller), setupManager_(setupManager), record_(record) {
  mapper_ = std::make_unique<CEventMapper>(controller, setupManager, *this);
  handler_ = std::make_unique<CEventHandler>(controller, *this, record);
}

CEventDispatcher::~CEventDispatcher() = default;

IMSIManager* CEventDispatcher::GetMSIManager() { return setupManager_.GetMSIManager(); }

IEventMapper* CEventDispatcher::GetEventMapper() { return mapper_.get(); }

void CEventDispatcher::OnControlActivated(CWixControl* control) {
  if (control == nullptr) return;
  if (control->GetType() == kWixPushButton) {
    const std::wstring& id = control->GetId();
    if (IsIdOneOf(id, {L"Install", L"InstallNoShield"})) {
      IMSIManager* msi = GetMSIManager();
      // Sets that choose through WixUI_InstallMode never set MAINTENANCETYPE;
      // Install on an installed bundle can then only mean its Change.
      const bool modify = (msi != nullptr && msi->GetProperty(L"MAINTENANCETYPE", false) == L"Modify") ||
                          record_.GetExecutionType() == SETUPEXECTYPE_MAINTENANCE;
      StartSetup(modify ? SETUPEXECTYPE_MODIFY : record_.GetExecutionType());
      return;
    }
    if (IsIdOneOf(id, {L"Change", L"ChangeNoShield"})) {
      StartSetup(SETUPEXECTYPE_MODIFY);
      return;
    }
    if (IsIdOneOf(id, {L"Repair", L"RepairNoShield"})) {
      StartSetup(SETUPEXECTYPE_REPAIR);
      return;
    }
    if (IsIdOneOf(id, {L"Remove", L"RemoveNoShield"})) {
      RunDoActionEvents(*control);
      StartSetup(SETUPEXECTYPE_REMOVE);
      return;
    }
    if (IsIdOneOf(id, {L"Finish"})) {
      RunDoActionEvents(*control);
      if (IMSIManager* msi = GetMSIManager()) msi->CloseHandles();
      controller_.Cancel();
      return;
    }
    if (IsIdOneOf(id, {L"Next"}) && record_.GetExecutionType() == SETUPEXECTYPE_PATCH) {
      StartSetup(SETUPEXECTYPE_PATCH);
      return;
    }
  }
  const auto holds = [this](const std::wstring& condition) { return ConditionHolds(condition); };
  RunPublishedEvents(control->GetPublishes(), holds, [this](const WixPublish& event) { RunEvent(event); });
}

bool CEventDispatcher::ConditionHolds(const std::wstring& condition) {
  // Windows Installer runs an event without a condition; so do we.
  const std::wstring trimmed = platform::Trim(condition);
  if (trimmed.empty() || trimmed == L"1") return true;
  IMSIManager* msi = GetMSIManager();
  return msi != nullptr && msi->EvaluateCondition(trimmed);
}

void CEventDispatcher::RunDoActionEvents(const CWixControl& control) {
  for (const WixPublish& event : control.GetPublishes()) {
    if (event.event == L"DoAction") RunEvent(event);
  }
}

std::wstring CEventDispatcher::ResolveArgument(const std::wstring& argument) {
  IMSIManager* msi = GetMSIManager();
  return ResolveEventArgument(argument, [msi](const std::wstring& name) {
    return msi != nullptr ? msi->GetProperty(name, false) : std::wstring();
  });
}

void CEventDispatcher::RunEvent(const WixPublish& event) {
  CDynamicDialog* current = controller_.GetCurrentDialog();
  if (current != nullptr && current->IsEventStopped()) return;
  const std::wstring argument = ResolveArgument(event.argument);
  const bool assignment = event.isPropertyAssignment || platform::StartsWith(event.event, L"[");
  if (assignment) {
    std::wstring name = event.event;
    if (platform::StartsWith(name, L"[")) name = name.substr(1);
    if (!name.empty() && name.back() == L']') name.pop_back();
    if (IMSIManager* msi = GetMSIManager()) msi->SetProperty(name, argument, false);
    return;
  }
  WixPublish resolved = event;
  resolved.argument = argument;
  (void)handler_->Handle(resolved);
}

unsigned CEventDispatcher::OnDoAction(const std::wstring& action) {
  IMSIManager* msi = GetMSIManager();
  if (msi == nullptr) {
    LogWarning(L"Failed to run the custom action %s", action.c_str());
    LogWarning(L"Unable to get the MSI manager instance");
    return kInstallFailure;
  }
  const unsigned result = msi->DoAction(action);
  if (result == kUserExit) {
    controller_.EndCurrentDialogWith(IDCANCEL);
    controller_.ShowExitDialog(1);
  } else if (result == kInstallFailure) {
    controller_.EndCurrentDialogWith(IDCANCEL);
    controller_.ShowExitDialog(2);
  }
  return result;
}

void CEventDispatcher::ClearFeatureSelection() { CFeatureUtility::ClearNonFeatureSelections(); }

int CEventDispatcher::ShowErrorDialog(const std::wstring& text, UINT style) {
  return controller_.SpawnDialog(L"ErrorDlg", text, style);
}

int CEventDispatcher::ShowFilesInUseDialog(const std::wstring& processList) {
  const int answer = controller_.SpawnDialog(L"FilesInUse", processList);
  // Windows Installer knows no Exit: leaving the question cancels this product.
  return answer == kEndExit ? IDCANCEL : answer;
}

int CEventDispatcher::ShowDialog(const std::wstring& dialogName) { return controller_.ShowDialog(dialogName); }

int CEventDispatcher::ShowSourceMessageDialog(const std::wstring& text) {
  return controller_.SpawnDialog(L"MessageBox_Src_Dlg", text);
}

void CEventDispatcher::EndCurrentDialog() { controller_.EndCurrentDialog(std::wstring()); }

void CEventDispatcher::ShowExitDialog(int status) { controller_.ShowExitDialog(status); }

void CEventDispatcher::NotifyCurrentDialog(const std::wstring& text) {
  if (CDynamicDialog* current = controller_.GetCurrentDialog()) current->GetSubscriberRegistry().Notify(text);
}

void CEventDispatcher::StartSetup(int executionType) {
  // The run must not start inside the page's own WM_COMMAND: the page goes
  // away for the progress page, and the click would return into a freed page.
  HWND frame = GetMainWindowHandle();
  if (frame != nullptr && !IsStartPending() && ::PostMessageW(frame, kStartSetupMessage, 0, 0)) {
    pendingStart_ = executionType;
    return;
  }
  RunStartSetup(executionType);
}

void CEventDispatcher::RunPendingStart() {
  const int executionType = pendingStart_;
  pendingStart_ = -1;
  if (executionType >= 0) RunStartSetup(executionType);
}

void CEventDispatcher::RunStartSetup(int executionType) {
  record_.SetExecutionType(executionType);
  int blocked = 0;
  if (setupManager_.PrepareExecution(blocked) == 0) {
    LogError(L"InitialCondition for executing the setup failed.");
    if (blocked == 0) {
      // Nothing can run (no installation folder, no executor): say so on the
      // failure page instead of starting a run that cannot exist, and leave
      // with the failure a deployment tool can see.
      controller_.ReportFailure(ERROR_INSTALL_FAILURE);
      controller_.EndCurrentDialogWith(IDCANCEL);
      controller_.ShowExitDialog(2);
      return;
    }
    if (executionType == SETUPEXECTYPE_INSTALLATION) {
      (void)controller_.SpawnDialog(L"OutOfDiskDlg");
      return;
    }
    if (executionType == SETUPEXECTYPE_MODIFY || executionType == SETUPEXECTYPE_REPAIR) {
      sourceRetry_ = false;
      (void)controller_.SpawnDialog(L"UnavailableSourceDlg");
      blocked = sourceRetry_ ? 0 : 1;
    }
    if (blocked != 0) return;
  }
  ExecuteSetup(executionType);
}

void CEventDispatcher::ExecuteSetup(int executionType) {
  if (!controller_.PrepareForExecution()) {
    LogError(L"Failed to Prepare for Execute Sequence");
    return;
  }
  controller_.SetRunBusy(true);
  const int result = setupManager_.Execute(executionType);
  if (result == 2 || result == 3) LogError(L"Setup execution failed");
  controller_.SetRunBusy(false);
  if (IMSIManager* msi = GetMSIManager()) {
    if (executionType != SETUPEXECTYPE_REMOVE) msi->ReopenCachedPackage();
  }
  controller_.EndCurrentDialogWith(kEndExit);
  controller_.ShowExitDialog(result);
}

HWND CEventDispatcher::GetMainWindowHandle() {
  CMainDialog* frame = controller_.GetMainDialog();
  return frame != nullptr ? frame->GetHwnd() : nullptr;
}

void CEventDispatcher::EnableCloseCommand(bool enable) { (void)controller_.EnableCloseCommand(enable); }

void CEventDispatcher::Cancel() { controller_.Cancel(); }

void CEventDispatcher::IntermediateReboot() {
  IWixDataManager* wix = controller_.GetWixDataManager();
  const std::wstring dialog = wix != nullptr && wix->GetDialog(L"Restart_Intermediate_Dlg") != nullptr
                                  ? L"Restart_Intermediate_Dlg"
                                  : L"Restart_Main_Dlg";
  LogInformation(L"Archiving the data to be used after intermediate reboot...");
  if (CRebootManager* reboot = setupManager_.GetRebootManager()) {
    (void)CCommonUtility::PrepareIntermediateReboot(record_, *reboot, false, false);
  }
  if (controller_.SpawnDialog(dialog) == kEndExit) controller_.SetRunBusy(false);
  controller_.CloseMainDialog();
}

}  // namespace ui
