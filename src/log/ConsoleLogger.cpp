#include "log/ConsoleLogger.h"

#include <windows.h>

namespace setuplog {

void CConsoleLogger::Write(int, const std::wstring& text) {
  std::wstring line = text + L"\n";
  ::OutputDebugStringW(line.c_str());
}

}  // namespace setuplog
