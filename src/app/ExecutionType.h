#pragma once
// The kind of run, worked out from what Windows Installer knows about the
// bundle's WiX-source product and, in silent runs, checked against the kind
// the command line asked for.

#include <functional>
#include <string>

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

// Called by the parse manager before the language is finally chosen. Sets the
// record's execution type and returns true, or returns false when a silent
// option does not fit the machine: the mismatch is logged at ERROR level and
// `onSilentMismatch` (the silent indicator controller's finish in the failed
// state) is called; start-up then ends the run with exit code 0.
[[nodiscard]] bool DetermineExecutionType(ISetupConfigData& record, const CCommandLineParser& parser,
                                          const std::function<void()>& onSilentMismatch = {});
