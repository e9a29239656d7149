#include "ui/controls/ControlImages.h"

#include "config/IIconList.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "platform/Path.h"

namespace ui {

std::wstring BinaryImagePath(ISetupConfigData& record, const std::wstring& id) {
  IIconList* icons = record.GetIconList();
  if (icons == nullptr || id.empty()) return std::wstring();
  std::wstring path = icons->GetIconPath(id);
  if (path.empty()) return path;
  return platform::IsAbsolutePath(path) ? path : record.GetSetupFolder() + path;
}

platform::UniqueHBitmap LoadBinaryBitmap(ISetupConfigData& record, const std::wstring& id, int width, int height) {
  const std::wstring path = BinaryImagePath(record, id);
  if (path.empty()) {
    LogWarning(L"The image %s is not among the binaries of the WiX sources.", id.c_str());
    return platform::UniqueHBitmap();
  }
  platform::UniqueHBitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, width, height, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  if (!bitmap) LogWarning(L"The image %s could not be loaded from %s.", id.c_str(), path.c_str());
  return bitmap;
}

HICON LoadBinaryIcon(ISetupConfigData& record, const std::wstring& id, int size) {
  IIconList* icons = record.GetIconList();
  if (icons == nullptr || id.empty()) return nullptr;
  return icons->GetIcon(id, size);
}

}  // namespace ui
