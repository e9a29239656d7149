#include "support/TestedBuild.h"

#include <windows.h>

#include "platform/StringUtil.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"

namespace testsupport {

bool TestsShippedBuild() {
  wchar_t bits[8] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"SETUP_TEST_SETUP_BITS", bits, 8);
  return length > 0 && length < 8 && std::wstring(bits) == L"32";
}

std::wstring TestedBinFolder() { return TestsShippedBuild() ? ShippedBinFolder() : BinFolder(); }

registry::View TestedRegistryView() {
  // A 64-bit test process reads the 64-bit view by default; a 32-bit Setup.exe
  // writes its SOFTWARE keys to the 32-bit one (Wow6432Node).
  return TestsShippedBuild() ? registry::View::Force32 : registry::View::Default;
}

bool CanRun32BitPrograms(std::string& reason) {
  // The test runner knows when the machine cannot run them at all.
  wchar_t known[512] = {};
  const DWORD knownLength = ::GetEnvironmentVariableW(L"SETUP_TEST_32BIT_UNAVAILABLE", known, 512);
  if (knownLength > 0 && knownLength < 512) {
    reason = platform::WideToUtf8(known);
    return false;
  }
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemWow64DirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    reason = "this Wine prefix has no 32-bit system folder (syswow64); install wine32 and make the prefix anew";
    return false;
  }
  // The 32-bit command processor answers only when Wine's 32-bit half is installed.
  const std::wstring cmd = std::wstring(folder) + L"\\cmd.exe";
  ProcessResult result = RunAndCapture(Quote(cmd) + L" /c exit 7", 60000);
  if (!result.started || result.timedOut || result.exitCode != 7) {
    reason = "32-bit programs do not run in this Wine prefix (is wine32:i386 installed?)";
    return false;
  }
  return true;
}

}  // namespace testsupport
