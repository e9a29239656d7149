#pragma once
// The application object: start-up builds the configuration record, reads the
// command line, checks that the run may proceed and runs the chosen road to
// its end; shutdown releases everything and returns the exit code.

#include <memory>
#include <string>

#include "config/BSLocalizationConfigData.h"
#include "config/SetupConfigData.h"
#include "config/SilentConfigData.h"
#include "platform/UniqueResource.h"
#include "platform/WinApp.h"
#include "ui/style/MainDialogConfigData.h"
#include "ui/style/StyleConfigData.h"

class CCommandLineParser;
class CParseManager;
class CSetupManager;
namespace ui {
class CSilentIndicatorController;
class CWizardController;
}

class CSetupBootstrapperApp : public platform::CWinAppBase {
 public:
  CSetupBootstrapperApp();
  ~CSetupBootstrapperApp() override;

  int InitInstance() override;
  int ExitInstance() override;

  [[nodiscard]] CSetupConfigData* GetConfigData() const { return configData_.get(); }
  [[nodiscard]] CParseManager* GetParseManager() const { return parseManager_.get(); }
  // Null until start-up has checked the bundle; lives until shutdown.
  [[nodiscard]] CSetupManager* GetSetupManager() const { return setupManager_.get(); }
  [[nodiscard]] IBSLocalizationConfigData* GetBootstrapperTexts() const { return bootstrapperTexts_.get(); }
  [[nodiscard]] CSilentConfigData& GetOrCreateSilentConfig();
  [[nodiscard]] CStyleConfigData& GetOrCreateStyleConfig();
  [[nodiscard]] CMainDialogConfigData& GetOrCreateMainDialogConfig();
  // The wizard's controller; needs the setup manager and the parse manager.
  [[nodiscard]] ui::CWizardController& GetOrCreateWizardController();
  // The silent run's indicator, tray icon and finish windows.
  [[nodiscard]] ui::CSilentIndicatorController& GetOrCreateSilentIndicator();

  void SetExitCode(int exitCode) { exitCode_ = exitCode; }
  [[nodiscard]] int GetExitCode() const { return exitCode_; }
  void SetRestartPending(int pending) { restartPending_ = pending; }
  [[nodiscard]] int IsRestartPending() const { return restartPending_; }
  void SetConditionalRebootAccumulated(int accumulated) { conditionalRebootAccumulated_ = accumulated; }
  [[nodiscard]] int IsConditionalRebootAccumulated() const { return conditionalRebootAccumulated_; }

  // The application object of this process.
  static CSetupBootstrapperApp* GetApp();

  // Name of the mutex that keeps a second setup from running at the same time.
  static const wchar_t kSingleInstanceMutexName[];

 private:
  // Start-up steps; each false result ends the run (the step has told the user).
  [[nodiscard]] bool CheckAdministrator();
  [[nodiscard]] bool CheckSingleInstance(const CCommandLineParser& parser);
  [[nodiscard]] bool CheckWindowsVersion();
  [[nodiscard]] bool CheckPathDepth();
  // Start-up step that builds the setup manager with the hooks into the
  // feature layer and this object.
  void CreateSetupManager(const CCommandLineParser& parser);
  // The two roads to the end of the run; 0 when the road stopped early.
  [[nodiscard]] int RunSilentRoad(CCommandLineParser& parser);
  [[nodiscard]] int RunWizardRoad(CCommandLineParser& parser);
  // The pre-install dialogs of the wizard road; false when the user left them.
  [[nodiscard]] bool RunPreInstallDialogs(CCommandLineParser& parser);
  // Reads the wizard's WiX sources, behind the splash screen on a first installation.
  [[nodiscard]] bool ReadWizardSources(ui::CWizardController& wizard);
  void ShowStartupError(const std::wstring& text);
  // A property of the main package file, read without a session; "" when unreadable.
  [[nodiscard]] std::wstring ReadMainPackageProperty(const std::wstring& name) const;
  void RestartMachine();

  std::unique_ptr<CSetupConfigData> configData_;
  std::unique_ptr<CStyleConfigData> styleConfig_;
  std::unique_ptr<CMainDialogConfigData> mainDialogConfig_;
  std::unique_ptr<CSilentConfigData> silentConfig_;
  std::unique_ptr<CParseManager> parseManager_;
  std::unique_ptr<CSetupManager> setupManager_;
  std::unique_ptr<CBSLocalizationConfigData> bootstrapperTexts_;
  std::unique_ptr<ui::CWizardController> wizardController_;
  std::unique_ptr<ui::CSilentIndicatorController> silentIndicator_;
  int exitCode_ = 0;
  int restartPending_ = 0;
  int conditionalRebootAccumulated_ = 0;
  bool oleInitialized_ = false;
  // The pre-install dialogs read WiX sources of their own into the model.
  bool preInstallDialogsRead_ = false;
};
