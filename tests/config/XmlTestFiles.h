#pragma once
// Fixture files for the XML reader tests, written into a scratch folder.

#include <string>

#include "support/TestPaths.h"

namespace configtest {

// Writes `xml` (UTF-8 bytes) as `name` into `folder` and returns the full path.
inline std::wstring WriteXml(const std::wstring& folder, const std::wstring& name, const std::string& xml) {
  std::wstring path = folder + name;
  testsupport::WriteFileBytes(path, xml);
  return path;
}

}  // namespace configtest
