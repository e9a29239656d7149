// crasher.exe NAME [LIBRARY] [/throw]: installs the crash handler for
// application NAME and then writes through a null pointer, or with /throw
// throws an exception nobody catches. LIBRARY replaces dbghelp.dll (a system
// library without MiniDumpWriteDump shows the missing-library path).
//
// The handler's filter is wrapped so that its result becomes the exit code
// (100 + result) instead of the system's crash handling, which under Wine
// starts a debugger. Exit code 2: InstallCrashHandler did not register the filter.

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CrashHandler.h"
#include "platform/CommandLineInfo.h"

namespace {

LONG WINAPI ReportingFilter(EXCEPTION_POINTERS* exception) {
  LONG result = CrashHandlerFilter(exception);
  ::ExitProcess(100 + static_cast<UINT>(result));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::vector<std::wstring> args = platform::SplitCommandLine(::GetCommandLineW());
  const auto throwOption = std::find(args.begin(), args.end(), L"/throw");
  const bool throwing = throwOption != args.end();
  if (throwing) args.erase(throwOption);
  InstallCrashHandler(args.size() > 1 ? args[1] : std::wstring());
  if (args.size() > 2) SetCrashDumpLibraryForTest(args[2]);
  if (::SetUnhandledExceptionFilter(&ReportingFilter) != &CrashHandlerFilter) return 2;
  if (throwing) throw std::runtime_error("nobody catches this");
  volatile int* nowhere = nullptr;
  *nowhere = 1;
  return 0;
}
