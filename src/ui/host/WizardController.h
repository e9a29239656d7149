#pragma once
// The flow of the wizard's dialogs: which dialog is current, how a dialog is
// shown (before the frame, as a page inside the frame, or spawned over the
// current one), how it ends, the exit pages and cancelling.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/UniqueResource.h"

class IMaindialogConfigData;
class ISetupConfigData;
class ISetupManager;
class IStyleConfigData;
class IWixDataManager;

namespace ui {

class CDynamicDialog;
class CEventDispatcher;
class CEventMapper;
class CMainDialog;
struct DialogMessage;
struct DialogServices;

// How the next dialog is shown.
enum DialogShowMode : int {
  kShowPreInstall = 0,  // a pop-up of its own before the frame exists
  kShowInFrame = 1,     // a page inside the main frame
  kShowSpawned = 2,     // a modal pop-up over the current dialog
};

// Dialog end values beyond the Windows dialog results.
constexpr int kEndReturn = 14;
constexpr int kEndExit = 15;

class CWizardController {
 public:
  CWizardController(ISetupConfigData& record, IStyleConfigData& style, IMaindialogConfigData& mainConfig,
                    IWixDataManager& wix, ISetupManager& setupManager);
  ~CWizardController();
  CWizardController(const CWizardController&) = delete;
  CWizardController& operator=(const CWizardController&) = delete;

  // The invisible top-level window that owns the frame; false (logged) when
  // Windows refuses it.
  [[nodiscard]] bool Initialize();
  // Runs the main frame to its end; its modal result (3 without a product name).
  [[nodiscard]] INT_PTR RunMainDialog();

  [[nodiscard]] bool HasDialog(const std::wstring& name) const;
  int ShowDialog(const std::wstring& name);
  // Mode 0 before the frame exists; true unless the dialog ended with Exit.
  bool ShowPreInstallDialog(const std::wstring& name, HWND parent);
  int SpawnDialog(const std::wstring& name);
  // The error, files-in-use and message dialogs with their text (and style).
  int SpawnDialog(const std::wstring& name, const std::wstring& text);
  int SpawnDialog(const std::wstring& name, const std::wstring& text, UINT style);

  // The value text of an EndDialog event as a dialog end value.
  [[nodiscard]] static int EndValueFromText(const std::wstring& valueText);
  void EndCurrentDialog(const std::wstring& valueText);
  void EndCurrentDialogWith(int value);
  void ShowExitDialog(int status);
  [[nodiscard]] bool IsOnExitDialog() const;
  // The exit page the WiX sources name for a run result ("" when they have none).
  [[nodiscard]] std::wstring ExitDialogName(int status) const;
  void Cancel();
  void CloseMainDialog();
  // The Close item of the frame's system menu; returns the menu flags applied.
  UINT EnableCloseCommand(bool enable);
  [[nodiscard]] bool PrepareForExecution();

  [[nodiscard]] CDynamicDialog* GetCurrentDialog() const { return current_; }
  [[nodiscard]] CMainDialog* GetMainDialog() const { return mainDialog_.get(); }
  [[nodiscard]] CEventDispatcher& GetDispatcher() const { return *dispatcher_; }
  [[nodiscard]] HWND GetInvisibleWindow() const { return invisible_.Get(); }
  void SetRunBusy(bool busy) { runBusy_ = busy; }
  [[nodiscard]] bool IsRunBusy() const { return runBusy_; }
  [[nodiscard]] int GetExitStatus() const { return exitStatus_; }
  void SetEventMapper(CEventMapper* mapper) { mapper_ = mapper; }
  [[nodiscard]] IWixDataManager* GetWixDataManager() const { return &wix_; }
  // Receives the exit code when the wizard cannot show its first page.
  void SetFailureHandler(std::function<void(int exitCode)> onFailure) { onFailure_ = std::move(onFailure); }
  // A run that could not start or ended in failure: the process exit code.
  void ReportFailure(int exitCode) {
    if (onFailure_) onFailure_(exitCode);
  }
  // Called when the user chooses to restart the machine now.
  void SetRestartHandler(std::function<void()> onRestart) { onRestart_ = std::move(onRestart); }

  // A page tells the controller that its window is gone.
  void OnDialogDestroyed(CDynamicDialog* dialog);
  // The frame asks for the first page once it has painted; false when the
  // wizard could not show one (the frame is then closed).
  bool LaunchFirstPage();

 private:
  int RunDialog(const std::wstring& name, int mode, HWND parent, const DialogMessage& message);
  [[nodiscard]] DialogServices Services();

  struct WindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept {
      if (::IsWindow(h)) ::DestroyWindow(h);
    }
  };

  ISetupConfigData& record_;
  IStyleConfigData& style_;
  IMaindialogConfigData& mainConfig_;
  IWixDataManager& wix_;
  ISetupManager& setupManager_;
  std::unique_ptr<CEventDispatcher> dispatcher_;
  CDynamicDialog* current_ = nullptr;
  std::unique_ptr<CMainDialog> mainDialog_;
  int showMode_ = kShowSpawned;
  bool runBusy_ = false;
  // Set while the cancel question is open: a second close request (Cancel
  // again, Alt+F4, the title bar) must not stack a second question on it.
  bool askingCancel_ = false;
  int exitStatus_ = 1;
  CEventMapper* mapper_ = nullptr;
  // Dialogs whose windows exist, so a pop-up never hands control back to a gone page.
  std::vector<CDynamicDialog*> live_;
  std::function<void(int)> onFailure_;
  std::function<void()> onRestart_;
  platform::UniqueResource<WindowTraits> invisible_;
};

}  // namespace ui
