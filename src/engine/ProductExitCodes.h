#pragma once
// Product exit codes with a meaning of their own.

#include <windows.h>

#include "config/CommonUtilityBase.h"

constexpr DWORD kExitSuccess = 0;
constexpr DWORD kExitProgressThreadFailed = 6;  // ERROR_INVALID_HANDLE
constexpr DWORD kExitNotStarted = 87;           // ERROR_INVALID_PARAMETER
constexpr DWORD kExitTimedOut = 258;            // WAIT_TIMEOUT
constexpr DWORD kExitUserExit = 1602;           // ERROR_INSTALL_USEREXIT
constexpr DWORD kExitInstallerBusy = 1618;      // ERROR_INSTALL_ALREADY_RUNNING
constexpr DWORD kExitRebootRequired = 3010;     // ERROR_SUCCESS_REBOOT_REQUIRED
constexpr DWORD kExitStillActive = 259;         // STILL_ACTIVE

// Run results, also the process exit code.
constexpr int kRunSuccess = 0;
constexpr int kRunCancelled = 1;
constexpr int kRunFailedStopped = 2;
constexpr int kRunFailedContinued = 3;
constexpr int kRunRestartNeeded = 4;

