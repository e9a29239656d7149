#pragma once
// The checks a folder typed or chosen in the wizard must pass before it is
// written to a directory property, and the names the directory list accepts
// for a new folder. Messages are WiX localization ids whose "[2]" stands for
// the path or name.

#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// Drive type of a root folder such as "C:\" (GetDriveTypeW's answer).
using DriveTypeFunction = std::function<UINT(const std::wstring& root)>;

struct PathCheck {
  bool valid = true;
  std::wstring messageId;  // "Error1314", "Error1324", "Error1327" or empty
  std::wstring path;       // the checked path; "C:" becomes "C:\"
};

// Windows' answer, asked with critical-error boxes off so an empty removable
// or CD-ROM drive does not raise a "no disk" box.
UINT SystemDriveType(const std::wstring& root);

// The whole check of a path. `relaxed` accepts network paths and CD-ROM drives.
[[nodiscard]] PathCheck ValidatePath(const std::wstring& path, bool relaxed,
                                     const DriveTypeFunction& driveType = SystemDriveType);

// A name the directory list may create: none of \ / : * ? " < > |, not empty,
// not "." or "..".
[[nodiscard]] bool IsValidFolderName(const std::wstring& name);

// Critical-error boxes off for the lifetime of the object.
class CQuietDriveProbe {
 public:
  CQuietDriveProbe() : previous_(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
  ~CQuietDriveProbe() { ::SetErrorMode(previous_); }
  CQuietDriveProbe(const CQuietDriveProbe&) = delete;
  CQuietDriveProbe& operator=(const CQuietDriveProbe&) = delete;

 private:
  UINT previous_;
};

}  // namespace ui
