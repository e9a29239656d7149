#pragma once
// The run's utility operations: the path rule and error texts (from the base)
// and, on top, the restart and removal helpers: the resume data file, the
// reboot batch file and its RunOnce command, the restart-pending marker, the
// self-deleting batch that removes the maintenance copy, and the machine
// restart through the system's shutdown.exe.

#include <string>

#include "config/CommonUtilityBase.h"

class CRebootManager;
class IMSIManager;
class ISetupConfigData;

class CCommonUtility : public CCommonUtilityBase {
 public:
  CCommonUtility() = delete;

  // Value name prefix of the restart-pending marker under the RunOnce key.
  static constexpr wchar_t kRestartPendingPrefix[] = L"RestartFor";

  // The resume data file: the log folder (or the common application data
  // folder + "\Halvorsk") + "\_BootstrapperRestore_" + bundle key + ".dat".
  // Empty, logged, when the bundle key is empty: bundles must never share a file.
  [[nodiscard]] static std::wstring GetResumeDataFilePath(const ISetupConfigData& record);
  // "_BootstrapperReboot.bat" beside the resume data file; empty when that is.
  [[nodiscard]] static std::wstring GetRebootBatchFilePath(const ISetupConfigData& record);

  // Saves the record's properties and feature selection (through the reboot
  // manager), the product results and the non-feature selections to the
  // resume data file. False (logged) when there is nothing to save or the
  // file cannot be written.
  [[nodiscard]] static bool ArchiveRebootData(const ISetupConfigData& record, CRebootManager& rebootManager);

  // Reads the resume data file back (and deletes it): the reboot manager and
  // the non-feature selections take its content only when the whole file was
  // read; then the properties go into the MSI manager and the selected
  // features into the record. False (logged) on any failure.
  [[nodiscard]] static bool RestoreRebootData(ISetupConfigData& record, IMSIManager* msiManager,
                                              CRebootManager* rebootManager);

  // Writes the reboot batch file, which starts the setup program of the
  // source folder with the resume arguments and deletes itself; returns the
  // command for the RunOnce key, empty (logged) when the setup program is
  // missing or the file cannot be written. `noReboot` is the command line's
  // /NOREBOOT and counts only in silent runs.
  [[nodiscard]] static std::wstring CreateRebootBatchFile(ISetupConfigData& record, bool silent, bool noReboot);

  // The file steps of an intermediate restart, shared by the wizard and the
  // silent road: archive the run, write the batch file and store its command
  // as "BS_Reboot" under the RunOnce key. False when the value was not stored.
  [[nodiscard]] static bool PrepareIntermediateReboot(ISetupConfigData& record, CRebootManager& rebootManager,
                                                      bool silent, bool noReboot);

  // The "RestartFor" + bundle key value (REG_EXPAND_SZ, empty) under the
  // RunOnce key: the user chose to restart later.
  [[nodiscard]] static bool WriteRestartPendingMarker(const ISetupConfigData& record);

  // Writes the removal batch (system code page) to the temporary folder and
  // starts it hidden: it waits until the maintenance executable can be
  // deleted, removes its folder and every ancestor that is left empty,
  // restarts the machine when asked, and deletes itself. False (logged) when
  // the executable is missing, its folder is not safe to remove, or the batch
  // cannot be written or started.
  [[nodiscard]] static bool RemoveMaintenanceExeFolder(const std::wstring& executablePath,
                                                       const std::wstring& codePage, bool restart);
  // The full path of the maintenance copy (`maintenanceExePath` under the
  // installed location) when its folder lies strictly inside that location:
  // a relative path without ".." and without a drive, device or share, and
  // not the installed location itself (whose folder the removal would wipe
  // with everything in it). Empty, with an ERROR line saying why, otherwise.
  [[nodiscard]] static std::wstring MaintenanceExeInside(const std::wstring& installedLocation,
                                                         const std::wstring& maintenanceExePath);
  // The removal batch text; empty when the executable's folder is not a
  // folder below a drive's or share's top folder.
  [[nodiscard]] static std::wstring BuildRemovalBatchText(const std::wstring& executablePath,
                                                         const std::wstring& codePage, bool restart,
                                                         const std::wstring& batchPath);

  // Starts the system's shutdown.exe (by its full path) hidden with "-r -t 0".
  [[nodiscard]] static bool StartMachineRestart();
};
