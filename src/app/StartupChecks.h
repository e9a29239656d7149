#pragma once
// Start-up steps that depend on the machine: values taken over from an
// earlier installation, the source-path character check and the processor
// check of an x64 bundle.

#include <windows.h>

#include <string>

class CCommandLineParser;
class ISetupConfigData;

// Called by start-up once the configuration is read and the execution type is
// set: the Add/Remove Programs flag, the brand, installed location and source
// path of an installed bundle (or of this run), the maintenance program's
// file name, and the restore and nested flags.
void ApplyStartupValues(ISetupConfigData& record, CCommandLineParser& parser);

// The bundle's Add/Remove Programs key must be a usable name that is free or
// the setup's own entry: checked before anything is installed. False (logged,
// and shown unless silent) otherwise.
[[nodiscard]] bool CheckBundleKey(ISetupConfigData& record, bool silent);

// Called by start-up with the setup folder: false (after an error message box
// and log line) when the path holds a character above SourcePathMaxUnicode.
[[nodiscard]] bool CheckSourcePathCharacters(const std::wstring& path, ISetupConfigData& record);

// The processor check of the parse manager: an "x64" bundle needs an x64
// (AMD64) processor. `nativeArchitecture` is a PROCESSOR_ARCHITECTURE_* value.
[[nodiscard]] bool IsPlatformSupportedByProcessor(const std::wstring& platform, WORD nativeArchitecture);

// The machine's processor architecture as a 64-bit system reports it, also
// inside a 32-bit process.
[[nodiscard]] WORD GetNativeProcessorArchitecture();
