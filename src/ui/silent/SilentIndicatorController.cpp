#include "ui/silent/SilentIndicatorController.h"

#include <algorithm>
#include <vector>

#include "config/ExecutionType.h"
#include "config/IIconList.h"
#include "config/IProductGroupList.h"
#include "config/ISetupConfigData.h"
#include "config/ISilentConfigData.h"
#include "config/IWixLocalizationList.h"
#include "log/ILogFileDetails.h"
#include "log/Log.h"
#include "platform/Path.h"
#include "platform/StringUtil.h"
#include "ui/silent/SilentWindows.h"

namespace ui {

namespace {
constexpr int kTrayIconSize = 16;
}  // namespace

CSilentIndicatorController::CSilentIndicatorController(const ISilentConfigData& silentConfig, ISetupConfigData& record)
    : silentConfig_(silentConfig), record_(record) {}

CSilentIndicatorController::~CSilentIndicatorController() {
  // The icon must not outlive the process in the notification area.
  RemoveTrayIcon();
  if (indicator_) indicator_->Destroy();
}

bool CSilentIndicatorController::IsShown() const { return silentConfig_.IsShowIndicator(); }

std::wstring CSilentIndicatorController::ProductName() const {
  const std::wstring name = record_.GetProductName();
  return name.empty() ? L"Product" : name;
}

std::wstring CSilentIndicatorController::Text(const wchar_t* id, const wchar_t* builtIn) const {
  IWixLocalizationList* strings = record_.GetWixLocalizationList();
  std::wstring text = id != nullptr && strings != nullptr && strings->HasLocalization(id) ? strings->GetLocalizedText(id)
                                                                                           : std::wstring(builtIn);
  platform::ReplaceAll(text, L"[1]", ProductName());
  return text;
}

std::wstring CSilentIndicatorController::ProgressText(int percent) const {
  std::wstring text;
  switch (record_.GetExecutionType()) {
    case SETUPEXECTYPE_REPAIR: text = Text(L"ProductRepairingProgress", L"[1] repairing [2]% completed"); break;
    case SETUPEXECTYPE_REMOVE:
      text = rollingBack_ ? Text(L"ProductRollingbackProgress", L"[1] rolling back [2]% completed")
                          : Text(L"ProductRemovingProgress", L"[1] removing [2]% completed");
      break;
    default: text = Text(L"ProductInstallingProgress", L"[1] installing [2]% completed"); break;
  }
  platform::ReplaceAll(text, L"[2]", std::to_wstring(percent));
  return text;
}

std::wstring CSilentIndicatorController::ResultText(bool success) const {
  switch (record_.GetExecutionType()) {
    case SETUPEXECTYPE_INSTALLATION:
    case SETUPEXECTYPE_PATCH:
    case SETUPEXECTYPE_MINORUPGRADE:
      return success ? Text(L"ProductInstalledSuccessfully", L"[1] installed successfully")
                     : Text(L"ProductInstallationFailed", L"[1] installation failed");
    case SETUPEXECTYPE_REPAIR:
      return success ? Text(L"ProductRepairedSuccessfully", L"[1] repaired successfully")
                     : Text(L"ProductRepairFailed", L"[1] repair failed");
    case SETUPEXECTYPE_REMOVE:
      return success ? Text(L"ProductRemovedSuccessfully", L"[1] removed successfully")
                     : Text(L"ProductRemoveFailed", L"[1] remove failed");
    default:
      return success ? Text(nullptr, L"[1] executed successfully")
                     : Text(L"ProductExecutionFailed", L"[1] execution failed");
  }
}

std::wstring CSilentIndicatorController::LogPath() const {
  const ILogFileDetails* details = record_.GetLogFileDetails();
  if (details == nullptr) return std::wstring();
  const std::wstring folder = details->GetFolder();
  const std::wstring file = details->GetFileName();
  return !folder.empty() && !file.empty() ? platform::JoinPath(folder, file) : details->GetName();
}

void CSilentIndicatorController::Start() {
  if (!IsShown() || started_) return;
  started_ = true;
  std::vector<HICON> frames;
  HICON failed = nullptr;
  if (IIconList* icons = record_.GetIconList()) {
    for (const wchar_t* name : {L"TrayIcon1", L"TrayIcon2", L"TrayIcon3", L"TrayIcon4"}) {
      if (icons->GetIconPath(name).empty()) continue;
      if (HICON icon = icons->GetIcon(name, kTrayIconSize)) frames.push_back(icon);
    }
    if (!icons->GetIconPath(L"TrayIconFailed").empty()) failed = icons->GetIcon(L"TrayIconFailed", kTrayIconSize);
  }
  tray_ = std::make_unique<CSystemTrayIconDlg>();
  (void)tray_->Create(std::move(frames), failed);
  indicator_ = std::make_unique<CSilentIndicatorDlg>();
  HICON icon = record_.GetSetupIcon();
  (void)indicator_->Create(ProductName() + L" Setup", icon != nullptr ? icon : ::LoadIconW(nullptr, IDI_INFORMATION));
  if (!record_.IsRestoreMode()) ShowProgress(1);
}

void CSilentIndicatorController::OnProductFinished() {
  if (!IsShown()) return;
  if (step_ == 0) {
    IProductGroupList* groups = record_.GetProductGroupList();
    if (groups == nullptr) {
      LogWarning(L"Unable to get the product group list. SilentIndicator class failed to update the progress percentage");
      return;
    }
    const int count = groups->GetProductsToExecuteCount();
    step_ = count < 1 ? 100 : 100 / count;
  }
  position_ = std::min(100, position_ + step_);
  ShowProgress(position_);
}

void CSilentIndicatorController::OnRollbackStarted() { rollingBack_ = true; }

void CSilentIndicatorController::ShowProgress(int percent) {
  if (!IsShown()) return;
  const std::wstring text = ProgressText(percent);
  LogDebug(L"Silent indicator: %s", text.c_str());
  if (indicator_) indicator_->SetMessage(text);
  if (tray_) tray_->SetTip(text);
}

int CSilentIndicatorController::Finish(int state) {
  if (!IsShown()) return 1;
  FinishTexts texts;
  texts.title = ProductName() + L" Setup";
  texts.restartNow = Text(L"KV_RestartNow", L"Restart &now");
  texts.restartLater = Text(L"KV_RestartLater", L"Restart &later");
  std::unique_ptr<CSIFinishDlg> window;
  switch (state) {
    case kFinishSuccess:
      texts.message = ResultText(true);
      window = std::make_unique<CSIFinishSuccessDlg>(texts);
      break;
    case kFinishRestartNeeded:
      texts.message = ResultText(true) + L"\n" +
                      Text(L"ProductFinalRestart", L"Restart the computer to complete the setup of [1].");
      window = std::make_unique<CSIFinishSuccessWithRestartDlg>(texts);
      break;
    case kFinishFailed:
      texts.message = Text(L"FailedInstallation", ResultText(false).c_str());
      texts.logHeading = Text(L"LogPathHeading", L"The setup log is:");
      texts.logPath = LogPath();
      window = std::make_unique<CSIFinishFailureDlg>(texts);
      if (tray_) tray_->ShowFailed();
      break;
    case kFinishIntermediateRestart:
      texts.message = Text(L"ProductReboot", L"The setup of [1] continues after a restart of the computer.");
      window = std::make_unique<CSIIntermediateRestartDlg>(texts);
      break;
    default: break;
  }
  INT_PTR end = 2;  // no window: neither restart now nor later
  if (window != nullptr) {
    end = window->DoModal();
    if (end == -1) {
      LogWarning(L"The silent finish window could not be shown.");
      end = 2;
    }
  }
  window.reset();
  if (indicator_) indicator_->Destroy();
  RemoveTrayIcon();
  return end == 1 ? 1 : 0;
}

void CSilentIndicatorController::RemoveTrayIcon() {
  if (tray_) tray_->Remove();
}

}  // namespace ui
