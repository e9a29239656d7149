#pragma once
// The block of system facts written to the log when a run starts, so a log
// sent in by a user tells on which Windows it was written.

#include <windows.h>

#include <string>

struct SystemDetails {
  DWORD majorVersion = 0;
  DWORD minorVersion = 0;
  bool workstation = true;       // product type 1 (VER_NT_WORKSTATION)
  DWORD productType = 0;         // edition as GetProductInfo reports it
  std::wstring servicePack;      // empty when none
  bool is64Bit = false;
  std::wstring systemLocaleName;
  LANGID systemLanguage = 0;
  std::wstring userLocaleName;
  LANGID userLanguage = 0;
  std::wstring userName;
};

// Asks Windows for the facts of this machine and session.
[[nodiscard]] SystemDetails CollectSystemDetails();

// "Windows 7", "Windows Server 2012 R2", ... or "UnKnown OS".
[[nodiscard]] std::wstring GetOperatingSystemName(DWORD majorVersion, DWORD minorVersion, bool workstation);

// "Ultimate Edition", "Professional", ...; empty for product types without a name.
[[nodiscard]] std::wstring GetEditionName(DWORD productType);

// The block between its two separator lines, as it goes into the log.
[[nodiscard]] std::wstring FormatSystemDetails(const SystemDetails& details);

// Called by the parse manager right after the log file is opened: writes the
// block as one line at INFORMATION level.
void LogSystemDetails();
