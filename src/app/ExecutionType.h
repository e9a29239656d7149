#pragma once
// The kind of run, worked out from what Windows Installer knows about the
// bundle's WiX-source product and, in silent runs, checked against the kind
// the command line asked for.

#include <functional>
#include <string>

#include <windows.h>

#include "config/ExecutionType.h"

class CCommandLineParser;
class ISetupConfigData;


// "SETUPEXECTYPE_INSTALLATION" ... for the log; empty for values without a name.
[[nodiscard]] std::wstring GetExecutionTypeName(int type);

// The product code of the WiX-source product (from its uninstall command);
// empty without a WiX-source product.
[[nodiscard]] std::wstring GetWixSourceProductCode(ISetupConfigData& record);

// What the machine says: patch for an MSP WiX-source product, installation
// when Windows Installer does not know the product, minor upgrade when it was
// installed from another package, maintenance otherwise. Loads msi.dll first.
[[nodiscard]] int IdentifySystemExecutionType(ISetupConfigData& record);

// The silent decision alone: the type for a silent run asking for
// `requestedType` (0 /si, 3 /sf, 4 /sx) on a machine of `systemType`.
// SETUPEXECTYPE_NOTSET with `mismatchMessage` set when they do not fit.
[[nodiscard]] int DecideSilentExecutionType(int requestedType, int systemType, std::wstring& mismatchMessage);

// The exit code of a silent run refused because its option does not fit the
// machine: 0 when there is only nothing to do (/si on a bundle installed from
// this package, /sx on one that is not installed), 1605 for /sf on a bundle
// that is not installed, 1603 for every other refusal.
[[nodiscard]] DWORD SilentMismatchExitCode(int requestedType, int systemType);

// Called by the parse manager before the language is finally chosen. Sets the
// record's execution type and returns true, or returns false when a silent
// option does not fit the machine or the configuration cannot tell: the
// problem is logged at ERROR level, `onSilentMismatch` (the silent indicator
// controller's finish in the failed state) is called and `stopExitCode`, when
// given, receives the exit code the run ends with.
//
// Two interrupted states are completed instead of refused: the main product
// installed without the bundle's Add/Remove Programs entry is an unfinished
// installation (an installation), and the entry without the main product an
// unfinished removal when a removal is asked for.
[[nodiscard]] bool DetermineExecutionType(ISetupConfigData& record, const CCommandLineParser& parser,
                                          const std::function<void()>& onSilentMismatch = {},
                                          DWORD* stopExitCode = nullptr);
