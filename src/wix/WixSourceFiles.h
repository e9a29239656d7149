#pragma once
// Files that WiX sources name (Binary and Text SourceFile attributes): the
// standard WiX UI library's own files, and reading a text file as the
// wizard's rich-text controls expect it.

#include <string>

// The absolute folder (with a trailing backslash) of a file's path; relative
// paths and ".." parts are resolved against the current folder. Empty
// (logged) when the path cannot be made absolute.
[[nodiscard]] std::wstring AbsoluteFolderOf(const std::wstring& path);

// The standard WiX UI library names its pictures and its license through
// preprocessor variables ($(var.bannerBmp), $(var.licenseRtf), ...) whose
// values its own build sets; the sources do not define them. The library
// ships those files beside its sources: the pictures in a "Bitmaps" folder,
// the license as License.rtf. This replaces each such variable in `text` by
// the absolute path of that file beside `sourcePath` (the .wxs file that
// names it), so the library's sources work where they lie. Other variables
// are left as written.
[[nodiscard]] std::wstring ResolveLibraryFileVariables(const std::wstring& text, const std::wstring& sourcePath);

// Whether a file path still holds a variable the bundle cannot bind
// ("$(var.X)", "!(bindpath.X)", ...): such a path names no real file.
[[nodiscard]] bool HoldsUnboundVariable(const std::wstring& path);

// Whether the path is absolute (a drive or a UNC path).
[[nodiscard]] bool IsAbsoluteFilePath(const std::wstring& path);

// Reads a file of 8-bit text (rich text) into `text`, one character per byte
// (the byte's value), which is how the rich-text control streams a text back
// to bytes. False (logged) when the file cannot be read.
[[nodiscard]] bool ReadEightBitTextFile(const std::wstring& path, std::wstring& text);
