#pragma once
// The launcher of a run resumed after an intermediate restart: the package is
// opened as for an installation, the archived state of the run is restored
// and the execution starts at once, without an initializer pass.

#include <functional>

#include "engine/SetupLauncherInstall.h"

class CSetupLauncherReboot : public CSetupLauncherInstall {
 public:
  // Restores the archived run state into the record and the MSI manager;
  // true when restored. The reboot manager's archive supplies it.
  using Restorer = std::function<bool(ISetupConfigData& record, CMSIManager& manager)>;

  CSetupLauncherReboot(ISetupConfigData& record, CMSIManager& manager, const SetupStartData& start,
                       Restorer restorer);

  [[nodiscard]] int Launch(IEventDispatcher* dispatcher) override;
  void ApplySpecificProperties() override;

 private:
  Restorer restorer_;
};
