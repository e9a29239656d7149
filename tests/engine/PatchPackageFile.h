#pragma once
// A stand-in patch package: wixl builds no patches, but what the bundle reads
// from one is its summary information, which a small database carries too.

#include <string>

namespace enginetest {

// Writes a database at `path` (name it .msp) whose summary information's
// revision number is `revisionNumber` (a patch's own code first, then the
// codes it replaces). True when written.
[[nodiscard]] bool WritePatchPackage(const std::wstring& path, const std::wstring& revisionNumber);

}  // namespace enginetest
