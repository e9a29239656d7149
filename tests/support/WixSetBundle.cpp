#include "support/WixSetBundle.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "msi/MsiEntryPoints.h"
#include "xml/Parser.h"
#include "xml/XmlNode.h"
#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/TestPaths.h"
#include "support/TestedBuild.h"

namespace testsupport {

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CreateFolders(const std::wstring& folder) {
  std::wstring partial;
  for (const std::wstring& part : platform::Split(folder, L"\\")) {
    if (part.empty()) continue;
    partial += part + L"\\";
    ::CreateDirectoryW(partial.c_str(), nullptr);
  }
}

std::vector<std::wstring> PathParts(const std::wstring& path) {
  std::vector<std::wstring> parts;
  for (const std::wstring& part : platform::Split(path, L"\\")) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

// The build's own folder (build\win64\), beside bin\ and packages\.
std::wstring BuildFolder() {
  const std::wstring bin = BinFolder();
  const size_t slash = bin.find_last_of(L'\\', bin.size() >= 2 ? bin.size() - 2 : 0);
  return slash == std::wstring::npos ? bin : bin.substr(0, slash + 1);
}

// The .wxs file of the library that defines a dialog or a UI element (the
// library names each file after what it defines; WixUI_<X> lives in <X>.wxs).
std::wstring FileDefining(const std::wstring& id) {
  const std::wstring folder = WixUiLibraryFolder();
  for (const std::wstring& candidate : {id + L".wxs", platform::StartsWith(id, L"WixUI_") ? id.substr(6) + L".wxs"
                                                                                            : std::wstring()}) {
    if (!candidate.empty() && Exists(folder + candidate)) return candidate;
  }
  return {};
}

// Every dialog or UI element a library file names.
std::vector<std::wstring> NamedIds(const std::wstring& path) {
  std::vector<std::wstring> ids;
  CXmlNode root;
  std::wstring error;
  if (!CParser::LoadXmlFile(path, root, error)) return ids;
  auto add = [&ids](const std::wstring& id) {
    if (!id.empty()) ids.push_back(id);
  };
  if (auto refs = root.SelectNodes(L"//DialogRef|//UIRef")) {
    for (const CXmlNode& ref : *refs) add(ref.GetAttribute(L"Id"));
  }
  if (auto shows = root.SelectNodes(L"//Show")) {
    for (const CXmlNode& show : *shows) add(show.GetAttribute(L"Dialog"));
  }
  if (auto publishes = root.SelectNodes(L"//Publish")) {
    for (const CXmlNode& publish : *publishes) {
      add(publish.GetAttribute(L"Dialog"));
      const std::wstring event = publish.GetAttribute(L"Event");
      if (event == L"NewDialog" || event == L"SpawnDialog" || event == L"SpawnWaitDialog" ||
          event == L"SelectionBrowse") {
        add(publish.GetAttribute(L"Value"));
      }
    }
  }
  return ids;
}

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

}  // namespace

const std::vector<WixUiSet>& WixUiSets() {
  static const std::vector<WixUiSet> sets = {
      {"Minimal", L"WixUI_Minimal.wxs", L"WelcomeEulaDlg", L"{6B1D0C3A-5E70-4000-8000-000000005701}",
       L"{6B1D0C3A-5E73-4000-8000-000000005701}"},
      {"InstallDir", L"WixUI_InstallDir.wxs", L"WelcomeDlg", L"{6B1D0C3A-5E70-4000-8000-000000005702}",
       L"{6B1D0C3A-5E73-4000-8000-000000005702}"},
      {"FeatureTree", L"WixUI_FeatureTree.wxs", L"WelcomeDlg", L"{6B1D0C3A-5E70-4000-8000-000000005703}",
       L"{6B1D0C3A-5E73-4000-8000-000000005703}", L"WixSetFeatures.INSTALLDIR.wxs"},
      {"Mondo", L"WixUI_Mondo.wxs", L"WelcomeDlg", L"{6B1D0C3A-5E70-4000-8000-000000005704}",
       L"{6B1D0C3A-5E73-4000-8000-000000005704}", L"WixSetFeatures.INSTALLDIR.wxs"},
      {"Advanced", L"WixUI_Advanced.wxs", L"AdvancedWelcomeEulaDlg", L"{6B1D0C3A-5E70-4000-8000-000000005705}",
       L"{6B1D0C3A-5E73-4000-8000-000000005705}", L"WixSetFeatures.APPLICATIONFOLDER.wxs"},
  };
  return sets;
}

std::string WixUiSetName(const WixUiSet& set) { return set.name; }

void PrintTo(const WixUiSet& set, std::ostream* os) { *os << "WixUI_" << set.name; }

std::wstring WixSetProductName(const WixUiSet& set) { return L"Setup Test WixUI " + platform::Utf8ToWide(set.name); }

std::wstring WixSetPackagePath(const WixUiSet& set) {
  return PackageFolder() + L"WixSet" + platform::Utf8ToWide(set.name) + L".msi";
}

std::vector<WixSetPageText> WixSetFirstPageTexts(const WixUiSet& set) {
  const std::wstring first = set.firstDialog;
  if (first == L"WelcomeDlg") return {{L"Title", L"WelcomeDlgTitle"}, {L"Description", L"WelcomeDlgDescription"}};
  if (first == L"WelcomeEulaDlg") return {{L"Title", L"WelcomeEulaDlgTitle"}};
  return {{L"Title", L"AdvancedWelcomeEulaDlgTitle"}};
}

std::wstring WixUiLibraryString(const std::wstring& wxlFile, const std::wstring& stringId) {
  CXmlNode root;
  std::wstring error;
  if (!CParser::LoadXmlFile(WixUiLibraryFolder() + wxlFile, root, error)) return L"<" + wxlFile + L" unreadable>";
  if (auto strings = root.SelectNodes(L"String")) {
    for (const CXmlNode& element : *strings) {
      if (element.GetAttribute(L"Id") == stringId) return element.GetText();
    }
  }
  return L"<no string " + stringId + L" in " + wxlFile + L">";
}

std::wstring WithoutTextStyle(const std::wstring& text) {
  if (!platform::StartsWith(text, L"{\\")) return text;
  const size_t close = text.find(L'}');
  return close == std::wstring::npos ? text : text.substr(close + 1);
}

std::wstring WixUiLibraryFolder() {
  const std::wstring shared = SharedFolder();
  return shared.empty() ? std::wstring() : shared + L"wixui\\";
}

std::wstring WixUiLibraryMissingReason() {
  const std::wstring folder = WixUiLibraryFolder();
  if (folder.empty()) {
    return L"SETUP_TEST_SHARED_DIR is not set: no WiX UI library (../shared/wixui) to read; ./dev sets it from "
           L"SETUP_SHARED_DIR or ../shared";
  }
  if (!IsFolder(folder)) {
    return L"the WiX UI library is not there: looked for " + folder +
           L" (./dev takes the shared test data from ../shared beside the repository, or from SETUP_SHARED_DIR)";
  }
  return {};
}

std::vector<std::wstring> WixSetSourceFiles(const std::wstring& setFile) {
  const std::wstring folder = WixUiLibraryFolder();
  std::set<std::wstring> found;
  std::vector<std::wstring> pending = {setFile};
  while (!pending.empty()) {
    const std::wstring file = pending.back();
    pending.pop_back();
    if (!found.insert(file).second) continue;
    for (const std::wstring& id : NamedIds(folder + file)) {
      const std::wstring defining = FileDefining(id);
      if (!defining.empty() && found.count(defining) == 0) pending.push_back(defining);
    }
  }
  found.erase(setFile);
  std::vector<std::wstring> files = {setFile};
  files.insert(files.end(), found.begin(), found.end());
  return files;
}

std::wstring RelativePath(const std::wstring& folder, const std::wstring& target) {
  const std::vector<std::wstring> from = PathParts(folder);
  const std::vector<std::wstring> to = PathParts(target);
  if (from.empty() || to.empty() || !platform::EqualsNoCase(from[0], to[0])) return {};
  size_t common = 0;
  while (common < from.size() && common < to.size() && platform::EqualsNoCase(from[common], to[common])) ++common;
  std::wstring relative;
  for (size_t i = common; i < from.size(); ++i) relative += L"..\\";
  for (size_t i = common; i < to.size(); ++i) relative += (i > common ? L"\\" : L"") + to[i];
  return relative;
}

WixSetBundle::WixSetBundle(const WixUiSet& set, const std::wstring& name)
    : WixSetBundle(set, name, MinimalStyleConfig(), MinimalMainDialogConfig()) {}

WixSetBundle::WixSetBundle(const WixUiSet& set, const std::wstring& name, const std::string& styleConfig,
                           const std::string& mainDialogConfig) {
  problem_ = WixUiLibraryMissingReason();
  if (!problem_.empty()) return;
  const std::wstring parent = BuildFolder() + L"wixset-bundles\\";
  CreateFolders(parent);
  folder_ = platform::Format(L"%s%s_%lu\\", parent.c_str(), name.c_str(), ::GetCurrentProcessId());
  RemoveFolder(folder_);
  CreateFolders(folder_ + L"SetupData\\Configuration\\");
  CreateFolders(folder_ + L"SetupData\\Packages\\");
  CreateFolders(folder_ + L"Logs\\");

  const std::wstring library = RelativePath(folder_, WixUiLibraryFolder());
  if (library.empty()) {
    problem_ = L"the bundle folder " + folder_ + L" cannot reach " + WixUiLibraryFolder() + L" by a relative path";
    return;
  }
  const std::wstring package = L"SetupData\\Packages\\WixSet" + platform::Utf8ToWide(set.name) + L".msi";
  if (!::CopyFileW((TestedBinFolder() + L"Setup.exe").c_str(), SetupExe().c_str(), FALSE) ||
      !::CopyFileW(WixSetPackagePath(set).c_str(), (folder_ + package).c_str(), FALSE)) {
    problem_ = L"Setup.exe or " + WixSetPackagePath(set) + L" could not be copied into " + folder_;
    return;
  }

  std::string sources;
  for (const std::wstring& file : WixSetSourceFiles(set.setFile)) {
    wixFiles_.push_back(library + L"\\" + file);
    sources += "<WixFile Path=\"" + Utf8(wixFiles_.back()) + "\"/>";
  }
  if (set.featureSource != nullptr) {
    const std::wstring packages = RelativePath(folder_, SourceFolder() + L"tests\\packages\\wixsets\\");
    if (packages.empty()) {
      problem_ = L"the bundle folder " + folder_ + L" cannot reach the package sources by a relative path";
      return;
    }
    wixFiles_.push_back(packages + L"\\" + set.featureSource);
    sources += "<WixFile Path=\"" + Utf8(wixFiles_.back()) + "\"/>";
  }
  const std::string config =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SetupConfig><General>"
      "<BootstrapperRegistry Value=\"WixSetBundle" + std::string(set.name) + "\"/>"
      "<StyleConfigPath Value=\"SetupData\\Configuration\\StyleConfig.xml\"/>"
      "<MainDialogConfigPath Value=\"SetupData\\Configuration\\ConfigForMainDialog.xml\"/>"
      "<RegisterableSetup Value=\"false\"/>"
      "<Logfile Name=\"" + Utf8(LogPath()) + "\" Level=\"DEVELOPERINFO\" Mode=\"APPEND\" MaxLengthOfFile=\"10\"/>"
      "</General>"
      "<Brand Name=\"WixUI " + std::string(set.name) + "\" Value=\"Standard\" Default=\"true\"><ImageFiles>"
      "<Image Name=\"Banner\" FilePath=\"b.bmp\"/></ImageFiles></Brand>"
      "<ProductList><ProductGroup DisplayName=\"%SelectedBrand%\" Sequence=\"1\" ShowInUI=\"true\">"
      "<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"" + Utf8(WixSetProductName(set)) + "\" "
      "Id=\"" + Utf8(set.packageCode) + "\" MainProduct=\"true\" WixSource=\"true\" "
      "Location=\"" + Utf8(package) + "\" UninstallCommand=\"" + Utf8(set.productCode) + "\" "
      // A repair command without REINSTALL: what the repair reinstalls, and
      // how, comes from the set's own Reinstall and ReinstallMode events on
      // VerifyReadyDlg.
      "RepairCommand=\"REBOOT=ReallySuppress\" SpaceRequired=\"1\"" +
      // The features the user chose in the tree reach the package (a change adds them).
      std::string(set.featureSource != nullptr ? " InstallCommand=\"ADDLOCAL=[SelectedFeatures]\"" : "") + ">"
      "<WixSrc>" + sources + "</WixSrc><LocalizationSetting>"
      "<Language Id=\"1033\" Name=\"English\" Codepage=\"1252\"><LocalizationFiles FileName=\"" +
      Utf8(library) + "\\WixUI_en-us.wxl\"/></Language>"
      "<Language Id=\"1031\" Name=\"Deutsch\" Codepage=\"1252\"><LocalizationFiles FileName=\"" +
      Utf8(library) + "\\WixUI_de-de.wxl\"/></Language>"
      "</LocalizationSetting></Product></ProductGroup></ProductList></SetupConfig>\n";
  const std::wstring configuration = folder_ + L"SetupData\\Configuration\\";
  if (!WriteFileBytes(SetupConfigPath(), config) ||
      !WriteFileBytes(configuration + L"StyleConfig.xml", styleConfig) ||
      !WriteFileBytes(configuration + L"ConfigForMainDialog.xml", mainDialogConfig)) {
    problem_ = L"the configuration files could not be written into " + configuration;
  }
}

WixSetBundle::~WixSetBundle() {
  if (!folder_.empty()) RemoveFolder(folder_);
}

bool IsWixSetProductInstalled(const std::wstring& productCode) {
  LoadMsiLibrary();
  wchar_t buffer[256] = {};
  DWORD length = 256;
  return MsiGetProductInfoStub(productCode.c_str(), INSTALLPROPERTY_INSTALLEDPRODUCTNAME, buffer, &length) ==
         ERROR_SUCCESS;
}

void RemoveWixSetProductIfInstalled(const std::wstring& productCode) {
  if (!IsWixSetProductInstalled(productCode)) return;
  (void)MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  (void)MsiConfigureProductExStub(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"");
}

}  // namespace testsupport
