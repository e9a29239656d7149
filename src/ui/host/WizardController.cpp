#include "ui/host/WizardController.h"

#include <algorithm>

#include "config/ISetupConfigData.h"
#include "engine/ISetupManager.h"
#include "log/Log.h"
#include "platform/MessageBox.h"
#include "platform/StringUtil.h"
#include "ui/events/EventDispatcher.h"
#include "ui/events/EventMapper.h"
#include "ui/host/DialogFactory.h"
#include "ui/host/MainDialog.h"
#include "ui/host/MSIDialog.h"
#include "wix/IWixDataManager.h"
#include "wix/WixDialog.h"

namespace ui {

namespace {

constexpr wchar_t kHostClassName[] = L"SetupBootstrapperHost";

// Exit pages by run result: the bootstrapper's own names first, then those of
// the standard WiX dialog sets; the first the sources have wins. A run that
// went on past a failed product has installed the rest, so without a page of
// its own it ends on the finish page (the log names what failed), never on
// a failure page that says the system was not modified.
const std::vector<const wchar_t*>& ExitPageCandidates(int status) {
  static const std::vector<const wchar_t*> kUserExit = {L"UserExitDlg", L"UserExit"};
  static const std::vector<const wchar_t*> kFatal = {L"FatalErrorDlg", L"FatalError"};
  static const std::vector<const wchar_t*> kFailed = {L"ExitFailedDlg", L"ExitDlg", L"ExitDialog"};
  static const std::vector<const wchar_t*> kDone = {L"ExitDlg", L"ExitDialog"};
  switch (status) {
    case 1:
    case 4: return kUserExit;
    case 2: return kFatal;
    case 3: return kFailed;
    default: return kDone;
  }
}

bool RegisterHostClass() {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kHostClassName, &windowClass)) return true;
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kHostClassName;
  return ::RegisterClassExW(&windowClass) != 0;
}

}  // namespace

CWizardController::CWizardController(ISetupConfigData& record, IStyleConfigData& style,
                                     IMaindialogConfigData& mainConfig, IWixDataManager& wix,
                                     ISetupManager& setupManager)
    : record_(record), style_(style), mainConfig_(mainConfig), wix_(wix), setupManager_(setupManager) {
  dispatcher_ = std::make_unique<CEventDispatcher>(*this, setupManager, record);
}

CWizardController::~CWizardController() {
  // Pages still alive go with their frame's window; the frame goes first.
  mainDialog_.reset();
}

DialogServices CWizardController::Services() {
  DialogServices services;
  services.controller = this;
  services.dispatcher = dispatcher_.get();
  services.record = &record_;
  services.style = &style_;
  services.mainConfig = &mainConfig_;
  services.wix = &wix_;
  return services;
}

bool CWizardController::Initialize() {
  HWND window = nullptr;
  if (RegisterHostClass()) {
    window = ::CreateWindowExW(0, kHostClassName, L"", WS_POPUP | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
  if (window == nullptr) {
    LogDebug(L"Failed to create the invisible window");
    LogError(L"Not able to create the window. Exiting the application");
    return false;
  }
  invisible_.Reset(window);
  if (HICON icon = record_.GetSetupIcon()) {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  return true;
}

INT_PTR CWizardController::RunMainDialog() {
  mainDialog_ = std::make_unique<CMainDialog>(*this, Services());
  return mainDialog_->DoModal(invisible_.Get());
}

bool CWizardController::HasDialog(const std::wstring& name) const { return wix_.GetDialog(name) != nullptr; }

int CWizardController::ShowDialog(const std::wstring& name) {
  return RunDialog(name, kShowInFrame, nullptr, DialogMessage{});
}

bool CWizardController::ShowPreInstallDialog(const std::wstring& name, HWND parent) {
  return RunDialog(name, kShowPreInstall, parent, DialogMessage{}) != kEndExit;
}

int CWizardController::SpawnDialog(const std::wstring& name) {
  return RunDialog(name, kShowSpawned, nullptr, DialogMessage{});
}

int CWizardController::SpawnDialog(const std::wstring& name, const std::wstring& text) {
  return RunDialog(name, kShowSpawned, nullptr, DialogMessage{text, MB_RETRYCANCEL, {}});
}

int CWizardController::SpawnDialog(const std::wstring& name, const std::wstring& text, UINT style) {
  return RunDialog(name, kShowSpawned, nullptr, DialogMessage{text, style, {}});
}

int CWizardController::RunDialog(const std::wstring& name, int mode, HWND parent, const DialogMessage& message) {
  showMode_ = mode;
  if (!HasDialog(name)) {
    LogError(L"The dialog %s could not be found in the dialog list", name.c_str());
    if (!message.text.empty()) {
      // A question of the installation must still reach the user.
      HWND owner = mainDialog_ != nullptr ? mainDialog_->GetHwnd() : parent;
      return platform::ShowMessageBox(owner, message.text, mainDialog_ != nullptr ? mainDialog_->GetTitle() : L"Setup",
                                      message.style == 0 ? MB_OK : message.style);
    }
    return -1;
  }
  if (mode == kShowInFrame) {
    if (mainDialog_ == nullptr || mainDialog_->GetHwnd() == nullptr) return -1;
    parent = mainDialog_->GetHwnd();
  } else if (mode == kShowSpawned) {
    parent = current_ != nullptr && current_->GetHwnd() != nullptr ? current_->GetHwnd()
             : mainDialog_ != nullptr && mainDialog_->GetHwnd() != nullptr ? mainDialog_->GetHwnd()
                                                                            : invisible_.Get();
  }
  DialogMessage request = message;
  request.onRestart = onRestart_;
  std::unique_ptr<CDynamicDialog> dialog = CreateWizardDialog(name, Services(), mode, request);
  if (dialog == nullptr) {
    LogError(L"The dialog %s could not be created.", name.c_str());
    return -1;
  }
  wix_.SetCurrentDialogName(name);
  if (mode == kShowInFrame) {
    // Only one page lives in the frame.
    if (current_ != nullptr && current_->GetMode() == kShowInFrame) current_->OnEndDialogEvent(IDCANCEL);
    auto* page = dynamic_cast<CMSIDialog*>(dialog.get());
    if (page == nullptr) return -1;
    live_.push_back(page);
    current_ = page;
    if (page->Run(parent) != 1 || page->GetHwnd() == nullptr) {
      OnDialogDestroyed(page);
      return 0;  // no window: the object is still ours
    }
    page->HandOverToWindow();
    (void)dialog.release();
    if (mapper_ != nullptr) mapper_->AttachDialog(page->GetHwnd());
    ::ShowWindow(page->GetHwnd(), SW_SHOW);
    return 1;
  }
  CDynamicDialog* previous = current_;
  live_.push_back(dialog.get());
  current_ = dialog.get();
  const INT_PTR result = dialog->Run(parent);
  OnDialogDestroyed(dialog.get());
  dialog.reset();
  current_ = std::find(live_.begin(), live_.end(), previous) != live_.end() ? previous : nullptr;
  if (mapper_ != nullptr) {
    if (current_ != nullptr && current_->GetHwnd() != nullptr) {
      mapper_->AttachDialog(current_->GetHwnd());
    } else {
      mapper_->SetRegistry(nullptr);
    }
  }
  // "Restart now" ends the restart question with Exit too; it is no user exit.
  // Exit on the files-in-use question cancels only the product that asked.
  const KnownDialog kind = ClassifyDialogName(name);
  if (mode == kShowSpawned && result == kEndExit && kind != KnownDialog::kRestart && kind != KnownDialog::kFilesInUse) {
    if (runBusy_) {
      setupManager_.Cancel();
      if (mapper_ != nullptr) mapper_->EnableCancel(false);
    } else {
      EndCurrentDialogWith(kEndExit);
      ShowExitDialog(1);
    }
  }
  return static_cast<int>(result);
}

int CWizardController::EndValueFromText(const std::wstring& valueText) {
  struct Entry {
    const wchar_t* text;
    int value;
  };
  static const Entry kValues[] = {{L"Exit", kEndExit},    {L"Return", kEndReturn}, {L"ErrorYes", IDYES},
                                  {L"ErrorNo", IDNO},     {L"ErrorOk", IDOK},      {L"ErrorAbort", IDABORT},
                                  {L"ErrorRetry", IDRETRY}, {L"Retry", IDRETRY},   {L"ErrorCancel", IDCANCEL},
                                  {L"ErrorIgnore", IDIGNORE}, {L"Ignore", IDIGNORE}};
  for (const Entry& entry : kValues) {
    if (valueText == entry.text) return entry.value;
  }
  return IDCANCEL;
}

void CWizardController::EndCurrentDialog(const std::wstring& valueText) { EndCurrentDialogWith(EndValueFromText(valueText)); }

void CWizardController::EndCurrentDialogWith(int value) {
  if (current_ != nullptr && current_->GetHwnd() != nullptr) current_->OnEndDialogEvent(value);
}

std::wstring CWizardController::ExitDialogName(int status) const {
  for (const wchar_t* name : ExitPageCandidates(status)) {
    if (HasDialog(name)) return name;
  }
  return std::wstring();
}

void CWizardController::ShowExitDialog(int status) {
  exitStatus_ = status;
  const std::wstring name = ExitDialogName(status);
  if (name.empty() || ShowDialog(name) != 1) {
    if (name.empty()) LogError(L"The dialog %s could not be found in the dialog list", ExitPageCandidates(status).front());
    // Without an exit page there is nothing left to show: the wizard ends.
    CloseMainDialog();
  }
}

bool CWizardController::IsOnExitDialog() const {
  if (current_ == nullptr) return false;
  static const wchar_t* const kNames[] = {L"UserExitDlg", L"FatalErrorDlg", L"ExitFailedDlg", L"ExitDlg",
                                          L"UserExit",    L"FatalError",    L"ExitDialog"};
  const std::wstring& id = current_->GetWixDialog().GetId();
  for (const wchar_t* name : kNames) {
    if (platform::EqualsNoCase(id, name)) return true;
  }
  return false;
}

void CWizardController::Cancel() {
  if (mainDialog_ == nullptr || mainDialog_->GetHwnd() == nullptr) return;
  if (IsOnExitDialog()) {
    if (exitStatus_ == 1) LogInformation(L"The user has canceled the Setup!");
    if (exitStatus_ == 0 && setupManager_.IsRebootRequired()) (void)SpawnDialog(L"Restart_Main_Dlg");
    CloseMainDialog();
    return;
  }
  if (askingCancel_) return;
  askingCancel_ = true;
  (void)SpawnDialog(L"CancelDlg");
  askingCancel_ = false;
}

void CWizardController::CloseMainDialog() {
  if (runBusy_ || mainDialog_ == nullptr) return;
  // The frame's result tells the application whether the wizard ended after a
  // successful run or without one (cancelled, failed, never started).
  mainDialog_->EndModal(exitStatus_ == 0 ? IDOK : IDCANCEL);
}

UINT CWizardController::EnableCloseCommand(bool enable) {
  const UINT flags = enable ? MF_ENABLED : (MF_GRAYED | MF_DISABLED);
  if (mainDialog_ != nullptr && mainDialog_->GetHwnd() != nullptr) {
    if (HMENU menu = ::GetSystemMenu(mainDialog_->GetHwnd(), FALSE)) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | flags);
  }
  return flags;
}

bool CWizardController::PrepareForExecution() {
  if (mainDialog_ == nullptr || mainDialog_->GetHwnd() == nullptr) return false;
  EndCurrentDialogWith(IDCANCEL);
  return mainDialog_->CreateProgressArea();
}

void CWizardController::OnDialogDestroyed(CDynamicDialog* dialog) {
  live_.erase(std::remove(live_.begin(), live_.end(), dialog), live_.end());
  if (current_ == dialog) current_ = nullptr;
}

bool CWizardController::LaunchFirstPage() {
  const int launched = setupManager_.LaunchInitializer(dispatcher_.get());
  // A resumed run goes straight to the installation, which is on its way.
  if (current_ != nullptr || dispatcher_->IsStartPending()) return true;
  LogError(launched != 0 ? L"The wizard has no page to show; Setup ends."
                         : L"The main package could not be prepared for the wizard; Setup ends.");
  if (onFailure_) onFailure_(3);
  // The failure page when the sources have one, else the frame closes.
  const std::wstring fatal = ExitDialogName(2);
  if (!fatal.empty()) {
    exitStatus_ = 2;
    if (ShowDialog(fatal) == 1) return false;
  }
  CloseMainDialog();
  return false;
}

}  // namespace ui
