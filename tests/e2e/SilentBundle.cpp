#include "SilentBundle.h"

#include <windows.h>

#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "registry/RegistryUtil.h"
#include "support/TestPaths.h"
#include "support/TestedBuild.h"
#include "support/WindowDriver.h"

namespace e2etest {

const wchar_t SilentBundle::kStudioCode[] = L"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}";
const wchar_t SilentBundle::kSamplesCode[] = L"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A11}";
const wchar_t SilentBundle::kSmallACode[] = L"{6B1D0C3A-2000-4000-8000-0000000000A1}";
const wchar_t SilentBundle::kSmallCCode[] = L"{6B1D0C3A-2000-4000-8000-0000000000A3}";

namespace {

constexpr DWORD kRunTimeoutMs = 180000;
const std::wstring kUninstallKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

bool CopyInto(testsupport::BundleFixture& bundle, const std::wstring& from, const std::wstring& relativePath) {
  const std::string bytes = testsupport::ReadFileBytes(from);
  return !bytes.empty() && bundle.WriteFile(relativePath, bytes);
}

std::string LogfileElement(const SilentBundleOptions& options, const std::wstring& folder,
                           const std::wstring& logFolder) {
  if (options.logfileElement.empty()) {
    return "<Logfile Name=\"" + Utf8(logFolder) +
           "Setup.log\" Level=\"DEVELOPERINFO\" Mode=\"APPEND\" MaxLengthOfFile=\"10\"/>";
  }
  std::string element = options.logfileElement;
  const std::string token = "{bundle}";
  for (size_t at = element.find(token); at != std::string::npos; at = element.find(token, at)) {
    element.replace(at, token.size(), Utf8(folder));
  }
  return element;
}

bool EnsureMsiLoaded() {
  static const bool loaded = [] {
    LoadMsiLibrary();
    return true;
  }();
  return loaded;
}

std::wstring ReadLogFile(const std::wstring& path) {
  const std::string bytes = testsupport::ReadFileBytes(path);
  // Setup logs are UTF-16; Windows Installer's own logs may be either.
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    return testsupport::ReadUtf16File(path);
  }
  return platform::Utf8ToWide(bytes);
}

}  // namespace

BundleProduct SilentBundle::Studio() {
  return {"<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"Halvorsk Studio 4.2\" "
          "Id=\"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4C10}\" MainProduct=\"true\" WixSource=\"true\" Rollback=\"true\" "
          "Location=\"SetupData\\Packages\\Studio\\HalvorskStudio.msi\" InstallCommand=\"REBOOT=ReallySuppress\" "
          "UninstallCommand=\"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10} REBOOT=ReallySuppress\" "
          "RepairCommand=\"REINSTALL=ALL REINSTALLMODE=omus\" SpaceRequired=\"1\">"
          "<WixSrc><WixFile Path=\"SetupData\\Wix\\StudioUI.wxs\"/><WixFile Path=\"SetupData\\Wix\\StudioFeatures.wxs\"/>"
          "</WixSrc><LocalizationSetting><Language Id=\"1033\" Name=\"English\" Codepage=\"1252\">"
          "<LocalizationFiles FileName=\"SetupData\\Wix\\Localization\\en-us.wxl\"/>"
          "<LocalizationFiles FileName=\"SetupData\\Wix\\Localization\\Studio.en-us.wxl\"/>"
          "</Language></LocalizationSetting></Product>",
          kStudioCode};
}

BundleProduct SilentBundle::Samples() {
  return {"<Product Sequence=\"2\" Type=\"MSI\" ProductName=\"Halvorsk Studio Sample Projects\" "
          "Id=\"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A11}\" Location=\"SetupData\\Packages\\Samples\\HalvorskSamples.msi\" "
          "InstallCommand=\"INSTALLDIR=&quot;[InstallDir]Samples&quot;\" "
          "UninstallCommand=\"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A11}\" "
          "RepairCommand=\"REINSTALL=ALL REINSTALLMODE=omus\" SpaceRequired=\"1\"/>",
          kSamplesCode};
}

BundleProduct SilentBundle::SmallA() {
  return {"<Product Sequence=\"3\" Type=\"MSI\" ProductName=\"SmallA\" Id=\"{6B1D0C3A-2000-4000-8000-0000000000A1}\" "
          "Location=\"SetupData\\Packages\\SmallA.msi\" UninstallCommand=\"{6B1D0C3A-2000-4000-8000-0000000000A1}\" "
          "RepairCommand=\"REINSTALL=ALL REINSTALLMODE=omus\" SpaceRequired=\"1\"/>",
          kSmallACode};
}

std::vector<BundleProduct> SilentBundle::DemoProducts() { return {Studio(), Samples(), SmallA()}; }

SilentBundle::SilentBundle(const std::wstring& name, const std::vector<BundleProduct>& products,
                           const std::string& silentProperties, const std::string& extraSections)
    : SilentBundle(name, products, silentProperties, SilentBundleOptions{"", extraSections, L"", "", "Setup\\Setup.exe"}) {}

SilentBundle::SilentBundle(const std::wstring& name, const std::vector<BundleProduct>& products,
                           const std::string& silentProperties, const SilentBundleOptions& options)
    : bundle_(name), bundleKey_(options.bundleKey.empty() ? std::wstring(kBundleKey) : options.bundleKey) {
  EnsureMsiLoaded();
  logFolder_ = bundle_.Folder() + L"Logs\\";
  ::CreateDirectoryW(logFolder_.c_str(), nullptr);
  std::string productXml;
  for (const BundleProduct& product : products) {
    productXml += product.xml;
    if (!product.productCode.empty()) productCodes_.push_back(product.productCode);
  }
  const std::string config =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SetupConfig><General>"
      "<BootstrapperRegistry Value=\"" + Utf8(bundleKey_) + "\"/>"
      "<MaintenanceExePath Value=\"" + options.maintenanceExePath + "\"/><InstallLocation Value=\"[InstallDir]\"/>"
      "<RegisterableSetup Value=\"true\"/>"
      + LogfileElement(options, bundle_.Folder(), logFolder_) + options.extraGeneral + "</General>"
      "<Brand Name=\"E2E Studio\" Value=\"Professional\" Default=\"true\"><ImageFiles>"
      "<Image Name=\"Banner\" FilePath=\"b.bmp\"/></ImageFiles></Brand>" + options.extraSections +
      "<ProductList><ProductGroup DisplayName=\"%SelectedBrand%\" Sequence=\"1\" ShowInUI=\"true\">" + productXml +
      "</ProductGroup></ProductList></SetupConfig>\n";
  (void)bundle_.WriteConfigurationFile(L"SetupConfig.xml", config);
  const std::string silent =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SilentConfig><GeneralSettings>"
      + (options.silentGeneral.empty() ? std::string("<ShowErrorDialog Value=\"false\"/><ShowIndicator Value=\"false\"/>")
                                       : options.silentGeneral) +
      "</GeneralSettings>"
      "<WixSource>" +
      (options.silentWixFiles.empty()
           ? std::string("<WixFile Path=\"SetupData\\Wix\\StudioUI.wxs\"/><WixFile Path=\"SetupData\\Wix\\StudioFeatures.wxs\"/>")
           : options.silentWixFiles) +
      "</WixSource><GeneralProperties>" + silentProperties + "</GeneralProperties></SilentConfig>\n";
  (void)bundle_.WriteConfigurationFile(L"SilentConfig.xml", silent);

  const std::wstring demo = testsupport::SourceFolder() + L"examples\\demo\\SetupData\\Wix\\";
  for (const wchar_t* file : {L"StudioUI.wxs", L"StudioFeatures.wxs", L"Localization\\en-us.wxl",
                              L"Localization\\Studio.en-us.wxl"}) {
    (void)CopyInto(bundle_, demo + file, std::wstring(L"SetupData\\Wix\\") + file);
  }
  const std::wstring packages = testsupport::PackageFolder();
  (void)CopyInto(bundle_, packages + L"demo\\HalvorskStudio.msi", L"SetupData\\Packages\\Studio\\HalvorskStudio.msi");
  (void)CopyInto(bundle_, packages + L"demo\\HalvorskSamples.msi",
                 L"SetupData\\Packages\\Samples\\HalvorskSamples.msi");
  (void)CopyInto(bundle_, packages + L"SmallA.msi", L"SetupData\\Packages\\SmallA.msi");
  (void)CopyInto(bundle_, packages + L"SmallC.msi", L"SetupData\\Packages\\SmallC.msi");
  (void)CopyInto(bundle_, packages + L"NoInstallDir.msi", L"SetupData\\Packages\\NoInstallDir.msi");
  (void)CopyInto(bundle_, packages + L"SetupMainV1.msi", L"SetupData\\Packages\\SetupMainV1.msi");
  Clean();
}

SilentBundle::~SilentBundle() { Clean(); }

void SilentBundle::Clean() {
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  for (const std::wstring& code : productCodes_) {
    if (!InstalledProductName(code).empty()) {
      (void)MsiConfigureProductExStub(code.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"");
    }
  }
  (void)registry::DeleteKeyTree(kUninstallKey + bundleKey_, testsupport::TestedRegistryView());
}

SilentRun SilentBundle::Run(const std::wstring& arguments) {
  SilentRun run;
  testsupport::RunningProcess process =
      testsupport::StartProcess(testsupport::Quote(bundle_.SetupExe()) + L" " + arguments, bundle_.Folder());
  if (!process.IsValid()) return run;
  return Follow(process);
}

SilentRun SilentBundle::Follow(testsupport::RunningProcess& process) {
  SilentRun run;
  testsupport::WindowDriver driver(process.Id());
  for (const testsupport::WindowInfo& box : driver.AnswerMessageBoxesUntilExit(process.Handle(), kRunTimeoutMs)) {
    run.messageBoxes.push_back(box.StaticText());
  }
  run.result = process.Wait(5000);
  return run;
}

std::wstring SilentBundle::SetupLogText() const { return testsupport::ReadUtf16File(logFolder_ + L"Setup.log"); }

std::wstring SilentBundle::AllLogsText() const {
  std::wstring text;
  WIN32_FIND_DATAW found = {};
  platform::UniqueFindHandle find(::FindFirstFileW((logFolder_ + L"*").c_str(), &found));
  if (!find) return text;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    text += ReadLogFile(logFolder_ + found.cFileName) + L"\n";
  } while (::FindNextFileW(find.Get(), &found));
  return text;
}

std::wstring InstalledProductName(const std::wstring& productCode) {
  EnsureMsiLoaded();
  wchar_t buffer[256] = {};
  DWORD size = 256;
  if (MsiGetProductInfoStub(productCode.c_str(), INSTALLPROPERTY_INSTALLEDPRODUCTNAME, buffer, &size) != 0) return {};
  return buffer;
}

namespace {
// The bundle's entry, in the view the tested Setup.exe writes it to.
bool OpenArpEntry(platform::UniqueHKey& key) {
  return registry::OpenKey(kUninstallKey + SilentBundle::kBundleKey, KEY_READ, testsupport::TestedRegistryView(),
                           key) == ERROR_SUCCESS;
}
}  // namespace

bool ArpEntryExists() {
  platform::UniqueHKey key;
  return OpenArpEntry(key);
}

bool ReadArpString(const std::wstring& name, std::wstring& value) {
  platform::UniqueHKey key;
  return OpenArpEntry(key) && registry::ReadStringValue(key.Get(), name, value);
}

bool ReadArpDword(const std::wstring& name, DWORD& value) {
  platform::UniqueHKey key;
  return OpenArpEntry(key) && registry::ReadDwordValue(key.Get(), name, value);
}

std::wstring RunOnceCommand(const std::wstring& name) {
  platform::UniqueHKey key;
  std::wstring command;
  if (registry::OpenKey(registry::kRunOnceKey, KEY_QUERY_VALUE, testsupport::TestedRegistryView(), key) ==
      ERROR_SUCCESS) {
    (void)registry::ReadStringValue(key.Get(), name, command);
  }
  return command;
}

void DeleteRunOnceValue(const std::wstring& name) {
  platform::UniqueHKey key;
  if (registry::OpenKey(registry::kRunOnceKey, KEY_SET_VALUE, testsupport::TestedRegistryView(), key) ==
      ERROR_SUCCESS) {
    ::RegDeleteValueW(key.Get(), name.c_str());
  }
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

BundleProduct InSequence(BundleProduct product, int sequence) {
  const std::string start = "<Product Sequence=\"";
  const size_t at = product.xml.find(start) + start.size();
  product.xml.replace(at, product.xml.find('"', at) - at, std::to_string(sequence));
  return product;
}

BundleProduct ExeProduct(int sequence, const std::string& name, const std::wstring& marker, int exitCode,
                         const std::string& reboot, const std::string& uninstallArguments) {
  const std::string exe = Utf8(testsupport::BinFolder() + L"exe_product.exe");
  std::string xml = "<Product Sequence=\"" + std::to_string(sequence) + "\" Type=\"EXE\" ProductName=\"" + name +
                    "\" Location=\"" + exe + "\" InstallCommand=\"/marker:" + Utf8(marker) + " /name:" + name +
                    " /exit:" + std::to_string(exitCode) + "\"";
  if (!uninstallArguments.empty()) {
    xml += " UninstallCommand=\"/marker:" + Utf8(marker) + " /name:" + name + "-remove " + uninstallArguments + "\"";
  }
  if (!reboot.empty()) xml += " Reboot=\"" + reboot + "\"";
  return {xml + "/>", L""};
}

std::vector<std::wstring> Lines(const std::wstring& path) {
  std::vector<std::wstring> lines;
  for (std::wstring line : platform::Split(platform::Utf8ToWide(testsupport::ReadFileBytes(path)), L"\n")) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::vector<std::wstring> RunNames(const std::wstring& marker) {
  std::vector<std::wstring> names;
  for (const std::wstring& line : Lines(marker)) {
    const size_t at = line.find(L"/name:");
    if (at == std::wstring::npos) continue;
    const size_t end = line.find(L' ', at);
    names.push_back(line.substr(at + 6, end == std::wstring::npos ? std::wstring::npos : end - at - 6));
  }
  return names;
}

}  // namespace e2etest
