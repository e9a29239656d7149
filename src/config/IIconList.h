#pragma once
// Faces of the bundle's named images (files relative to the executable's folder).

#include <windows.h>

#include <string>

class IIconList {
 public:
  // The icon stays owned by the list; the size of the first successful load
  // for a name wins. Null when the name is unknown or the file is missing.
  [[nodiscard]] virtual HICON GetIcon(const std::wstring& name, int sizeInPixels) = 0;
  // The configured relative path, or "" for an unknown name.
  [[nodiscard]] virtual std::wstring GetIconPath(const std::wstring& name) const = 0;

 protected:
  ~IIconList() = default;
};

class IIconListForParser {
 public:
  // False (and a warning) when the name exists; the first path is kept.
  virtual bool AddImage(const std::wstring& name, const std::wstring& filePath) = 0;

 protected:
  ~IIconListForParser() = default;
};
