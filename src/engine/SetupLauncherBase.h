#pragma once
// Prepares the main package's session before any product runs: opens the
// package, checks that it fits this processor, sets the bundle's properties,
// applies transforms and runs the package's user-interface sequence once in
// a captured mode so its searches have run and its first dialog is known.
// Derived launchers change where the package comes from and which
// properties are set, per execution type.

#include <windows.h>
#include <msi.h>

#include <string>

#include "engine/PackageOpenAhead.h"
#include "engine/SetupStartData.h"
#include "msi/ISetupLauncher.h"

class CMSIManager;
class IEventDispatcher;
class ISetupConfigData;

class CSetupLauncherBase : public ISetupLauncher {
 public:
  CSetupLauncherBase(ISetupConfigData& record, CMSIManager& manager, const SetupStartData& start);
  ~CSetupLauncherBase() override;
  CSetupLauncherBase(const CSetupLauncherBase&) = delete;
  CSetupLauncherBase& operator=(const CSetupLauncherBase&) = delete;

  [[nodiscard]] int Launch(IEventDispatcher* dispatcher) override;
  [[nodiscard]] std::wstring GetPackageLocation() override;
  [[nodiscard]] std::wstring GetMainProductLocation() override;
  [[nodiscard]] virtual int OpenPackage(const std::wstring& location);
  virtual void ApplyTransforms(const std::wstring& location);
  [[nodiscard]] virtual bool RunInitializer(IEventDispatcher* dispatcher);
  virtual void ApplyCommandLineProperties();
  virtual void ApplySpecificProperties() {}
  virtual void ApplySilentProperties();
  [[nodiscard]] bool OpenPackageWithUILevel(const std::wstring& location, INSTALLUILEVEL level) override;
  void OpenPackageAhead() override;
  void WaitForPackageAhead() override;
  // Whether OpenPackage opens the file as it is, with no transform applied:
  // only then can it be opened ahead.
  [[nodiscard]] virtual bool OpensPackageUnchanged() { return true; }

  // Whether the package at `location` can be installed on this machine's
  // processor: its summary information opens and its platform (the part of
  // the template before ";") is one this machine runs.
  [[nodiscard]] static bool IsPackageForThisProcessor(const std::wstring& location);
  // The same for a package whose database is open already.
  [[nodiscard]] static bool IsDatabaseForThisProcessor(MSIHANDLE database);
  // Why the package file cannot be opened at all (missing, unreachable, a
  // folder, not a Windows Installer database); empty when it can. `opened`,
  // when given, then receives the database opened read-only for the check.
  [[nodiscard]] static std::wstring PackageOpenProblem(const std::wstring& location,
                                                       platform::UniqueMsiHandle* opened = nullptr);
  // A location relative to the setup folder joined to it; an absolute one unchanged.
  [[nodiscard]] static std::wstring JoinToFolder(const std::wstring& folder, const std::wstring& location);

 protected:
  // BOOTSTRAPPER, SETUPBUNDLE, INITIALIZERPASS, LOGFILELOCATION, EXEPATHVALUE,
  // INSTALL_LANGUAGE, BRAND and the manager's product code.
  void ApplyInitializerProperties();
  // The language transform named by the language settings, from the package's folder.
  void ApplyLanguageTransform(const std::wstring& location);
  // The transform file of the run's language; empty for English or when none is configured.
  [[nodiscard]] std::wstring LanguageTransformFile();
  // The error text of a Windows Installer result to the dispatcher (or a message box).
  void ShowErrorCode(UINT code);
  void ShowErrorText(const std::wstring& text, UINT style);
  // The run of the package's user-interface sequence with the first dialog captured.
  [[nodiscard]] bool RunCapturedSequence();
  [[nodiscard]] std::wstring BundleCaption();
  // Takes the dispatcher and the package location for a launch; false (logged) without a location.
  [[nodiscard]] bool BeginLaunch(IEventDispatcher* dispatcher);

  ISetupConfigData& record_;
  CMSIManager& manager_;
  const SetupStartData& start_;
  IEventDispatcher* dispatcher_ = nullptr;
  std::wstring location_;

 private:
  // The summary information of an open database, or else of the file at `location`.
  [[nodiscard]] static bool SummaryFitsThisProcessor(MSIHANDLE database, const std::wstring& location);
  [[nodiscard]] bool HasDialogInUISequence();
  [[nodiscard]] bool RunUISequenceWithoutDialogs();
  // Opens the package at `location_` as OpenPackage does, or takes the
  // handles opened ahead for it; 0 (logged) on failure.
  [[nodiscard]] int OpenOrTakePackage(std::unique_ptr<CPackageOpenAhead::Result> ahead);

  CPackageOpenAhead openAhead_;
};
