#include "platform/CommandLineInfo.h"

namespace platform {

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::wstring> args;
  size_t i = 0;
  const size_t n = commandLine.size();

  // Program name: quotes group, no escapes.
  std::wstring program;
  bool inQuotes = false;
  while (i < n) {
    wchar_t c = commandLine[i];
    if (c == L'"') {
      inQuotes = !inQuotes;
      ++i;
      continue;
    }
    if (!inQuotes && (c == L' ' || c == L'\t')) break;
    program += c;
    ++i;
  }
  args.push_back(program);

  for (;;) {
    while (i < n && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
    if (i >= n) break;
    std::wstring arg;
    inQuotes = false;
    while (i < n) {
      wchar_t c = commandLine[i];
      if (c == L'\\') {
        size_t slashes = 0;
        while (i < n && commandLine[i] == L'\\') {
          ++slashes;
          ++i;
        }
        if (i < n && commandLine[i] == L'"') {
          arg.append(slashes / 2, L'\\');
          if (slashes % 2 == 1) {
            arg += L'"';
            ++i;
          }
          // an even count leaves the quote to toggle below
        } else {
          arg.append(slashes, L'\\');
        }
        continue;
      }
      if (c == L'"') {
        if (inQuotes && i + 1 < n && commandLine[i + 1] == L'"') {
          arg += L'"';
          i += 2;
          continue;
        }
        inQuotes = !inQuotes;
        ++i;
        continue;
      }
      if (!inQuotes && (c == L' ' || c == L'\t')) break;
      arg += c;
      ++i;
    }
    args.push_back(arg);
  }
  return args;
}

void CCommandLineInfoBase::ParseParam(const wchar_t* /*token*/, bool /*isFlag*/, bool /*isLast*/) {}

void ParseCommandLine(const std::wstring& commandLine, CCommandLineInfoBase& info) {
  std::vector<std::wstring> args = SplitCommandLine(commandLine);
  for (size_t k = 1; k < args.size(); ++k) {
    const std::wstring& arg = args[k];
    bool isLast = k + 1 == args.size();
    if (!arg.empty() && (arg[0] == L'/' || arg[0] == L'-')) {
      info.ParseParam(arg.c_str() + 1, true, isLast);
    } else {
      info.ParseParam(arg.c_str(), false, isLast);
    }
  }
}

}  // namespace platform
