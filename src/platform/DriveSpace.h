#pragma once
// The size and free space of a drive, as the disk check and the volume list
// both see them.

#include <windows.h>

#include <string>

namespace platform {

// Total and free bytes of the drive of `root` ("C:\"): GetDiskFreeSpaceExW,
// else GetDiskFreeSpaceW (sectors x bytes x clusters); false when neither
// answers. Critical-error boxes stay off while an empty drive is asked.
[[nodiscard]] bool QueryDriveSpace(const std::wstring& root, ULONGLONG& totalBytes, ULONGLONG& freeBytes);

// Test seam: when the environment variable SETUP_TEST_SEAM_FREE_BYTES holds
// "<letter>=<bytes>" entries separated by ";" (e.g. "C=1048576"), the free
// space of those drives is taken from it; no product sets this variable.
[[nodiscard]] bool TestSeamFreeBytes(wchar_t driveLetter, ULONGLONG& freeBytes);

}  // namespace platform
