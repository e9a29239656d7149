#pragma once
// How log texts become bytes: the setup log is UTF-16LE, and every line end is
// "\r\n" because readers expect what a text-mode stream would have written.

#include <windows.h>

#include <string>

namespace setuplog {

// The UTF-16LE byte order mark that starts every new setup log.
extern const char kUtf16Bom[2];

// UTF-16LE bytes of `text` with every "\n" written as "\r\n".
std::string EncodeUtf16Text(const std::wstring& text);
// Bytes of `text` in the system code page with every "\n" written as "\r\n".
std::string EncodeAnsiText(const std::wstring& text);

// Writes all of `bytes` at the handle's current position.
[[nodiscard]] bool WriteAllBytes(HANDLE file, const std::string& bytes);

// Fills a banner whose six placeholders take day, month, year, hour, minute, second.
std::wstring FormatDateBanner(const wchar_t* format, const SYSTEMTIME& time);

}  // namespace setuplog
