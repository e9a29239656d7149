#pragma once
// Size of a folder tree, for the "EstimatedSize" of the Add/Remove Programs entry.

#include <string>

namespace registry {

// Total bytes of all files below `path` (with or without a trailing
// backslash), all subfolders included. Folders that are reparse points
// (junctions, symbolic links) are counted as empty, so a link back up the
// tree cannot make the walk endless. An empty path or a folder that cannot
// be listed counts as 0 (logged). Called by the Add/Remove Programs entry
// when the entry is written or its size rewritten.
[[nodiscard]] unsigned long long GetFolderSize(const std::wstring& path);

}  // namespace registry
