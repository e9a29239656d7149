#pragma once
// Windows Installer is bound at run time: msi.dll is loaded from the system
// folder and every installer function is reached through the wrapper named
// after it with the suffix "Stub". A wrapper whose function cannot be reached
// returns a fixed failure value instead of failing the process, so a machine
// with a missing or old installer still runs far enough to report it.
//
// Wrappers called while the library is not loaded return their "not loaded"
// value without logging; a function missing from the loaded library logs one
// INFORMATION line per call and returns its "not found" value.

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

#include "platform/UniqueResource.h"

// Loads msi.dll from the system folder unless it is loaded already; logs
// "LoadLibrary of MSI failed" when it cannot. Called when the MSI manager is
// built, before every installed-product lookup and after the Windows
// Installer update has run. Also makes MsiCloseHandleStub the closer of
// platform::UniqueMsiHandle.
void LoadMsiLibrary();

// Unloads the library (logging "FreeLibrary of MSI failed,error code %d" when
// that fails) and forgets the handle either way. Called only right before the
// Windows Installer update replaces the library.
void FreeMsiLibrary();

// Whether the library is loaded (the handle is set).
[[nodiscard]] bool IsMsiLibraryLoaded();

// Test seam: puts `module` in place of the library handle and returns the
// previous one, so tests can run the wrappers against "not loaded" (an empty
// module) or against a library that lacks the installer functions.
[[nodiscard]] platform::UniqueModule ReplaceMsiLibraryForTest(platform::UniqueModule module);

// Full path of the loaded library; empty when not loaded.
[[nodiscard]] std::wstring GetMsiLibraryPath();

UINT MsiInstallProductStub(LPCWSTR packagePath, LPCWSTR commandLine);
UINT MsiApplyPatchStub(LPCWSTR patchPackage, LPCWSTR installPackage, INSTALLTYPE installType, LPCWSTR commandLine);
UINT MsiExtractPatchXMLDataStub(LPCWSTR patchPath, DWORD reserved, LPWSTR xmlData, DWORD* xmlDataLength);
UINT MsiEnumPatchesStub(LPCWSTR product, DWORD patchIndex, LPWSTR patchBuffer, LPWSTR transformsBuffer,
                        DWORD* transformsLength);
UINT MsiGetSummaryInformationStub(MSIHANDLE database, LPCWSTR databasePath, UINT updateCount,
                                  MSIHANDLE* summaryInfo);
INSTALLUILEVEL MsiSetInternalUIStub(INSTALLUILEVEL uiLevel, HWND* window);
INSTALLUI_HANDLERW MsiSetExternalUIStub(INSTALLUI_HANDLERW handler, DWORD messageFilter, LPVOID context);
UINT MsiConfigureProductExStub(LPCWSTR product, int installLevel, INSTALLSTATE installState, LPCWSTR commandLine);
UINT MsiEnableLogStub(DWORD logMode, LPCWSTR logFile, DWORD logAttributes);
UINT MsiOpenPackageStub(LPCWSTR packagePath, MSIHANDLE* product);
// WINAPI so it can serve as platform::MsiHandleCloser.
UINT WINAPI MsiCloseHandleStub(MSIHANDLE handle);
UINT MsiSetPropertyStub(MSIHANDLE install, LPCWSTR name, LPCWSTR value);
UINT MsiDoActionStub(MSIHANDLE install, LPCWSTR action);
UINT MsiOpenDatabaseStub(LPCWSTR databasePath, LPCWSTR persist, MSIHANDLE* database);
UINT MsiDatabaseOpenViewStub(MSIHANDLE database, LPCWSTR query, MSIHANDLE* view);
UINT MsiViewExecuteStub(MSIHANDLE view, MSIHANDLE record);
UINT MsiViewFetchStub(MSIHANDLE view, MSIHANDLE* record);
UINT MsiRecordGetStringStub(MSIHANDLE record, UINT field, LPWSTR valueBuffer, DWORD* valueLength);
int MsiRecordGetIntegerStub(MSIHANDLE record, UINT field);
UINT MsiRecordGetFieldCountStub(MSIHANDLE record);
UINT MsiGetFeatureStateStub(MSIHANDLE install, LPCWSTR feature, INSTALLSTATE* installed, INSTALLSTATE* action);
UINT MsiSetInstallLevelStub(MSIHANDLE install, int installLevel);
UINT MsiSetFeatureStateStub(MSIHANDLE install, LPCWSTR feature, INSTALLSTATE state);
UINT MsiGetPropertyStub(MSIHANDLE install, LPCWSTR name, LPWSTR valueBuffer, DWORD* valueLength);
UINT MsiSetExternalUIRecordStub(INSTALLUI_HANDLER_RECORD handler, DWORD messageFilter, LPVOID context,
                                PINSTALLUI_HANDLER_RECORD previousHandler);
UINT MsiFormatRecordStub(MSIHANDLE install, MSIHANDLE record, LPWSTR resultBuffer, DWORD* resultLength);
UINT MsiGetFeatureCostStub(MSIHANDLE install, LPCWSTR feature, MSICOSTTREE costTree, INSTALLSTATE state, INT* cost);
MSICONDITION MsiEvaluateConditionStub(MSIHANDLE install, LPCWSTR condition);
UINT MsiDatabaseApplyTransformStub(MSIHANDLE database, LPCWSTR transformFile, int errorConditions);
UINT MsiReinstallProductStub(LPCWSTR product, DWORD reinstallMode);
UINT MsiGetProductInfoStub(LPCWSTR product, LPCWSTR attribute, LPWSTR valueBuffer, DWORD* valueLength);
UINT MsiViewGetColumnInfoStub(MSIHANDLE view, MSICOLINFO columnInfo, MSIHANDLE* record);
UINT MsiSummaryInfoGetPropertyStub(MSIHANDLE summaryInfo, UINT property, UINT* dataType, INT* intValue,
                                   FILETIME* fileTime, LPWSTR valueBuffer, DWORD* valueLength);
