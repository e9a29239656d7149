#include "app/CrashHandler.h"

#include <dbghelp.h>
#include <shlobj.h>

#include "platform/MessageBox.h"
#include "platform/ProcAddress.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"

namespace {

// Set once at start-up, before any crash can happen; read only by the filter.
std::wstring g_applicationName = L"Application";
std::wstring g_dumpFolder;
std::wstring g_dumpLibrary = L"dbghelp.dll";

std::wstring CommonAppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
  return buffer;
}

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

}  // namespace

// An exception nobody catches ends in std::terminate. The C++ library's
// default handler prints the exception's demangled type to a console this
// program does not have, and links in the whole demangler (some 46 KB of the
// shipped program); this one stops the process with a hardware fault
// instead, which the filter below turns into a crash dump and a message.
namespace __gnu_cxx {
void __verbose_terminate_handler() { __builtin_trap(); }
}  // namespace __gnu_cxx

void InstallCrashHandler(const std::wstring& applicationName) {
  g_applicationName = applicationName.empty() ? std::wstring(L"Application") : applicationName;
  g_dumpFolder = CommonAppDataFolder() + L"\\Halvorsk";
  ::SetUnhandledExceptionFilter(&CrashHandlerFilter);
}

std::wstring GetCrashDumpPath() {
  std::wstring path = g_dumpFolder + g_applicationName + L".dmp";
  if (path.size() > MAX_PATH) path.resize(MAX_PATH);
  return path;
}

void SetCrashDumpLibraryForTest(const std::wstring& dllName) { g_dumpLibrary = dllName; }

LONG WINAPI CrashHandlerFilter(EXCEPTION_POINTERS* exception) {
  // From the system folder only: a dbghelp.dll beside the program would run
  // inside a crashed, elevated process.
  platform::UniqueModule dbghelp = platform::LoadSystemLibrary(g_dumpLibrary.c_str());
  auto writeDump = platform::GetProc<MiniDumpWriteDumpFn>(dbghelp.Get(), "MiniDumpWriteDump");
  if (writeDump == nullptr) {
    (void)platform::ShowMessageBox(nullptr, L"Unable to load the DBGHELP.DLL. Failed to save dump file",
                                   g_applicationName, MB_OK);
    return EXCEPTION_CONTINUE_SEARCH;
  }

  std::wstring path = GetCrashDumpPath();
  LONG result = EXCEPTION_CONTINUE_SEARCH;
  std::wstring text;
  platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    text = platform::Format(L"Failed to create dump file '%s' (error %d)", path.c_str(),
                            static_cast<int>(::GetLastError()));
  } else {
    MINIDUMP_EXCEPTION_INFORMATION info = {};
    info.ThreadId = ::GetCurrentThreadId();
    info.ExceptionPointers = exception;
    info.ClientPointers = FALSE;
    if (writeDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file.Get(), MiniDumpNormal, &info, nullptr,
                  nullptr)) {
      // Deliberate text ("The Setup is crashed"): kept as written.
      text = platform::Format(
          L"The Setup is crashed. A dump file is created by the application for crash reference. The dump can be "
          L"found at '%s'",
          path.c_str());
      result = EXCEPTION_EXECUTE_HANDLER;
    } else {
      text = platform::Format(L"Failed to save dump file to '%s' (error %d)", path.c_str(),
                              static_cast<int>(::GetLastError()));
    }
  }
  file.Reset();
  (void)platform::ShowMessageBox(nullptr, text, g_applicationName, MB_OK);
  return result;
}
