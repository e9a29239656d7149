#include "config/IconList.h"

#include "log/Log.h"
#include "platform/Path.h"

CIconList::CIconList(const std::wstring& baseFolder) : baseFolder_(baseFolder) {}

HICON CIconList::GetIcon(const std::wstring& name, int sizeInPixels) {
  auto found = images_.find(name);
  if (found == images_.end()) {
    LogWarning(L"Could not find the icon path for the id, %s.", name.c_str());
    return nullptr;
  }
  Entry& entry = found->second;
  if (entry.icon) return entry.icon.Get();
  // Images of a WiX library beside the sources are named by their full path.
  std::wstring fullPath = platform::IsAbsolutePath(entry.filePath) ? entry.filePath : baseFolder_ + entry.filePath;
  if (!platform::FileExists(fullPath)) {
    LogInformation(L"Could not find the icon path %s for the id, %s.", fullPath.c_str(), name.c_str());
    return nullptr;
  }
  entry.icon.Reset(static_cast<HICON>(
      ::LoadImageW(nullptr, fullPath.c_str(), IMAGE_ICON, sizeInPixels, sizeInPixels, LR_LOADFROMFILE)));
  if (!entry.icon) {
    LogWarning(L"CIconList::GetIcon() - Unable to load the icon %s (error %lu).", fullPath.c_str(),
               ::GetLastError());
  }
  return entry.icon.Get();
}

std::wstring CIconList::GetIconPath(const std::wstring& name) const {
  auto found = images_.find(name);
  return found == images_.end() ? std::wstring() : found->second.filePath;
}

bool CIconList::AddImage(const std::wstring& name, const std::wstring& filePath) {
  auto found = images_.find(name);
  if (found != images_.end()) {
    LogWarning(L"The key %s is already available with an associated value of %s", name.c_str(),
               found->second.filePath.c_str());
    return false;
  }
  images_.emplace(name, Entry{filePath, platform::UniqueHIcon()});
  return true;
}
