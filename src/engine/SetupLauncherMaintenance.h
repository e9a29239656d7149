#pragma once
// The launcher of maintenance, repair and removal: the installed product's
// cached package when started from Add/Remove Programs, else the package in
// the setup folder; the run kind's properties instead of the command line's.

#include "engine/SetupLauncherBase.h"

class CSetupLauncherMaintenance : public CSetupLauncherBase {
 public:
  using CSetupLauncherBase::CSetupLauncherBase;

  [[nodiscard]] std::wstring GetPackageLocation() override;
  [[nodiscard]] std::wstring GetMainProductLocation() override;
  void ApplyCommandLineProperties() override {}
  // INSTALLDIR; outside the wizard also REINSTALL/REINSTALLMODE or REMOVE.
  void ApplySpecificProperties() override;

 protected:
  // `productCode` is the installed product whose cached package is used when started from Add/Remove Programs.
  [[nodiscard]] std::wstring MaintenanceLocation(const std::wstring& productCode, const std::wstring& location,
                                                 const wchar_t* launcherName);
};
