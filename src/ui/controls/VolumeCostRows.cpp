#include "ui/controls/VolumeCostRows.h"

#include <cwctype>

namespace ui {

namespace {
constexpr long long kMegabyte = 1048576;
}  // namespace

VolumeRows ComputeVolumeRows(const std::vector<std::wstring>& roots, const std::wstring& installDir,
                             long long productMegabytes, const std::map<std::wstring, long long>& featureCosts,
                             const DriveSpaceFunction& space,
                             const std::function<UINT(const std::wstring&)>& driveType) {
  VolumeRows result;
  const wchar_t installDrive = installDir.size() >= 2 && installDir[1] == L':' ? std::towupper(installDir[0]) : 0;
  long long required = (productMegabytes > 0 ? productMegabytes : 0) * kMegabyte;
  for (const auto& [drive, bytes] : featureCosts) {
    if (!drive.empty() && std::towupper(drive[0]) == installDrive) required += bytes;
  }
  for (const std::wstring& root : roots) {
    ULONGLONG total = 0;
    ULONGLONG free = 0;
    if (root.empty() || !space(root, total, free)) continue;
    VolumeRow row;
    row.root = root;
    row.size = static_cast<long long>(total);
    row.available = static_cast<long long>(free);
    row.required = std::towupper(root[0]) == installDrive ? required : 0;
    row.remote = driveType(root) == DRIVE_REMOTE;
    if (row.available < row.required && result.insufficient < 0) {
      result.insufficient = static_cast<int>(result.rows.size());
    }
    result.rows.push_back(row);
  }
  return result;
}

}  // namespace ui
