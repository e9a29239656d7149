#pragma once
// The launcher of a first installation: the bundle's main package from the
// setup folder, with the language transform of the chosen language.

#include "engine/SetupLauncherBase.h"

class CSetupLauncherInstall : public CSetupLauncherBase {
 public:
  using CSetupLauncherBase::CSetupLauncherBase;

  void ApplyTransforms(const std::wstring& location) override { ApplyLanguageTransform(location); }
  [[nodiscard]] bool OpensPackageUnchanged() override { return LanguageTransformFile().empty(); }
};
