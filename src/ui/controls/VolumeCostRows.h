#pragma once
// What the volume list shows per drive: size, free space, the space the
// installation needs there and the difference, and which row has too little.
// The installation's own disk check counts the same way: the products'
// SpaceRequired in megabytes plus the selected features' cost, both on the
// drive of INSTALLDIR; a drive whose free space equals that is enough.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ui {

struct VolumeRow {
  std::wstring root;  // "C:\"
  long long size = 0;
  long long available = 0;
  long long required = 0;
  bool remote = false;
  [[nodiscard]] long long Difference() const { return available - required; }
};

struct VolumeRows {
  std::vector<VolumeRow> rows;
  int insufficient = -1;  // the first row without enough space
};

// Total and free bytes of a root folder; false when unknown (the drive is left out).
using DriveSpaceFunction = std::function<bool(const std::wstring& root, ULONGLONG& total, ULONGLONG& free)>;

// `featureCosts` maps drive letters ("C") to bytes, as the feature utility
// gives them; `productMegabytes` is the sum of the products' SpaceRequired.
[[nodiscard]] VolumeRows ComputeVolumeRows(const std::vector<std::wstring>& roots, const std::wstring& installDir,
                                           long long productMegabytes,
                                           const std::map<std::wstring, long long>& featureCosts,
                                           const DriveSpaceFunction& space,
                                           const std::function<UINT(const std::wstring&)>& driveType);

}  // namespace ui
