#pragma once
// What the bench programs share: their clock, their medians and the count of
// EXE product runs a bench bundle's marker file holds.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/UniqueResource.h"

namespace bench {

inline double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Lines of the bundle's Logs\exe-runs.txt: one per EXE product run.
inline int ExeRuns(const std::wstring& bundle) {
  platform::UniqueHandle file(::CreateFileW((bundle + L"Logs\\exe-runs.txt").c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.IsValid()) return 0;
  std::string text(static_cast<size_t>(::GetFileSize(file.Get(), nullptr)), '\0');
  DWORD read = 0;
  if (!text.empty() && !::ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr)) return 0;
  return static_cast<int>(std::count(text.begin(), text.begin() + read, '\n'));
}

}  // namespace bench
