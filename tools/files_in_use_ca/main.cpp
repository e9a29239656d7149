// CheckFilesInUse: while the file HELDFILE names (by default
// [INSTALLDIR]held.txt, the package's own file) cannot be opened for writing
// because another program holds it, asks the user interface with a
// files-in-use message naming the holder ("hold_file", "Holder of held.txt").
// Retry looks again, Ignore goes on, Cancel ends the installation as a user
// exit (1602).

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  if (MsiGetPropertyW(install, name, buffer, &size) != ERROR_SUCCESS) return std::wstring();
  return buffer;
}

bool IsHeld(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

extern "C" UINT __stdcall CheckFilesInUse(MSIHANDLE install) {
  std::wstring path = Property(install, L"HELDFILE");
  if (path.empty()) {
    std::wstring folder = Property(install, L"INSTALLDIR");
    if (folder.empty()) return ERROR_SUCCESS;
    if (folder.back() != L'\\') folder += L'\\';
    path = folder + L"held.txt";
  }
  while (IsHeld(path)) {
    MSIHANDLE record = MsiCreateRecord(2);
    MsiRecordSetStringW(record, 1, L"hold_file");
    MsiRecordSetStringW(record, 2, L"Holder of held.txt");
    const int answer = MsiProcessMessage(install, INSTALLMESSAGE_FILESINUSE, record);
    MsiCloseHandle(record);
    if (answer == IDRETRY) continue;
    if (answer == IDCANCEL) return ERROR_INSTALL_USEREXIT;
    break;
  }
  return ERROR_SUCCESS;
}

extern "C" UINT __stdcall WaitForGate(MSIHANDLE install) {
  const std::wstring gate = Property(install, L"GATEFILE");
  if (gate.empty()) return ERROR_SUCCESS;
  HANDLE waiting = CreateFileW((gate + L".waiting").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (waiting != INVALID_HANDLE_VALUE) CloseHandle(waiting);
  for (int i = 0; i < 600 && GetFileAttributesW(gate.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    MSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringW(record, 1, L"Waiting for the test");
    const int answer = MsiProcessMessage(install, INSTALLMESSAGE_ACTIONDATA, record);
    MsiCloseHandle(record);
    if (answer == IDCANCEL) return ERROR_INSTALL_USEREXIT;
    Sleep(100);
  }
  return ERROR_SUCCESS;
}
