#pragma once
// Bringing an old Windows Installer up to 3.1 from the redistributable the
// bundle carries, reading file versions, and the progress titles the
// billboard shows for a run.

#include <windows.h>

#include <string>

class ISetupConfigData;

// Runs the configured redistributable ("WindowsInstaller" in SetupConfig.xml)
// hidden and waits at most `waitMs` for it; the Windows Installer library is
// unloaded meanwhile and loaded again afterwards. 1 when it ran and did not
// report an installer error (1601..1640); 0 otherwise or when no
// redistributable is configured. Called on the user interface's worker thread.
[[nodiscard]] int InstallWindowsInstaller(ISetupConfigData& record, DWORD waitMs = 240000);

// The major and minor parts of a file's version (high and low words of the
// most significant version number); both stay unchanged without a version.
void GetFileVersion(const std::wstring& path, WORD& major, WORD& minor);

// Progress titles, from the record's WiX string table; empty when no text
// applies to the run.
[[nodiscard]] std::wstring GetRunTitleText(ISetupConfigData& record, bool finished);
[[nodiscard]] std::wstring GetRollbackTitleText(ISetupConfigData& record, bool finished);
[[nodiscard]] std::wstring GetRollbackProgressTitleText(ISetupConfigData& record);
[[nodiscard]] std::wstring GetGroupProgressTitleText(ISetupConfigData& record, int groupKind);
