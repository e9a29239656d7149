#pragma once
// Wide-string helpers used across the program instead of ad-hoc loops.

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// printf-style formatting into a std::wstring (%s takes a wide string).
std::wstring Format(const wchar_t* format, ...);
std::wstring FormatV(const wchar_t* format, va_list args);

std::wstring TrimLeft(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);
std::wstring Trim(std::wstring_view text);

std::wstring ToUpper(std::wstring_view text);
std::wstring ToLower(std::wstring_view text);

// Ordinal comparison without regard to case (Windows' own case mapping).
int CompareNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWith(std::wstring_view text, std::wstring_view prefix);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix);
bool ContainsNoCase(std::wstring_view text, std::wstring_view part);

// Splits at every separator; keeps empty parts so positions are preserved.
std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view separator);

// Replaces every occurrence of `from` (which must not be empty); returns the count.
size_t ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to);

// Reads a decimal integer the way the C library's _wtoi does: leading blanks,
// an optional sign, digits; anything else yields 0.
int ToInt(std::wstring_view text);

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text, unsigned codePage = 0);
std::string WideToAnsi(std::wstring_view text, unsigned codePage = 0);
// Like WideToAnsi, but false when a character has no exact form in the code
// page (a replacement character could change what a command means).
bool WideToAnsiExact(std::wstring_view text, std::string& result, unsigned codePage = 0);

// The system's message text for a Windows error code (or a Windows Installer
// result), without the trailing line break; in `languageId` when the system
// has that language (0: the system's choice), empty when it has no text.
// The program's one FormatMessage call.
[[nodiscard]] std::wstring SystemErrorText(unsigned long errorCode, unsigned short languageId = 0);

}  // namespace platform
