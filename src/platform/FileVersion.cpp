#include "platform/FileVersion.h"

#include <vector>

#include "platform/ProcAddress.h"
#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"

namespace platform {

bool ReadFileVersion(const std::wstring& path, FileVersion& version) {
  UniqueModule library = LoadSystemLibrary(L"version.dll");
  auto getSize = GetProc<decltype(&::GetFileVersionInfoSizeW)>(library.Get(), "GetFileVersionInfoSizeW");
  auto getInfo = GetProc<decltype(&::GetFileVersionInfoW)>(library.Get(), "GetFileVersionInfoW");
  auto query = GetProc<decltype(&::VerQueryValueW)>(library.Get(), "VerQueryValueW");
  if (getSize == nullptr || getInfo == nullptr || query == nullptr) {
    if (library) ::SetLastError(ERROR_PROC_NOT_FOUND);
    return false;
  }
  DWORD ignored = 0;
  const DWORD size = getSize(path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<BYTE> data(size);
  if (!getInfo(path.c_str(), 0, size, data.data())) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!query(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    ::SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return false;
  }
  version.major = HIWORD(info->dwFileVersionMS);
  version.minor = LOWORD(info->dwFileVersionMS);
  version.build = HIWORD(info->dwFileVersionLS);
  version.revision = LOWORD(info->dwFileVersionLS);
  return true;
}

}  // namespace platform
