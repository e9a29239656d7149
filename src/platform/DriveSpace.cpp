#include "platform/DriveSpace.h"

#include <cwctype>
#include <vector>

namespace platform {

bool TestSeamFreeBytes(wchar_t driveLetter, ULONGLONG& freeBytes) {
  wchar_t buffer[512] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"SETUP_TEST_SEAM_FREE_BYTES", buffer, 512);
  if (length == 0 || length >= 512) return false;
  const std::wstring text(buffer, length);
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(L';', at);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring entry = text.substr(at, end - at);
    at = end + 1;
    if (entry.size() < 3 || entry[1] != L'=' || std::towupper(entry[0]) != std::towupper(driveLetter)) continue;
    ULONGLONG value = 0;
    for (size_t i = 2; i < entry.size(); ++i) {
      if (entry[i] < L'0' || entry[i] > L'9') return false;
      value = value * 10 + static_cast<ULONGLONG>(entry[i] - L'0');
    }
    freeBytes = value;
    return true;
  }
  return false;
}

bool QueryDriveSpace(const std::wstring& root, ULONGLONG& totalBytes, ULONGLONG& freeBytes) {
  const UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  bool known = false;
  ULARGE_INTEGER freeToCaller = {}, total = {}, totalFree = {};
  if (::GetDiskFreeSpaceExW(root.c_str(), &freeToCaller, &total, &totalFree)) {
    totalBytes = total.QuadPart;
    freeBytes = totalFree.QuadPart;
    known = true;
  } else {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (::GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
      const ULONGLONG cluster = static_cast<ULONGLONG>(sectorsPerCluster) * bytesPerSector;
      totalBytes = cluster * clusters;
      freeBytes = cluster * freeClusters;
      known = true;
    }
  }
  ::SetErrorMode(previous);
  if (known && !root.empty()) (void)TestSeamFreeBytes(root[0], freeBytes);
  return known;
}

}  // namespace platform
