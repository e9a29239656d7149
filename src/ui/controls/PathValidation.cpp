#include "ui/controls/PathValidation.h"

namespace ui {

UINT SystemDriveType(const std::wstring& root) {
  CQuietDriveProbe quiet;
  return ::GetDriveTypeW(root.c_str());
}

PathCheck ValidatePath(const std::wstring& path, bool relaxed, const DriveTypeFunction& driveType) {
  PathCheck check;
  check.path = path;
  if (path.empty()) return check;
  if (path[0] == L'\\') {
    // Network and root-relative folders only where the caller allows them.
    if (!relaxed) {
      check.valid = false;
      check.messageId = L"Error1314";
    }
    return check;
  }
  if (check.path.size() == 2) check.path += L'\\';
  if (check.path[0] == L'A' || check.path[0] == L'a') {
    if (check.path.size() > 1 && check.path[1] == L':') {
      check.valid = false;
      check.messageId = L"Error1327";
      return check;
    }
  }
  if (check.path.size() < 3 || check.path.compare(1, 2, L":\\") != 0) {
    check.valid = false;
    check.messageId = L"Error1314";
    return check;
  }
  // The root folder, not "C:": the bare letter names the drive's current folder.
  const UINT type = driveType(check.path.substr(0, 3));
  if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR || (!relaxed && type == DRIVE_CDROM)) {
    check.valid = false;
    check.messageId = L"Error1327";
    return check;
  }
  if (check.path.find_first_of(L"/:*?\"<>|", 2) != std::wstring::npos) {
    check.valid = false;
    check.messageId = L"Error1324";
  }
  return check;
}

bool IsValidFolderName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  return name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

}  // namespace ui
