#pragma once
// Which Setup.exe the end-to-end tests run. By default the build beside the
// test executable (64-bit); with SETUP_TEST_SETUP_BITS=32 the shipped 32-bit
// build, run in the same 64-bit prefix under WOW64. The programs a test plants
// beside or under Setup.exe (DLLs, stand-in system programs) then come from
// that build as well, so they match the process that would load them.

#include <string>

#include "registry/RegistryUtil.h"

namespace testsupport {

// True when this run tests the shipped 32-bit Setup.exe.
[[nodiscard]] bool TestsShippedBuild();
// The bin folder of the Setup.exe under test (and of its planted programs), with a trailing backslash.
[[nodiscard]] std::wstring TestedBinFolder();
// The registry view the Setup.exe under test writes its own keys to (its
// Add/Remove Programs entry, RunOnce): the 32-bit view for the 32-bit build.
[[nodiscard]] registry::View TestedRegistryView();
// Whether this prefix can run 32-bit programs (wine32 installed, the prefix
// has its 32-bit half); when not, `reason` says why.
[[nodiscard]] bool CanRun32BitPrograms(std::string& reason);

}  // namespace testsupport
