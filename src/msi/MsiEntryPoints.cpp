#include "msi/MsiEntryPoints.h"

#include <utility>

#include "log/Log.h"
#include "platform/ProcAddress.h"
#include "platform/SystemPaths.h"

namespace {

// Never destroyed: Windows Installer handles owned by objects that die late
// in process exit are still closed through the library, and the library is
// not unloaded at exit.
platform::UniqueModule& MsiLibrary() {
  static auto* library = new platform::UniqueModule();
  return *library;
}

// Looked up on every call, so a library reloaded after FreeMsiLibrary is the
// one used. `missingText` replaces the usual log text where one is given.
template <typename Fn, typename R, typename... Args>
R CallMsi(const char* name, R notLoaded, R notFound, const wchar_t* missingText, Args... args) {
  HMODULE library = MsiLibrary().Get();
  if (library == nullptr) return notLoaded;
  Fn function = platform::GetProc<Fn>(library, name);
  if (function == nullptr) {
    if (missingText != nullptr) {
      LogInformation(std::wstring(missingText));
    } else {
      LogInformation(L"Unable to get the entry point of %s function", platform::AnsiToWide(name).c_str());
    }
    return notFound;
  }
  return function(args...);
}

#define MSI_CALL(function, notLoaded, notFound, ...) \
  CallMsi<decltype(&::function)>(#function, notLoaded, notFound, nullptr, __VA_ARGS__)

constexpr UINT kInvalidHandle = ERROR_INVALID_HANDLE;      // 6
constexpr UINT kInvalidFunction = ERROR_INVALID_FUNCTION;  // 1

}  // namespace

void LoadMsiLibrary() {
  platform::SetMsiHandleCloser(&MsiCloseHandleStub);
  platform::UniqueModule& library = MsiLibrary();
  if (library) return;
  // By full path only: a Msi.dll planted beside Setup.exe must never be
  // loaded into an elevated installer.
  library = platform::LoadSystemLibrary(L"msi.dll");
  if (!library) LogError(L"LoadLibrary of MSI failed");
}

void FreeMsiLibrary() {
  platform::UniqueModule& library = MsiLibrary();
  if (!library) return;
  HMODULE module = library.Release();
  if (!::FreeLibrary(module)) {
    LogError(L"FreeLibrary of MSI failed,error code %d", static_cast<int>(::GetLastError()));
  }
}

bool IsMsiLibraryLoaded() { return MsiLibrary().IsValid(); }

platform::UniqueModule ReplaceMsiLibraryForTest(platform::UniqueModule module) {
  platform::UniqueModule previous = std::move(MsiLibrary());
  MsiLibrary() = std::move(module);
  return previous;
}

std::wstring GetMsiLibraryPath() {
  HMODULE library = MsiLibrary().Get();
  if (library == nullptr) return {};
  wchar_t path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameW(library, path, MAX_PATH);
  return std::wstring(path, length < MAX_PATH ? length : 0);
}

UINT MsiInstallProductStub(LPCWSTR packagePath, LPCWSTR commandLine) {
  return MSI_CALL(MsiInstallProductW, kInvalidHandle, kInvalidFunction, packagePath, commandLine);
}

UINT MsiApplyPatchStub(LPCWSTR patchPackage, LPCWSTR installPackage, INSTALLTYPE installType, LPCWSTR commandLine) {
  return MSI_CALL(MsiApplyPatchW, kInvalidHandle, kInvalidFunction, patchPackage, installPackage, installType,
                  commandLine);
}

UINT MsiExtractPatchXMLDataStub(LPCWSTR patchPath, DWORD reserved, LPWSTR xmlData, DWORD* xmlDataLength) {
  return MSI_CALL(MsiExtractPatchXMLDataW, kInvalidHandle, kInvalidFunction, patchPath, reserved, xmlData,
                  xmlDataLength);
}

UINT MsiEnumPatchesStub(LPCWSTR product, DWORD patchIndex, LPWSTR patchBuffer, LPWSTR transformsBuffer,
                        DWORD* transformsLength) {
  return MSI_CALL(MsiEnumPatchesW, kInvalidHandle, kInvalidFunction, product, patchIndex, patchBuffer,
                  transformsBuffer, transformsLength);
}

UINT MsiGetSummaryInformationStub(MSIHANDLE database, LPCWSTR databasePath, UINT updateCount,
                                  MSIHANDLE* summaryInfo) {
  return MSI_CALL(MsiGetSummaryInformationW, 0u, 0u, database, databasePath, updateCount, summaryInfo);
}

INSTALLUILEVEL MsiSetInternalUIStub(INSTALLUILEVEL uiLevel, HWND* window) {
  return MSI_CALL(MsiSetInternalUI, INSTALLUILEVEL(0), INSTALLUILEVEL(0), uiLevel, window);
}

INSTALLUI_HANDLERW MsiSetExternalUIStub(INSTALLUI_HANDLERW handler, DWORD messageFilter, LPVOID context) {
  return MSI_CALL(MsiSetExternalUIW, INSTALLUI_HANDLERW(nullptr), INSTALLUI_HANDLERW(nullptr), handler,
                  messageFilter, context);
}

UINT MsiConfigureProductExStub(LPCWSTR product, int installLevel, INSTALLSTATE installState, LPCWSTR commandLine) {
  return MSI_CALL(MsiConfigureProductExW, kInvalidFunction, kInvalidFunction, product, installLevel, installState,
                  commandLine);
}

UINT MsiEnableLogStub(DWORD logMode, LPCWSTR logFile, DWORD logAttributes) {
  return MSI_CALL(MsiEnableLogW, kInvalidFunction, kInvalidFunction, logMode, logFile, logAttributes);
}

UINT MsiOpenPackageStub(LPCWSTR packagePath, MSIHANDLE* product) {
  return MSI_CALL(MsiOpenPackageW, kInvalidFunction, kInvalidFunction, packagePath, product);
}

UINT WINAPI MsiCloseHandleStub(MSIHANDLE handle) {
  return MSI_CALL(MsiCloseHandle, kInvalidFunction, kInvalidFunction, handle);
}

UINT MsiSetPropertyStub(MSIHANDLE install, LPCWSTR name, LPCWSTR value) {
  return MSI_CALL(MsiSetPropertyW, kInvalidFunction, kInvalidFunction, install, name, value);
}

UINT MsiDoActionStub(MSIHANDLE install, LPCWSTR action) {
  return MSI_CALL(MsiDoActionW, kInvalidFunction, kInvalidFunction, install, action);
}

UINT MsiOpenDatabaseStub(LPCWSTR databasePath, LPCWSTR persist, MSIHANDLE* database) {
  return MSI_CALL(MsiOpenDatabaseW, kInvalidFunction, kInvalidFunction, databasePath, persist, database);
}

UINT MsiDatabaseOpenViewStub(MSIHANDLE database, LPCWSTR query, MSIHANDLE* view) {
  return MSI_CALL(MsiDatabaseOpenViewW, kInvalidFunction, kInvalidFunction, database, query, view);
}

UINT MsiViewExecuteStub(MSIHANDLE view, MSIHANDLE record) {
  return MSI_CALL(MsiViewExecute, kInvalidFunction, kInvalidFunction, view, record);
}

UINT MsiViewFetchStub(MSIHANDLE view, MSIHANDLE* record) {
  return MSI_CALL(MsiViewFetch, kInvalidFunction, kInvalidFunction, view, record);
}

UINT MsiRecordGetStringStub(MSIHANDLE record, UINT field, LPWSTR valueBuffer, DWORD* valueLength) {
  return MSI_CALL(MsiRecordGetStringW, kInvalidFunction, kInvalidFunction, record, field, valueBuffer, valueLength);
}

int MsiRecordGetIntegerStub(MSIHANDLE record, UINT field) {
  return CallMsi<decltype(&::MsiRecordGetInteger)>(
      "MsiRecordGetInteger", 1, 1, L"Unable to get the entry point of MsiRecordGetIntegerW function", record, field);
}

UINT MsiRecordGetFieldCountStub(MSIHANDLE record) {
  return MSI_CALL(MsiRecordGetFieldCount, kInvalidFunction, kInvalidFunction, record);
}

UINT MsiGetFeatureStateStub(MSIHANDLE install, LPCWSTR feature, INSTALLSTATE* installed, INSTALLSTATE* action) {
  return MSI_CALL(MsiGetFeatureStateW, kInvalidFunction, kInvalidFunction, install, feature, installed, action);
}

UINT MsiSetInstallLevelStub(MSIHANDLE install, int installLevel) {
  return MSI_CALL(MsiSetInstallLevel, kInvalidFunction, kInvalidFunction, install, installLevel);
}

UINT MsiSetFeatureStateStub(MSIHANDLE install, LPCWSTR feature, INSTALLSTATE state) {
  return MSI_CALL(MsiSetFeatureStateW, kInvalidFunction, kInvalidFunction, install, feature, state);
}

UINT MsiGetPropertyStub(MSIHANDLE install, LPCWSTR name, LPWSTR valueBuffer, DWORD* valueLength) {
  return MSI_CALL(MsiGetPropertyW, kInvalidFunction, kInvalidFunction, install, name, valueBuffer, valueLength);
}

UINT MsiSetExternalUIRecordStub(INSTALLUI_HANDLER_RECORD handler, DWORD messageFilter, LPVOID context,
                                PINSTALLUI_HANDLER_RECORD previousHandler) {
  // The record-based handler arrived with Windows Installer 3.1; callers fall
  // back to the string-based handler when it is missing.
  return CallMsi<decltype(&::MsiSetExternalUIRecord)>(
      "MsiSetExternalUIRecord", kInvalidFunction, kInvalidFunction,
      // Deliberate text (no blank after "function."): kept as written.
      L"Unable to get the entry point of MsiSetExternalUIRecord function.Check Windows Installer version 3.1 "
      L"availability",
      handler, messageFilter, context, previousHandler);
}

UINT MsiFormatRecordStub(MSIHANDLE install, MSIHANDLE record, LPWSTR resultBuffer, DWORD* resultLength) {
  return MSI_CALL(MsiFormatRecordW, kInvalidFunction, kInvalidFunction, install, record, resultBuffer, resultLength);
}

UINT MsiGetFeatureCostStub(MSIHANDLE install, LPCWSTR feature, MSICOSTTREE costTree, INSTALLSTATE state, INT* cost) {
  return MSI_CALL(MsiGetFeatureCostW, kInvalidFunction, kInvalidFunction, install, feature, costTree, state, cost);
}

MSICONDITION MsiEvaluateConditionStub(MSIHANDLE install, LPCWSTR condition) {
  return MSI_CALL(MsiEvaluateConditionW, MSICONDITION_ERROR, MSICONDITION_ERROR, install, condition);
}

UINT MsiDatabaseApplyTransformStub(MSIHANDLE database, LPCWSTR transformFile, int errorConditions) {
  return MSI_CALL(MsiDatabaseApplyTransformW, kInvalidFunction, kInvalidFunction, database, transformFile,
                  errorConditions);
}

UINT MsiReinstallProductStub(LPCWSTR product, DWORD reinstallMode) {
  return MSI_CALL(MsiReinstallProductW, kInvalidFunction, kInvalidFunction, product, reinstallMode);
}

UINT MsiGetProductInfoStub(LPCWSTR product, LPCWSTR attribute, LPWSTR valueBuffer, DWORD* valueLength) {
  return MSI_CALL(MsiGetProductInfoW, kInvalidFunction, kInvalidFunction, product, attribute, valueBuffer,
                  valueLength);
}

UINT MsiViewGetColumnInfoStub(MSIHANDLE view, MSICOLINFO columnInfo, MSIHANDLE* record) {
  return MSI_CALL(MsiViewGetColumnInfo, kInvalidFunction, kInvalidFunction, view, columnInfo, record);
}

UINT MsiSummaryInfoGetPropertyStub(MSIHANDLE summaryInfo, UINT property, UINT* dataType, INT* intValue,
                                   FILETIME* fileTime, LPWSTR valueBuffer, DWORD* valueLength) {
  return MSI_CALL(MsiSummaryInfoGetPropertyW, kInvalidFunction, kInvalidFunction, summaryInfo, property, dataType,
                  intValue, fileTime, valueBuffer, valueLength);
}
