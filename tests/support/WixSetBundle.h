#pragma once
// Bundles whose wizard is one of the standard WiX UI dialog sets of the shared
// library (../shared/wixui): the set's main package (tests/packages/wixsets)
// and a SetupConfig.xml that names the set's .wxs files and the library's
// localization files where they lie. The configuration joins every WiX path
// to the setup folder, so the bundle is laid out on the library's drive (in
// the build folder) and reaches the library through a relative path.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

struct WixUiSet {
  const char* name;            // "InstallDir": test names, package and product names
  const wchar_t* setFile;      // the set's own source in the library
  const wchar_t* firstDialog;  // the page the package's user-interface sequence shows first
  const wchar_t* productCode;
  const wchar_t* packageCode;
  // The package's own feature source among the bundle's WiX sources (in
  // tests/packages/wixsets), for the sets whose pages show a feature tree.
  const wchar_t* featureSource = nullptr;
};

// The five sets of the library, with their test packages.
const std::vector<WixUiSet>& WixUiSets();
// Readable test names for parameterised tests over the sets.
std::string WixUiSetName(const WixUiSet& set);
void PrintTo(const WixUiSet& set, std::ostream* os);

// "Setup Test WixUI <name>", the package's ProductName.
std::wstring WixSetProductName(const WixUiSet& set);
// The built package, build\win64\packages\WixSet<name>.msi.
std::wstring WixSetPackagePath(const WixUiSet& set);

// A text control of the set's first page and the localization string it shows.
struct WixSetPageText {
  const wchar_t* control;
  const wchar_t* stringId;
};
std::vector<WixSetPageText> WixSetFirstPageTexts(const WixUiSet& set);

// A string of a library localization file (WixUI_en-us.wxl, ...), read
// straight from the file; "<...>" when it is not there.
std::wstring WixUiLibraryString(const std::wstring& wxlFile, const std::wstring& stringId);
// The text of "{\Style}text" as WiX writes a styled text.
std::wstring WithoutTextStyle(const std::wstring& text);

// The library folder of the shared test data ("...\wixui\"), whether or not
// it exists; empty when SETUP_TEST_SHARED_DIR is not set.
std::wstring WixUiLibraryFolder();
// Empty when the library is there; otherwise why a test cannot use it,
// naming the folder that was looked for.
std::wstring WixUiLibraryMissingReason();

// Skips the current test, saying why, when the shared WiX UI library is not
// there (a clone without ../shared beside it).
#define SKIP_WITHOUT_WIXUI_LIBRARY()                                                           \
  do {                                                                                         \
    const std::wstring wixUiMissing = ::testsupport::WixUiLibraryMissingReason();              \
    if (!wixUiMissing.empty()) GTEST_SKIP() << std::string(wixUiMissing.begin(), wixUiMissing.end()); \
  } while (0)

// The library's .wxs files a bundle needs for the set (names within the
// library folder): the set's file, then every dialog file it names (DialogRef,
// Publish, Show, NewDialog/SpawnDialog targets) and every UIRef, followed
// through those files in turn; sorted after the set's own file.
std::vector<std::wstring> WixSetSourceFiles(const std::wstring& setFile);

// A relative path from `folder` (absolute, trailing backslash optional) to
// `target` (absolute); empty when both are not on the same drive.
std::wstring RelativePath(const std::wstring& folder, const std::wstring& target);

class WixSetBundle {
 public:
  // Lays out Setup.exe, the set's package, the look files and SetupConfig.xml
  // in a fresh folder named after `name`. English (1033) reads
  // WixUI_en-us.wxl, German (1031) WixUI_de-de.wxl.
  WixSetBundle(const WixUiSet& set, const std::wstring& name);
  // With the look files given (StyleConfig.xml and ConfigForMainDialog.xml
  // contents) instead of the minimal ones.
  WixSetBundle(const WixUiSet& set, const std::wstring& name, const std::string& styleConfig,
               const std::string& mainDialogConfig);
  ~WixSetBundle();
  WixSetBundle(const WixSetBundle&) = delete;
  WixSetBundle& operator=(const WixSetBundle&) = delete;

  // Empty when the bundle is complete; otherwise what is missing.
  [[nodiscard]] const std::wstring& Problem() const { return problem_; }
  [[nodiscard]] const std::wstring& Folder() const { return folder_; }
  [[nodiscard]] std::wstring SetupExe() const { return folder_ + L"Setup.exe"; }
  [[nodiscard]] std::wstring SetupConfigPath() const { return folder_ + L"SetupData\\Configuration\\SetupConfig.xml"; }
  [[nodiscard]] std::wstring LogPath() const { return folder_ + L"Logs\\Setup.log"; }
  // The WixFile paths of SetupConfig.xml, relative to the bundle folder.
  [[nodiscard]] const std::vector<std::wstring>& WixFilePaths() const { return wixFiles_; }

 private:
  std::wstring folder_;
  std::wstring problem_;
  std::vector<std::wstring> wixFiles_;
};

// Whether Windows Installer knows the set's product as installed.
[[nodiscard]] bool IsWixSetProductInstalled(const std::wstring& productCode);
// Removes the product quietly when a run installed it, so the next test starts clean.
void RemoveWixSetProductIfInstalled(const std::wstring& productCode);

}  // namespace testsupport
