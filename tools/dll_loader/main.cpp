// Exit code 0 when LoadLibraryW(argv[1]) succeeded, 1 when it failed, 2 without an argument.

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HMODULE module = ::LoadLibraryW(argv[1]);
  if (module == nullptr) return 1;
  ::FreeLibrary(module);
  return 0;
}
