// dll_loader [/restrict] NAME: LoadLibraryW(NAME) by plain name. With
// /restrict, first restricts the DLL search the way Setup.exe's wWinMain does.
// Exit code 0 when the DLL loaded, 1 when it did not, 2 for a bad command
// line, 3 when the restriction could not be applied.

#include <windows.h>

#include <string>

#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"

int wmain(int argc, wchar_t** argv) {
  int next = 1;
  if (argc > next && std::wstring(argv[next]) == L"/restrict") {
    if (!platform::RestrictDllSearchToSystemFolder()) return 3;
    ++next;
  }
  if (argc <= next) return 2;
  platform::UniqueModule module(::LoadLibraryW(argv[next]));
  return module ? 0 : 1;
}
