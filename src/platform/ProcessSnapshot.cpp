#include "platform/ProcessSnapshot.h"

#include <windows.h>
#include <tlhelp32.h>

#include "platform/UniqueResource.h"

namespace platform {

std::vector<std::wstring> GetRunningProcessNames() {
  std::vector<std::wstring> names;
  // A failed snapshot is INVALID_HANDLE_VALUE, which the file-handle owner knows.
  UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return names;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
    names.emplace_back(entry.szExeFile);
  }
  return names;
}

}  // namespace platform
