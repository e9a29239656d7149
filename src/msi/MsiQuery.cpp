#include "msi/MsiQuery.h"

#include "msi/MsiEntryPoints.h"
#include "platform/UniqueResource.h"

std::wstring ReadRecordString(MSIHANDLE record, UINT field) {
  DWORD length = 0;
  wchar_t empty[1] = L"";
  UINT result = MsiRecordGetStringStub(record, field, empty, &length);
  if (result != ERROR_MORE_DATA) return {};
  std::wstring value(length + 1, L'\0');
  DWORD size = length + 1;
  if (MsiRecordGetStringStub(record, field, &value[0], &size) != ERROR_SUCCESS) return {};
  value.resize(size);
  return value;
}

std::wstring ReadSessionProperty(MSIHANDLE package, const std::wstring& name) {
  DWORD length = 0;
  wchar_t empty[1] = L"";
  UINT result = MsiGetPropertyStub(package, name.c_str(), empty, &length);
  if (result != ERROR_MORE_DATA) return {};
  std::wstring value(length + 1, L'\0');
  DWORD size = length + 1;
  if (MsiGetPropertyStub(package, name.c_str(), &value[0], &size) != ERROR_SUCCESS) return {};
  value.resize(size);
  return value;
}

std::wstring ReadPackageFileProperty(const std::wstring& path, const std::wstring& name) {
  if (path.empty() || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
  // Start-up reads packages before the MSI manager has loaded the library.
  LoadMsiLibrary();
  platform::UniqueMsiHandle database;
  MSIHANDLE raw = 0;
  if (MsiOpenDatabaseStub(path.c_str(), reinterpret_cast<LPCWSTR>(MSIDBOPEN_READONLY), &raw) != ERROR_SUCCESS) {
    return {};
  }
  database.Reset(raw);
  // The name goes in as a literal: property names cannot hold a quote.
  if (name.find(L'\'') != std::wstring::npos) return {};
  std::wstring query = L"SELECT `Value` FROM `Property` WHERE `Property` = '" + name + L"'";
  platform::UniqueMsiHandle view;
  MSIHANDLE rawView = 0;
  if (MsiDatabaseOpenViewStub(database.Get(), query.c_str(), &rawView) != ERROR_SUCCESS) return {};
  view.Reset(rawView);
  if (MsiViewExecuteStub(view.Get(), 0) != ERROR_SUCCESS) return {};
  MSIHANDLE rawRecord = 0;
  if (MsiViewFetchStub(view.Get(), &rawRecord) != ERROR_SUCCESS) return {};
  platform::UniqueMsiHandle record(rawRecord);
  return ReadRecordString(record.Get(), 1);
}
