#pragma once
// What a patch package (.msp) says about itself, and whether a code names a
// product Windows Installer knows.

#include <string>

// The patch's own code: the first {GUID} of the revision number in the
// package's summary information (a patch lists the codes it replaces after
// its own). Empty, with a WARNING line, when the package cannot be read or
// holds no code.
[[nodiscard]] std::wstring ReadPatchCode(const std::wstring& patchFile);

// Whether Windows Installer knows an installed product of this code. A key
// named by such a code is Windows Installer's own Add/Remove Programs entry.
[[nodiscard]] bool IsInstalledProductCode(const std::wstring& code);
