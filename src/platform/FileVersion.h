#pragma once
// File version resources, read through version.dll. version.dll is not one of
// the DLLs Windows always maps from the system folder, so it is never imported
// statically (a copy beside Setup.exe would be loaded into the elevated
// process before any of our code runs): it is loaded by full path per call.

#include <windows.h>

#include <string>

namespace platform {

struct FileVersion {
  WORD major = 0;
  WORD minor = 0;
  WORD build = 0;
  WORD revision = 0;
};

// The fixed file version of `path`. False when the file has no version
// resource or version.dll cannot be reached (GetLastError tells which).
[[nodiscard]] bool ReadFileVersion(const std::wstring& path, FileVersion& version);

}  // namespace platform
