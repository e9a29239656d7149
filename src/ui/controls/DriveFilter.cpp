#include "ui/controls/DriveFilter.h"

#include <cwctype>

#include "wix/WixControl.h"

namespace ui {

bool IsDriveTypeShown(const CWixControl* control, UINT driveType) {
  const int volumeBits = wixbits::kRemovableVolume | wixbits::kFixedVolume | wixbits::kRemoteVolume |
                         wixbits::kCDROMVolume | wixbits::kRAMDiskVolume | wixbits::kFloppyVolume;
  if (control == nullptr || (control->GetAttributes() & volumeBits) == 0) return driveType == DRIVE_FIXED;
  switch (driveType) {
    case DRIVE_FIXED:
      return control->HasAttribute(wixbits::kFixedVolume);
    case DRIVE_REMOTE:
      return control->HasAttribute(wixbits::kRemoteVolume);
    case DRIVE_REMOVABLE:
      return control->HasAttribute(wixbits::kRemovableVolume);
    case DRIVE_CDROM:
      return control->HasAttribute(wixbits::kCDROMVolume);
    case DRIVE_RAMDISK:
      return control->HasAttribute(wixbits::kRAMDiskVolume);
    default:
      return false;
  }
}

std::vector<std::wstring> ShownDrives(const CWixControl* control, const std::wstring& alwaysDrive,
                                      const DriveTypeFunction& driveType) {
  const wchar_t always = alwaysDrive.size() >= 2 && alwaysDrive[1] == L':' ? std::towupper(alwaysDrive[0]) : 0;
  std::vector<std::wstring> drives;
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    const std::wstring root = std::wstring(1, letter) + L":\\";
    const UINT type = driveType(root);
    if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) continue;
    if (letter == always || IsDriveTypeShown(control, type)) drives.push_back(root);
  }
  return drives;
}

}  // namespace ui
