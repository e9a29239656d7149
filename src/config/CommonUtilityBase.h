#pragma once
// The path rule and the error text of a result code. They sit below the
// engine so the package installers can use them; CCommonUtility (engine) adds
// the restart and removal operations on top.

#include <windows.h>

#include <string>

class ISetupConfigData;

// Exit code of a child setup that asks its parent setup to restart the machine.
constexpr DWORD kChildSetupRebootExitCode = 20001;

class CCommonUtilityBase {
 public:
  // Turns the placeholders of a product location (relativeToSource set) or
  // command line (clear) into real paths: %NAME% references, [InstallDir],
  // [CurrentDir], the source path before relative locations, [SelectedBrand]
  // and [SelectedLang].
  static void ResolvePath(const ISetupConfigData& record, std::wstring& path, bool relativeToSource);

  // The text for a result code in the given language, falling back to the
  // neutral language; no trailing line break.
  [[nodiscard]] static std::wstring GetErrorMessageText(DWORD code, LANGID languageId);
};
