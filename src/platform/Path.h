#pragma once
// The program's one set of path helpers. Paths are Windows paths; both "\"
// and "/" separate folders where a path is taken apart.

#include <string>

namespace platform {

// True when `path` names an existing file (a folder is not a file).
[[nodiscard]] bool FileExists(const std::wstring& path);
// True when `path` names an existing folder.
[[nodiscard]] bool FolderExists(const std::wstring& path);

// The folder part of `path` with its trailing separator:
// "C:\a\b.txt" -> "C:\a\", "C:\a\" -> "C:\a\", "b.txt" -> "".
[[nodiscard]] std::wstring FolderOf(const std::wstring& path);

// `folder` and `name` with exactly one backslash between them; an empty part
// gives the other unchanged.
[[nodiscard]] std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// A path that names its place without any other folder in front: a drive
// ("C:\x", also "C:x") or a network path ("\\server\share"). A path that only
// starts at the root ("\x") depends on the current drive and is not absolute
// here: the bundle's folders go in front of it like any relative path.
[[nodiscard]] bool IsAbsolutePath(const std::wstring& path);

// The user's temporary folder with its trailing backslash; empty (the Windows
// error in GetLastError) when it is not known.
[[nodiscard]] std::wstring TempFolder();

}  // namespace platform
