#include "platform/StringUtil.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>

namespace platform {

std::wstring FormatV(const wchar_t* format, va_list args) {
  if (format == nullptr) return {};
  std::wstring buffer(256, L'\0');
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int written = _vsnwprintf(&buffer[0], buffer.size(), format, copy);
    va_end(copy);
    if (written >= 0 && static_cast<size_t>(written) < buffer.size()) {
      buffer.resize(static_cast<size_t>(written));
      return buffer;
    }
    if (buffer.size() >= (1u << 24)) return {};  // runaway format: give up rather than exhaust memory
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring result = FormatV(format, args);
  va_end(args);
  return result;
}

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }
}  // namespace

std::wstring TrimLeft(std::wstring_view text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return std::wstring(text.substr(start));
}

std::wstring TrimRight(std::wstring_view text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return std::wstring(text.substr(0, end));
}

std::wstring Trim(std::wstring_view text) { return TrimRight(TrimLeft(text)); }

std::wstring ToUpper(std::wstring_view text) {
  std::wstring result(text);
  if (!result.empty()) ::CharUpperBuffW(&result[0], static_cast<DWORD>(result.size()));
  return result;
}

std::wstring ToLower(std::wstring_view text) {
  std::wstring result(text);
  if (!result.empty()) ::CharLowerBuffW(&result[0], static_cast<DWORD>(result.size()));
  return result;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
  int result = ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                      static_cast<int>(b.size()), TRUE);
  return result - CSTR_EQUAL;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool ContainsNoCase(std::wstring_view text, std::wstring_view part) {
  return ToUpper(text).find(ToUpper(part)) != std::wstring::npos;
}

std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view separator) {
  std::vector<std::wstring> parts;
  if (separator.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  size_t start = 0;
  for (;;) {
    size_t pos = text.find(separator, start);
    if (pos == std::wstring_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, pos - start));
    start = pos + separator.size();
  }
}

size_t ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return 0;
  size_t count = 0;
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::wstring::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
    ++count;
  }
  return count;
}

int ToInt(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  long long value = 0;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
    value = value * 10 + (text[i] - L'0');
    if (value > 0x7FFFFFFFLL) value = 0x80000000LL;  // saturate like the C library
    ++i;
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
  if (value < -0x80000000LL) value = -0x80000000LL;
  return static_cast<int>(value);
}

namespace {
std::wstring MultiByteToWide(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  int needed = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (needed <= 0) return {};
  std::wstring result(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &result[0], needed);
  return result;
}

std::string WideToMultiByte(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  int needed = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
  if (needed <= 0) return {};
  std::string result(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &result[0], needed, nullptr,
                        nullptr);
  return result;
}
}  // namespace

std::wstring Utf8ToWide(std::string_view text) { return MultiByteToWide(text, CP_UTF8); }
std::string WideToUtf8(std::wstring_view text) { return WideToMultiByte(text, CP_UTF8); }
std::wstring AnsiToWide(std::string_view text, unsigned codePage) {
  return MultiByteToWide(text, codePage == 0 ? CP_ACP : codePage);
}
std::string WideToAnsi(std::wstring_view text, unsigned codePage) {
  return WideToMultiByte(text, codePage == 0 ? CP_ACP : codePage);
}

bool WideToAnsiExact(std::wstring_view text, std::string& result, unsigned codePage) {
  result.clear();
  if (text.empty()) return true;
  const UINT page = codePage == 0 ? CP_ACP : codePage;
  BOOL usedDefault = FALSE;
  int needed = ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                     0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return false;
  result.assign(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &result[0], needed,
                        nullptr, &usedDefault);
  return !usedDefault;
}

std::wstring SystemErrorText(unsigned long errorCode, unsigned short languageId) {
  wchar_t* buffer = nullptr;
  DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      errorCode, languageId, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length > 0 && buffer != nullptr) text.assign(buffer, length);
  if (buffer != nullptr) ::LocalFree(buffer);
  return TrimRight(text);
}

}  // namespace platform
