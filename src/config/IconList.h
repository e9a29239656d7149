#pragma once

#include <map>
#include <string>

#include "config/IIconList.h"
#include "platform/UniqueResource.h"

// Named images; an icon is loaded on first request and kept for the rest of the run.
class CIconList : public IIconList, public IIconListForParser {
 public:
  // baseFolder is the folder the image paths are relative to, with its trailing backslash.
  explicit CIconList(const std::wstring& baseFolder);
  virtual ~CIconList() = default;
  CIconList(const CIconList&) = delete;
  CIconList& operator=(const CIconList&) = delete;

  // IIconList
  HICON GetIcon(const std::wstring& name, int sizeInPixels) override;
  std::wstring GetIconPath(const std::wstring& name) const override;

  // IIconListForParser
  bool AddImage(const std::wstring& name, const std::wstring& filePath) override;

 private:
  struct Entry {
    std::wstring filePath;
    platform::UniqueHIcon icon;
  };
  std::wstring baseFolder_;
  std::map<std::wstring, Entry> images_;
};
