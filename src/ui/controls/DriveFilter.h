#pragma once
// Which drives the folder and disk-space controls offer: those whose type the
// WiX control asks for with its volume attributes (Fixed, Remote, Removable,
// CDROM), and always the drive the installation goes to.

#include <windows.h>

#include <string>
#include <vector>

#include "ui/controls/PathValidation.h"

class CWixControl;

namespace ui {

// Whether a drive of this type (GetDriveTypeW) is asked for by the control;
// a control without volume attributes asks for fixed drives.
[[nodiscard]] bool IsDriveTypeShown(const CWixControl* control, UINT driveType);

// The root folders ("C:\") of the drives to list, in letter order: present
// drives of a shown type, and `alwaysDrive` (a path or drive; may be empty).
[[nodiscard]] std::vector<std::wstring> ShownDrives(const CWixControl* control, const std::wstring& alwaysDrive,
                                                    const DriveTypeFunction& driveType = SystemDriveType);

}  // namespace ui
