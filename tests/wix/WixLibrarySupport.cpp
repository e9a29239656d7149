#include "WixLibrarySupport.h"

#include <windows.h>

#include <algorithm>
#include <map>

#include "platform/StringUtil.h"
#include "support/TestPaths.h"
#include "wix/WixLocalizationReader.h"
#include "wix/WixSourceReader.h"

namespace wixtest {

std::wstring WixUiFolder() { return testsupport::SharedFolder() + L"wixui\\"; }

std::vector<std::wstring> LibraryFiles(bool withSets) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((WixUiFolder() + L"*.wxs").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    std::wstring name = found.cFileName;
    if (withSets || !platform::StartsWith(name, L"WixUI_")) files.push_back(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(files.begin(), files.end());
  return files;
}

std::unique_ptr<WixLibrary> ReadLibrary(const std::wstring& wxl, const std::vector<std::wstring>& files) {
  auto library = std::make_unique<WixLibrary>();
  if (library->converter.Measure()) library->measuredDpi = library->converter.GetMeasuredDpi();
  CWixLocalizationReader strings(library->record, library->record);
  if (!strings.ReadWixLocalizationFile(WixUiFolder() + wxl)) library->failedFiles.push_back(wxl);
  CWixSourceReader reader(library->record, library->record, library->model, library->converter);
  for (const std::wstring& file : files) {
    if (reader.ParseWixFile(WixUiFolder() + file) != 1) library->failedFiles.push_back(file);
  }
  library->attachedPublishes = reader.CompleteParse();
  return library;
}

WixLibrary& Library(const std::wstring& wxl, bool withSets) {
  static std::map<std::wstring, std::unique_ptr<WixLibrary>> libraries;
  std::wstring key = wxl + (withSets ? L"+sets" : L"");
  auto found = libraries.find(key);
  if (found == libraries.end()) found = libraries.emplace(key, ReadLibrary(wxl, LibraryFiles(withSets))).first;
  return *found->second;
}

}  // namespace wixtest
