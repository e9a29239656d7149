#pragma once
// Files that hold secrets: readable and writable only by the local system
// account and the Administrators group, whatever the folder they live in
// lets other users do.

#include <windows.h>

#include <string>

#include "platform/UniqueResource.h"

namespace platform {

// The access list of such a file: protected from inheritance, full access
// for SYSTEM and the built-in Administrators group, nobody else.
extern const wchar_t kAdminOnlyFileSddl[];

// Creates `path` anew for writing with that access list. An existing file is
// deleted first: a file planted beforehand keeps its own access list, so it
// is never written into. Invalid handle (GetLastError set) on failure.
[[nodiscard]] UniqueFileHandle CreateAdminOnlyFile(const std::wstring& path);

}  // namespace platform
