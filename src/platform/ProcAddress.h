#pragma once

#include <windows.h>

namespace platform {

// The one place that turns GetProcAddress's generic pointer into a typed
// function pointer (the cast itself trips -Wcast-function-type).
template <typename Fn>
[[nodiscard]] Fn GetProc(HMODULE module, const char* name) noexcept {
  if (module == nullptr) return nullptr;
  FARPROC proc = ::GetProcAddress(module, name);
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

}  // namespace platform
