#pragma once
// The event dispatcher of a silent run: dialog requests are answered without
// dialogs (errors become message boxes only when SilentConfig.xml asks for
// them), and restarts in the middle of the run are carried out here.

#include <functional>
#include <memory>

#include "msi/IEventDispatcher.h"
#include "ui/silent/SilentModeEventMapper.h"

class ISetupConfigData;
class ISetupManager;
class ISilentConfigData;
class ISilentIndicatorController;

class CSilentModeEventDispatcher final : public IEventDispatcher {
 public:
  // Ends the process with the code; replaceable so a test can stay alive.
  using ProcessExit = std::function<void(unsigned exitCode)>;

  // `indicator` may be null. `noReboot` is the command line's /NOREBOOT.
  CSilentModeEventDispatcher(ISetupConfigData& record, ISetupManager& setupManager,
                             const ISilentConfigData& silentConfig, ISilentIndicatorController* indicator,
                             bool noReboot);

  void OnControlActivated(CWixControl*) override {}
  [[nodiscard]] IMSIManager* GetMSIManager() override;
  [[nodiscard]] int ShowErrorDialog(const std::wstring& text, UINT style) override;
  [[nodiscard]] int ShowFilesInUseDialog(const std::wstring&) override { return 0; }
  int ShowDialog(const std::wstring&) override { return 0; }
  int ShowSourceMessageDialog(const std::wstring&) override { return 0; }
  void EndCurrentDialog() override {}
  void ShowExitDialog(int) override {}
  void NotifyCurrentDialog(const std::wstring&) override {}
  void ExecuteSetup(int) override {}
  void StartSetup(int) override {}
  void SetSourceRetry() override {}
  [[nodiscard]] IEventMapper* GetEventMapper() override { return &mapper_; }
  [[nodiscard]] HWND GetMainWindowHandle() override { return nullptr; }
  void EnableCloseCommand(bool) override {}
  void Cancel() override {}
  void IntermediateReboot() override;
  void RequestParentReboot() override;

  void SetProcessExit(ProcessExit exit) { processExit_ = std::move(exit); }

 private:
  void EndProcess(unsigned exitCode);

  ISetupConfigData& record_;
  ISetupManager& setupManager_;
  const ISilentConfigData& silentConfig_;
  ISilentIndicatorController* indicator_;
  bool noReboot_;
  CSilentModeEventMapper mapper_;
  ProcessExit processExit_;
};
