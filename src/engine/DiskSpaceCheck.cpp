#include "engine/DiskSpaceCheck.h"

ULONGLONG SpaceRequiredToBytes(long long megabytes) {
  return megabytes <= 0 ? 0 : static_cast<ULONGLONG>(megabytes) * kSpaceRequiredUnitBytes;
}

bool IsDriveShort(ULONGLONG requiredBytes, ULONGLONG freeBytes) { return freeBytes < requiredBytes; }

std::wstring FindShortDrive(const std::vector<DriveSpace>& drives) {
  for (const DriveSpace& space : drives) {
    if (IsDriveShort(space.requiredBytes, space.freeBytes)) return space.drive;
  }
  return {};
}
