#pragma once
// The tests that decide whether a pre-install dialog is needed: running
// processes that block the setup, a restart still pending from an earlier
// run, and a Windows Installer too old for the bundle. The wizard shows a
// dialog for each; the silent run stops or acts on them instead.

#include <string>

class IMSIManager;
class ISetupConfigData;

class CPreInstallChecks {
 public:
  CPreInstallChecks() = delete;

  // True when the dialog's condition holds (an empty one does) and a process
  // of the record's process checks is running. The list looked for goes into
  // the record; the running names go into the RUNNING_PROCESSES property.
  [[nodiscard]] static bool IsCheckProcessDlgToBeShown(ISetupConfigData& record, IMSIManager* msiManager,
                                                       const std::wstring& condition);

  // The names of a ";"-separated list that belong to running processes (any
  // case), each followed by a line feed, in list order.
  [[nodiscard]] static std::wstring GetRunningProcesses(const std::wstring& list);

  // True (and logged) when an earlier run of this bundle left the restart for
  // later: the RunOnce value "RestartFor" + bundle key exists.
  [[nodiscard]] static bool IsRestartDlgToBeShown(const ISetupConfigData& record);

  // True for a first installation when the bundle carries the Windows
  // Installer redistributable and the system's msi.dll is older than 3.1.
  [[nodiscard]] static bool IsPrepareMsgDlgToBeShown(ISetupConfigData& record);
};
