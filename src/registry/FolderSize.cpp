#include "registry/FolderSize.h"

#include <windows.h>

#include "log/Log.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"

namespace registry {

namespace {

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

unsigned long long SumFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data{};
  platform::UniqueFindHandle find(::FindFirstFileW(platform::Format(L"%s\\*.*", folder.c_str()).c_str(), &data));
  if (!find) {
    DWORD error = ::GetLastError();
    // An empty folder still lists "." and ".."; anything else is worth a line.
    if (error != ERROR_FILE_NOT_FOUND) {
      LogWarning(L"GetFolderSize - Unable to list the folder %s (error %lu).", folder.c_str(), error);
    }
    return 0;
  }
  unsigned long long total = 0;
  do {
    if (IsDotEntry(data.cFileName)) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      total += SumFolder(platform::Format(L"%s\\%s", folder.c_str(), data.cFileName));
    } else {
      total += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
  } while (::FindNextFileW(find.Get(), &data));
  return total;
}

}  // namespace

unsigned long long GetFolderSize(const std::wstring& path) {
  try {
    std::wstring folder = path;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    // An empty name would list the root of the current drive.
    if (folder.empty()) {
      LogWarning(L"GetFolderSize - The folder name is empty, hence the size is 0.");
      return 0;
    }
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      LogWarning(L"GetFolderSize - The folder %s does not exist, hence the size is 0.", folder.c_str());
      return 0;
    }
    return SumFolder(folder);
  } catch (...) {
    // Deliberate text (the trailing blank): kept as written.
    LogError(L"Exception in GetFolderSize ");
    return 0;
  }
}

}  // namespace registry
