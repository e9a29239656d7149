#pragma once
// Images of the WiX sources' Binary entries, found through the bundle's icon
// list (id -> file beside Setup.exe or an absolute path).

#include <windows.h>

#include <string>

#include "platform/UniqueResource.h"

class ISetupConfigData;

namespace ui {

// The full path of a Binary entry's file, or "" for an unknown id.
std::wstring BinaryImagePath(ISetupConfigData& record, const std::wstring& id);
// The bitmap scaled to the size (0 keeps the natural size); invalid (logged)
// when the id or the file is missing.
platform::UniqueHBitmap LoadBinaryBitmap(ISetupConfigData& record, const std::wstring& id, int width, int height);
// The icon at the size; owned by the icon list; null (logged) when missing.
HICON LoadBinaryIcon(ISetupConfigData& record, const std::wstring& id, int size);

}  // namespace ui
