#pragma once
// The launcher of a minor upgrade: the installed product is re-cached from
// the new package, then its cached copy is opened and costed for the wizard.

#include "engine/SetupLauncherMaintenance.h"

class CSetupLauncherMinorUpgrade : public CSetupLauncherMaintenance {
 public:
  using CSetupLauncherMaintenance::CSetupLauncherMaintenance;

  void ApplyCommandLineProperties() override { CSetupLauncherBase::ApplyCommandLineProperties(); }
  void ApplySpecificProperties() override {}
  [[nodiscard]] bool RunInitializer(IEventDispatcher* dispatcher) override;
};
