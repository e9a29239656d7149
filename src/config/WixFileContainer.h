#pragma once
// The WiX UI source files of the bundle, in the order they are read.

#include <string>
#include <vector>

class CWixFileContainer {
 public:
  // expectedCount is a capacity hint.
  explicit CWixFileContainer(int expectedCount);

  void AddPath(const std::wstring& path);
  // The path at the cursor, then the cursor moves on; "" after the last one.
  [[nodiscard]] std::wstring GetNextPath();
  // Moves the cursor back to the first path; returns the number of paths.
  int Rewind();
  [[nodiscard]] int GetCount() const { return static_cast<int>(paths_.size()); }

 private:
  std::vector<std::wstring> paths_;
  size_t cursor_ = 0;
};
