#pragma once
// The cursor the product lists share: the number of entries is captured when
// the iteration is reset, so entries appended later are not visited by it.

#include <cstddef>

class CIterationCursor {
 public:
  void Reset(size_t count) {
    reverse_ = false;
    count_ = count;
    index_ = 0;
  }
  void ResetReverse(size_t count) {
    reverse_ = true;
    count_ = count;
    index_ = static_cast<long long>(count) - 1;
  }
  // Gives the next index and moves on; false when exhausted. A cursor that was
  // never reset is forward with a count of 0. liveCount guards against a list
  // that shrank after the reset.
  [[nodiscard]] bool Next(size_t liveCount, size_t& index) {
    if (reverse_) {
      if (index_ < 0) return false;
      size_t at = static_cast<size_t>(index_--);
      if (at >= liveCount) return false;
      index = at;
      return true;
    }
    if (index_ < 0 || static_cast<size_t>(index_) >= count_) return false;
    size_t at = static_cast<size_t>(index_++);
    if (at >= liveCount) return false;
    index = at;
    return true;
  }

 private:
  bool reverse_ = false;
  size_t count_ = 0;
  long long index_ = 0;
};
