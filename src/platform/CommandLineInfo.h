#pragma once
// The platform's command-line splitting: the command line is cut into tokens
// the way the C runtime builds argv, and each token is handed to ParseParam
// with flag tokens stripped of their leading "/" or "-".

#include <string>
#include <vector>

namespace platform {

// Splits a full command line (program name first) by the C runtime's rules:
// blanks separate arguments, quotes group, 2n backslashes before a quote give
// n backslashes and a quote toggle, 2n+1 give n backslashes and a literal
// quote, "" inside a quoted part is a literal quote. The program name itself
// ends at the first blank outside quotes and knows no escapes.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

class CCommandLineInfoBase {
 public:
  virtual ~CCommandLineInfoBase() = default;
  // Called once per token after the program name, in order.
  virtual void ParseParam(const wchar_t* token, bool isFlag, bool isLast);
};

// Feeds every argument of `commandLine` (program name first) to `info`.
void ParseCommandLine(const std::wstring& commandLine, CCommandLineInfoBase& info);

}  // namespace platform
