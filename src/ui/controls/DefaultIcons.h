#pragma once
// The small images of the feature tree, its menu and the folder and drive
// controls. The WiX sources may name their own (Binary entries such as
// "InstallFeature" or "Folder"); most ship none, so every image has a
// built-in drawing that is used when the package gives no file.

#include <windows.h>

#include <string>

#include "platform/UniqueResource.h"

class ISetupConfigData;

namespace ui {

enum class DefaultImage {
  kFeatureLocal,
  kFeaturePartial,
  kFeatureAbsent,
  kFeatureLocalLocked,
  kFeaturePartialLocked,
  kFeatureAbsentLocked,
  kDrive,
  kNetworkDrive,
  kRemovableDrive,
  kCdDrive,
  kFolder,
  kVirtualFolder,
};

// A 16 x 16 image list (colour with mask) of the given capacity and growth.
platform::UniqueHImageList CreateSmallImageList(int initial, int grow);
// Adds the package's image `id` when the record names one, else the built-in
// drawing; the index in the list, -1 when neither could be added.
int AddImage(HIMAGELIST list, ISetupConfigData* record, const std::wstring& id, DefaultImage fallback);
// The built-in drawing as an icon (for menus); owned by the caller.
platform::UniqueHIcon CreateDefaultIcon(DefaultImage image);

}  // namespace ui
