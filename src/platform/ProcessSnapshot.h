#pragma once
// The executable file names of the processes running now.

#include <string>
#include <vector>

namespace platform {

// One entry per process (names repeat when a program runs more than once);
// empty when no snapshot could be taken.
[[nodiscard]] std::vector<std::wstring> GetRunningProcessNames();

}  // namespace platform
