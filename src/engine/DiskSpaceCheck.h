#pragma once
// Whether drives have room for what an installation puts on them. Pure
// arithmetic, shared by the installation's check before it starts and by the
// wizard's list of volumes.

#include <windows.h>

#include <string>
#include <vector>

// SpaceRequired of a bundle product counts megabytes.
constexpr ULONGLONG kSpaceRequiredUnitBytes = 1048576;

// The bytes of a SpaceRequired value (megabytes); a negative value needs nothing.
[[nodiscard]] ULONGLONG SpaceRequiredToBytes(long long megabytes);

// What one drive must hold and what it has free.
struct DriveSpace {
  std::wstring drive;
  ULONGLONG requiredBytes = 0;
  ULONGLONG freeBytes = 0;
};

// Whether a drive lacks room: fewer free bytes than required. Exactly the
// required bytes free is enough.
[[nodiscard]] bool IsDriveShort(ULONGLONG requiredBytes, ULONGLONG freeBytes);

// The first drive, in the given order, that lacks room; empty when every one
// has room.
[[nodiscard]] std::wstring FindShortDrive(const std::vector<DriveSpace>& drives);
