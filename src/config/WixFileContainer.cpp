#include "config/WixFileContainer.h"

#include "log/Log.h"

CWixFileContainer::CWixFileContainer(int expectedCount) {
  if (expectedCount <= 0) return;
  try {
    paths_.reserve(static_cast<size_t>(expectedCount));
  } catch (...) {
    LogWarning(L"CWixFileContainer::CWixFileContainer() - Unable to reserve room for %d files.", expectedCount);
  }
}

void CWixFileContainer::AddPath(const std::wstring& path) {
  try {
    paths_.push_back(path);
  } catch (...) {
    LogError(L"CWixFileContainer::AddPath() - Unable to add the file %s.", path.c_str());
  }
}

std::wstring CWixFileContainer::GetNextPath() {
  if (cursor_ >= paths_.size()) return std::wstring();
  return paths_[cursor_++];
}

int CWixFileContainer::Rewind() {
  cursor_ = 0;
  return GetCount();
}
