#pragma once
// Where the tests find the source tree, the shared test data and the built programs.

#include <string>

namespace testsupport {

// The folder of the running test executable (build/win64/bin\), with a trailing backslash.
std::wstring BinFolder();
// The built test packages (build/win64/packages\), with a trailing backslash.
std::wstring PackageFolder();
// A fresh, empty scratch folder under the Wine prefix's temp folder.
std::wstring MakeScratchFolder(const std::wstring& name);
// Recursively deletes a folder; true when it is gone.
bool RemoveFolder(const std::wstring& folder);
// The repository root and the shared folder, as Windows paths (Z:\...).
std::wstring SourceFolder();
std::wstring SharedFolder();
// The bin folder of the shipped 32-bit build (build/win32/bin\): from
// SETUP_TEST_SHIPPED_BIN_DIR, else the win32 folder beside this build's folder.
std::wstring ShippedBinFolder();

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

}  // namespace testsupport
