#pragma once
// The four level functions every part of the program logs through. Each comes
// as (text) and as (format, arguments...); the user line has no prefix.

#include <string>

#include "platform/StringUtil.h"

namespace setuplog {

enum LogLevel : int {
  kLevelError = 1,
  kLevelWarning = 2,
  kLevelInformation = 3,
  kLevelDebug = 4,
};

void WriteLine(int level, const std::wstring& text);

inline void LogError(const std::wstring& text) { WriteLine(kLevelError, L"ERROR:\t\t" + text); }
inline void LogWarning(const std::wstring& text) { WriteLine(kLevelWarning, L"WARNING:\t" + text); }
inline void LogInformation(const std::wstring& text) { WriteLine(kLevelInformation, L"INFORMATION:\t" + text); }
inline void LogDebug(const std::wstring& text) { WriteLine(kLevelDebug, L"DEBUG:\t\t" + text); }
inline void LogUserLine(const std::wstring& text) { WriteLine(kLevelInformation, text); }

// Format forms: at least one argument, so a plain text holding "%" is never
// taken for a format by accident.
template <typename A, typename... R>
void LogError(const wchar_t* format, A a, R... rest) { LogError(platform::Format(format, a, rest...)); }
template <typename A, typename... R>
void LogWarning(const wchar_t* format, A a, R... rest) { LogWarning(platform::Format(format, a, rest...)); }
template <typename A, typename... R>
void LogInformation(const wchar_t* format, A a, R... rest) { LogInformation(platform::Format(format, a, rest...)); }
template <typename A, typename... R>
void LogDebug(const wchar_t* format, A a, R... rest) { LogDebug(platform::Format(format, a, rest...)); }

}  // namespace setuplog

using setuplog::LogDebug;
using setuplog::LogError;
using setuplog::LogInformation;
using setuplog::LogUserLine;
using setuplog::LogWarning;
