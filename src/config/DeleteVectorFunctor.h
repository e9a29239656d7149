#pragma once
// Empties a vector of owned elements one by one, so a failure while deleting
// one element is logged and the rest are still deleted.

#include <memory>
#include <vector>

#include "log/Log.h"

class CDeleteVectorFunctor {
 public:
  template <typename T>
  void operator()(std::vector<std::unique_ptr<T>>& elements) const noexcept {
    for (auto& element : elements) {
      try {
        element.reset();
      } catch (...) {
        LogWarningNoThrow(L"Exception caught while clearing the data in CDeleteVectorFunctor");
      }
    }
    elements.clear();
  }

 private:
  static void LogWarningNoThrow(const wchar_t* text) noexcept {
    try {
      LogWarning(text);
    } catch (...) {
    }
  }
};
