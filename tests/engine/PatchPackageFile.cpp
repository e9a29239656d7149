#include "PatchPackageFile.h"

#include <windows.h>
#include <wtypes.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>

namespace enginetest {
namespace {

// Closes with msi.dll's own function: the package under test is closed before the code reads it.
struct Handle {
  MSIHANDLE value = 0;
  ~Handle() {
    if (value != 0) MsiCloseHandle(value);
  }
  MSIHANDLE Get() const { return value; }
};

}  // namespace

bool WritePatchPackage(const std::wstring& path, const std::wstring& revisionNumber) {
  ::DeleteFileW(path.c_str());
  Handle database;
  if (MsiOpenDatabaseW(path.c_str(), reinterpret_cast<LPCWSTR>(MSIDBOPEN_CREATE), &database.value) != ERROR_SUCCESS) {
    return false;
  }
  Handle summary;
  if (MsiGetSummaryInformationW(database.Get(), nullptr, 2, &summary.value) != ERROR_SUCCESS) return false;
  if (MsiSummaryInfoSetPropertyW(summary.Get(), PID_REVNUMBER, VT_LPSTR, 0, nullptr, revisionNumber.c_str()) !=
      ERROR_SUCCESS) {
    return false;
  }
  if (MsiSummaryInfoSetPropertyW(summary.Get(), PID_TEMPLATE, VT_LPSTR, 0, nullptr, L"Intel;1033") != ERROR_SUCCESS) {
    return false;
  }
  if (MsiSummaryInfoPersist(summary.Get()) != ERROR_SUCCESS) return false;
  return MsiDatabaseCommit(database.Get()) == ERROR_SUCCESS;
}

}  // namespace enginetest
