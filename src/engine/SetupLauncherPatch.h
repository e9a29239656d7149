#pragma once
// The launcher of a patch run: the patch's applicability data names the
// product it targets. When that product is installed in a version the patch
// builds on, its cached package is opened with the patches' transforms for
// the wizard; otherwise the patch is applied directly.

#include <functional>
#include <string>
#include <vector>

#include "engine/SetupLauncherBase.h"

class CSetupLauncherPatch : public CSetupLauncherBase {
 public:
  CSetupLauncherPatch(ISetupConfigData& record, CMSIManager& manager, const SetupStartData& start);

  [[nodiscard]] std::wstring GetMainProductLocation() override { return {}; }
  [[nodiscard]] int OpenPackage(const std::wstring& location) override;
  void ApplyTransforms(const std::wstring& location) override;
  [[nodiscard]] bool OpensPackageUnchanged() override { return false; }
  void ApplyCommandLineProperties() override {}
  // PATCH = every patch path followed by ";"; the target becomes the manager's product code.
  void ApplySpecificProperties() override;
  // The patches of the run are the patch products the product update left
  // to run: before it every product is still skipped, so the list is
  // collected here and its transforms and PATCH applied to the open package.
  void PrepareRun() override;

  [[nodiscard]] const std::wstring& GetTargetProductCode() const { return targetProductCode_; }
  [[nodiscard]] const std::wstring& GetUpdatedVersion() const { return updatedVersion_; }
  [[nodiscard]] const std::vector<std::wstring>& GetPatchList() const { return patches_; }

  // Whether a patch that updates to `updatedVersion` is shown in the wizard on
  // the installed product of `installedVersion`: same major and minor part,
  // and a third part not below the installed one. Otherwise it is applied directly.
  [[nodiscard]] static bool OpensCachedPackage(const std::wstring& updatedVersion,
                                               const std::wstring& installedVersion);

  // Reads a patch's applicability data (XML) into `xml`; the installer's result.
  using PatchXmlReader = std::function<UINT(const std::wstring& patchFile, std::wstring& xml)>;
  // Test seam: Wine's msi.dll aborts the process in MsiExtractPatchXMLDataW
  // (an unimplemented function), so tests give the data themselves. An
  // empty reader restores the installer's; returns the previous one.
  static PatchXmlReader SetPatchXmlReaderForTest(PatchXmlReader reader);

 private:
  void ReadPatchData(const std::wstring& patchFile);
  void CollectPatches();
  void ApplyPatchTransforms();
  void SetPatchProperty();

  std::wstring patchFile_;
  std::wstring targetProductCode_;
  std::wstring updatedVersion_;
  std::vector<std::wstring> patches_;
};
