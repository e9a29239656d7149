#pragma once
// Reads the names of the DLLs a program imports from its file (the import
// table and the delay-load table), without loading it: both the 32-bit and
// the 64-bit layout are understood, whichever build runs the test.

#include <string>
#include <vector>

namespace testsupport {

struct PeImports {
  bool valid = false;            // the file is a PE image whose tables could be walked
  bool is64Bit = false;          // PE32+ (x64) rather than PE32 (x86)
  std::vector<std::string> dlls;         // the import table, in file order
  std::vector<std::string> delayLoaded;  // the delay-load table, in file order
};

// Parses image bytes as they are on disk.
PeImports ReadPeImports(const std::string& imageBytes);

// The Windows known DLLs every supported Windows (6.0 to 11) maps from the
// system folder whatever the search order says, lower case, plus ntdll.dll,
// which the loader maps before anything else.
const std::vector<std::string>& KnownDllNames();

}  // namespace testsupport
