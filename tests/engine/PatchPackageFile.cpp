#include "PatchPackageFile.h"

#include <windows.h>
#include <wtypes.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>

#include "platform/ProcAddress.h"
#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"

namespace enginetest {
namespace {

// msi.dll is bound here for this one writer and freed again: the tests of the
// library's loading expect it unloaded once the program frees it.
struct MsiWriter {
  platform::UniqueModule module = platform::LoadSystemLibrary(L"msi.dll");
  decltype(&MsiOpenDatabaseW) openDatabase = platform::GetProc<decltype(&MsiOpenDatabaseW)>(module.Get(), "MsiOpenDatabaseW");
  decltype(&MsiGetSummaryInformationW) summaryInformation =
      platform::GetProc<decltype(&MsiGetSummaryInformationW)>(module.Get(), "MsiGetSummaryInformationW");
  decltype(&MsiSummaryInfoSetPropertyW) setProperty =
      platform::GetProc<decltype(&MsiSummaryInfoSetPropertyW)>(module.Get(), "MsiSummaryInfoSetPropertyW");
  decltype(&MsiSummaryInfoPersist) persist =
      platform::GetProc<decltype(&MsiSummaryInfoPersist)>(module.Get(), "MsiSummaryInfoPersist");
  decltype(&MsiDatabaseCommit) commit = platform::GetProc<decltype(&MsiDatabaseCommit)>(module.Get(), "MsiDatabaseCommit");
  decltype(&MsiCloseHandle) close = platform::GetProc<decltype(&MsiCloseHandle)>(module.Get(), "MsiCloseHandle");

  [[nodiscard]] bool Complete() const {
    return openDatabase && summaryInformation && setProperty && persist && commit && close;
  }
};

// Closed with msi.dll's own function before the library goes.
struct Handle {
  const MsiWriter& msi;
  MSIHANDLE value = 0;
  ~Handle() {
    if (value != 0) msi.close(value);
  }
};

}  // namespace

bool WritePatchPackage(const std::wstring& path, const std::wstring& revisionNumber) {
  ::DeleteFileW(path.c_str());
  MsiWriter msi;
  if (!msi.Complete()) return false;
  Handle database{msi};
  if (msi.openDatabase(path.c_str(), reinterpret_cast<LPCWSTR>(MSIDBOPEN_CREATE), &database.value) != ERROR_SUCCESS) {
    return false;
  }
  Handle summary{msi};
  if (msi.summaryInformation(database.value, nullptr, 2, &summary.value) != ERROR_SUCCESS) return false;
  if (msi.setProperty(summary.value, PID_REVNUMBER, VT_LPSTR, 0, nullptr, revisionNumber.c_str()) != ERROR_SUCCESS) {
    return false;
  }
  if (msi.setProperty(summary.value, PID_TEMPLATE, VT_LPSTR, 0, nullptr, L"Intel;1033") != ERROR_SUCCESS) return false;
  if (msi.persist(summary.value) != ERROR_SUCCESS) return false;
  return msi.commit(database.value) == ERROR_SUCCESS;
}

}  // namespace enginetest
