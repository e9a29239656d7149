#include "FeatureTreeBundle.h"

#include <windows.h>
#include <msi.h>

#include "platform/ProcAddress.h"
#include "platform/SystemPaths.h"
#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/TestPaths.h"
#include "support/TestedBuild.h"
#include "support/WixSetBundle.h"

namespace featurewalk {

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

void CreateFolders(const std::wstring& folder) {
  std::wstring partial;
  for (const std::wstring& part : platform::Split(folder, L"\\")) {
    if (part.empty()) continue;
    partial += part + L"\\";
    ::CreateDirectoryW(partial.c_str(), nullptr);
  }
}

std::wstring BuildFolder() {
  const std::wstring packages = testsupport::PackageFolder();  // ...\packages\ beside bin\.
  return packages.substr(0, packages.size() - std::wstring(L"packages\\").size());
}

}  // namespace

FeatureTreeBundle::FeatureTreeBundle(const std::wstring& name, const std::string& extraGeneral) {
  problem_ = testsupport::WixUiLibraryMissingReason();
  if (!problem_.empty()) return;
  const std::wstring parent = BuildFolder() + L"featuretree-bundles\\";
  folder_ = platform::Format(L"%s%s_%lu\\", parent.c_str(), name.c_str(), ::GetCurrentProcessId());
  testsupport::RemoveFolder(folder_);
  for (const wchar_t* sub : {L"SetupData\\Configuration\\", L"SetupData\\Packages\\", L"SetupData\\Wix\\", L"Logs\\"}) {
    CreateFolders(folder_ + sub);
  }
  const std::wstring library = testsupport::RelativePath(folder_, testsupport::WixUiLibraryFolder());
  if (library.empty()) {
    problem_ = L"the bundle folder " + folder_ + L" cannot reach " + testsupport::WixUiLibraryFolder();
    return;
  }
  const std::wstring source = testsupport::SourceFolder() + L"tests\\packages\\";
  struct Copy {
    std::wstring from;
    std::wstring to;
  };
  const Copy copies[] = {
      {testsupport::TestedBinFolder() + L"Setup.exe", L"Setup.exe"},
      {testsupport::PackageFolder() + L"FeatureTreeMain.msi", L"SetupData\\Packages\\FeatureTreeMain.msi"},
      {testsupport::BinFolder() + L"exe_product.exe", L"SetupData\\Packages\\Helper.exe"},
      {testsupport::BinFolder() + L"exe_product.exe", L"SetupData\\Packages\\Runtime.exe"},
      {source + L"featuretree\\FeatureTreeFeatures.wxs", L"SetupData\\Wix\\FeatureTreeFeatures.wxs"},
      {source + L"wizardmain\\StyleConfig.xml", L"SetupData\\Configuration\\StyleConfig.xml"},
  };
  for (const Copy& copy : copies) {
    if (!::CopyFileW(copy.from.c_str(), (folder_ + copy.to).c_str(), FALSE)) {
      problem_ = copy.from + L" could not be copied into " + folder_;
      return;
    }
  }
  std::string sources;
  for (const std::wstring& file : testsupport::WixSetSourceFiles(L"WixUI_FeatureTree.wxs")) {
    sources += "<WixFile Path=\"" + Utf8(library + L"\\" + file) + "\"/>";
  }
  sources += "<WixFile Path=\"SetupData\\Wix\\FeatureTreeFeatures.wxs\"/>";
  const std::string marker = Utf8(folder_ + L"marker.txt");
  const std::string config =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SetupConfig><General>"
      "<BootstrapperRegistry Value=\"FeatureTreeBundle\"/>"
      "<StyleConfigPath Value=\"SetupData\\Configuration\\StyleConfig.xml\"/>"
      "<MainDialogConfigPath Value=\"SetupData\\Configuration\\ConfigForMainDialog.xml\"/>"
      "<RegisterableSetup Value=\"false\"/>"
      "<Logfile Name=\"" + Utf8(LogPath()) + "\" Level=\"DEVELOPERINFO\" Mode=\"APPEND\" MaxLengthOfFile=\"10\"/>" +
      extraGeneral +
      "</General>"
      "<Brand Name=\"Feature Tree\" Value=\"Standard\" Default=\"true\"><ImageFiles>"
      "<Image Name=\"Banner\" FilePath=\"b.bmp\"/></ImageFiles></Brand>"
      "<ProductList><ProductGroup DisplayName=\"Main\" Sequence=\"1\" ShowInUI=\"true\">"
      "<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"Setup Test Feature Tree\" "
      "Id=\"{6B1D0C3A-5E73-4000-8000-000000001701}\" MainProduct=\"true\" WixSource=\"true\" "
      "Location=\"SetupData\\Packages\\FeatureTreeMain.msi\" UninstallCommand=\"" + Utf8(kFeatureTreeProductCode) + "\" "
      "RepairCommand=\"REINSTALL=ALL REINSTALLMODE=omus\" SpaceRequired=\"1\">"
      "<WixSrc>" + sources + "</WixSrc><LocalizationSetting>"
      "<Language Id=\"1033\" Name=\"English\" Codepage=\"1252\"><LocalizationFiles FileName=\"" +
      Utf8(library) + "\\WixUI_en-us.wxl\"/></Language>"
      "</LocalizationSetting></Product></ProductGroup>"
      "<ProductGroup DisplayName=\"Extras\" Sequence=\"2\" ShowInUI=\"true\">"
      "<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"Helper\" Location=\"SetupData\\Packages\\Helper.exe\" "
      "InstallCommand=\"/marker:" + marker + " /name:Helper\" SpaceRequired=\"1\"/>"
      "<Product Sequence=\"2\" Type=\"EXE\" ProductName=\"Runtime\" Location=\"SetupData\\Packages\\Runtime.exe\" "
      "InstallCommand=\"/marker:" + marker + " /name:Runtime\" PropertyName=\"RUNTIMEFOUND\" SpaceRequired=\"1\"/>"
      "</ProductGroup></ProductList></SetupConfig>\n";
  const std::wstring configuration = folder_ + L"SetupData\\Configuration\\";
  if (!testsupport::WriteFileBytes(configuration + L"SetupConfig.xml", config) ||
      !testsupport::WriteFileBytes(configuration + L"ConfigForMainDialog.xml", testsupport::MinimalMainDialogConfig())) {
    problem_ = L"the configuration files could not be written into " + configuration;
  }
}

FeatureTreeBundle::~FeatureTreeBundle() {
  if (!folder_.empty()) testsupport::RemoveFolder(folder_);
}

std::wstring FeatureTreeBundle::MarkerText() const {
  return platform::Utf8ToWide(testsupport::ReadFileBytes(folder_ + L"marker.txt"));
}

int InstalledFeatureState(const std::wstring& productCode, const std::wstring& feature) {
  using QueryFeatureState = INSTALLSTATE(WINAPI*)(LPCWSTR, LPCWSTR);
  static platform::UniqueModule msi = platform::LoadSystemLibrary(L"msi.dll");
  auto query = platform::GetProc<QueryFeatureState>(msi.Get(), "MsiQueryFeatureStateW");
  return query != nullptr ? static_cast<int>(query(productCode.c_str(), feature.c_str())) : -100;
}

bool IsFeatureTreeProductInstalled() { return testsupport::IsWixSetProductInstalled(kFeatureTreeProductCode); }

void RemoveFeatureTreeProduct() { testsupport::RemoveWixSetProductIfInstalled(kFeatureTreeProductCode); }

}  // namespace featurewalk
