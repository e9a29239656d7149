#pragma once
// The silent road ("/si", "/sx", "/sf"): the checks the wizard would have
// asked about, the main package's initializer, the product selection and the
// execution through the setup manager, and the decision about the final
// restart, with the silent event dispatcher and mapper in place of the
// wizard's.

#include <functional>
#include <memory>
#include <string>

#include "ui/silent/SilentModeEventDispatcher.h"

class ISetupConfigData;
class ISetupManager;
class ISilentConfigData;
class ISilentIndicatorController;
class IWixDataManager;

class CSilentModeFlow {
 public:
  // What the run takes from the command line and gives back to the
  // application object (which the user-interface layer cannot reach).
  struct Options {
    // /NOREBOOT.
    bool noReboot = false;
    // The command-line property SKIPADDONPRODUCTS: add-on products to leave out.
    std::wstring skipAddOnProducts;
    // Deletes the resume value of a resumed run; may be empty.
    std::function<void()> deleteResumeOptions;
    // Sets the application's restart-pending flag (shutdown restarts); may be empty.
    std::function<void(int)> setRestartPending;
  };

  // `indicator` and `wixModel` may be null.
  CSilentModeFlow(ISetupConfigData& record, ISetupManager& setupManager, const ISilentConfigData& silentConfig,
                  ISilentIndicatorController* indicator, IWixDataManager* wixModel, Options options);
  ~CSilentModeFlow();
  CSilentModeFlow(const CSilentModeFlow&) = delete;
  CSilentModeFlow& operator=(const CSilentModeFlow&) = delete;

  // False when the run stopped before or after a failed execution.
  [[nodiscard]] bool Run();

  [[nodiscard]] CSilentModeEventDispatcher& GetDispatcher() { return *dispatcher_; }

 private:
  // Logs the error, shows the failed finish and ends the run.
  [[nodiscard]] bool Stop(const std::wstring& error);
  [[nodiscard]] int Finish(int state);
  [[nodiscard]] bool IsProcessCheckFailing();

  ISetupConfigData& record_;
  ISetupManager& setupManager_;
  ISilentIndicatorController* indicator_;
  IWixDataManager* wixModel_;
  Options options_;
  std::unique_ptr<CSilentModeEventDispatcher> dispatcher_;
};
