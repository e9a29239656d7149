#pragma once
// The standard WiX UI library of the shared test data, read into a model once
// per localization file and kept for the tests of this process.

#include <memory>
#include <string>
#include <vector>

#include "config/SetupConfigData.h"
#include "ui/style/DialogUnitConverter.h"
#include "wix/WixDataManager.h"
#include "wix/WixDialog.h"

namespace wixtest {

struct WixLibrary {
  CSetupConfigData record;
  CDialogUnitConverter converter;
  CWixDataManager model{record};
  int measuredDpi = 0;
  std::vector<std::wstring> failedFiles;
  int attachedPublishes = 0;
};

// "...\wixui\" of the shared folder.
std::wstring WixUiFolder();
// The library's .wxs files by name, sorted; the WixUI_* dialog sets only when asked.
std::vector<std::wstring> LibraryFiles(bool withSets);
// Reads the files (names within the library folder) with the localization file.
std::unique_ptr<WixLibrary> ReadLibrary(const std::wstring& wxl, const std::vector<std::wstring>& files);
// The dialog files of the library (and all the sets, when asked), read once.
WixLibrary& Library(const std::wstring& wxl, bool withSets);

}  // namespace wixtest
