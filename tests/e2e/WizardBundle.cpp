#include "WizardBundle.h"

#include <cstdint>

#include "SilentBundle.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "registry/RegistryUtil.h"
#include "support/TestPaths.h"

namespace e2etest {

namespace {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

template <typename T>
void Append(std::string& bytes, const T& value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

// A 24-bit BMP of one colour with a darker frame, so an image is seen as one.
std::string SolidBitmap(int width, int height, COLORREF colour) {
  const int rowBytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * height);
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(rowBytes * height);
  std::string bytes;
  Append(bytes, file);
  Append(bytes, info);
  for (int y = 0; y < height; ++y) {
    std::string row(static_cast<size_t>(rowBytes), '\0');
    for (int x = 0; x < width; ++x) {
      const bool edge = x < 2 || y < 2 || x >= width - 2 || y >= height - 2;
      const COLORREF c = edge ? RGB(GetRValue(colour) / 2, GetGValue(colour) / 2, GetBValue(colour) / 2) : colour;
      row[static_cast<size_t>(x) * 3] = static_cast<char>(GetBValue(c));
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>(GetGValue(c));
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>(GetRValue(c));
    }
    bytes += row;
  }
  return bytes;
}

// A 32 x 32 icon: a filled circle on a transparent ground.
std::string CircleIcon(COLORREF colour) {
  constexpr int kSize = 32;
  std::string pixels;
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; ++x) {
      const int dx = 2 * x - kSize + 1;
      const int dy = 2 * y - kSize + 1;
      const bool inside = dx * dx + dy * dy <= (kSize - 2) * (kSize - 2);
      pixels += static_cast<char>(GetBValue(colour));
      pixels += static_cast<char>(GetGValue(colour));
      pixels += static_cast<char>(GetRValue(colour));
      pixels += static_cast<char>(inside ? 0xFF : 0x00);
    }
  }
  const std::string mask(kSize * kSize / 8, '\0');  // the alpha channel decides
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = kSize;
  info.biHeight = kSize * 2;  // colour and mask
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels.size() + mask.size());
  std::string bytes;
  const std::uint16_t header[3] = {0, 1, 1};  // reserved, icon, one image
  Append(bytes, header);
  const std::uint8_t entry[4] = {kSize, kSize, 0, 0};
  Append(bytes, entry);
  const std::uint16_t planesAndBits[2] = {1, 32};
  Append(bytes, planesAndBits);
  const std::uint32_t sizeAndOffset[2] = {static_cast<std::uint32_t>(sizeof(info) + info.biSizeImage), 22};
  Append(bytes, sizeAndOffset);
  Append(bytes, info);
  return bytes + pixels + mask;
}

bool CopyInto(testsupport::BundleFixture& bundle, const std::wstring& from, const std::wstring& relativePath) {
  const std::string bytes = testsupport::ReadFileBytes(from);
  return !bytes.empty() && bundle.WriteFile(relativePath, bytes);
}

// `source` without the Dialog element whose Id is `id`; false when it has none.
bool RemoveDialog(std::string& source, const std::wstring& id) {
  const size_t start = source.find("<Dialog Id=\"" + Utf8(id) + "\"");
  if (start == std::string::npos) return false;
  const std::string close = "</Dialog>";
  const size_t end = source.find(close, start);
  if (end == std::string::npos) return false;
  source.erase(start, end + close.size() - start);
  return true;
}

std::string SetupConfig(const std::wstring& logPath, const WizardSources& sources, const WizardExtras& extras) {
  std::string wixFiles = "<WixFile Path=\"SetupData\\Wix\\WizardUI.wxs\"/>";
  for (const std::wstring& file : sources.extraFiles) wixFiles += "<WixFile Path=\"SetupData\\Wix\\" + Utf8(file) + "\"/>";
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SetupConfig><General>"
         "<SkinningEnabled Value=\"false\"/>"
         "<BootstrapperRegistry Value=\"" + Utf8(WizardBundle::kBundleKey) + "\"/>"
         "<StyleConfigPath Value=\"SetupData\\Configuration\\StyleConfig.xml\"/>"
         "<MainDialogConfigPath Value=\"SetupData\\Configuration\\ConfigForMainDialog.xml\"/>"
         "<RC_BinaryPath Value=\"SetupData\\Wix\\Binary\"/>"
         "<MaintenanceExePath Value=\"Setup\\Setup.exe\"/><InstallLocation Value=\"[InstallDir]\"/>"
         "<RegisterableSetup Value=\"true\"/>"
         "<Logfile Name=\"" + Utf8(logPath) + "\" Level=\"DEVELOPERINFO\" Mode=\"APPEND\" MaxLengthOfFile=\"10\"/>"
         "</General>"
         "<ImageFiles><Image Name=\"SetupIcon\" FilePath=\"SetupData\\Images\\Setup.ico\"/></ImageFiles>"
         "<Brand Name=\"Wizard Test\" Value=\"Standard\" Default=\"true\"><ImageFiles>"
         "<Image Name=\"Banner\" FilePath=\"SetupData\\Images\\Banner.bmp\" VersionText=\"1.0\"/>"
         "<Image Name=\"BillBoardImage\" FilePath=\"SetupData\\Images\\Billboard.bmp\"/>" +
         std::string(!extras.splashBitmap.empty() || extras.splashFileMissing
                         ? "<Image Name=\"SplashScreen\" FilePath=\"SetupData\\Images\\Splash.bmp\" VersionText=\"1.0\"/>"
                         : "") +
         "</ImageFiles></Brand>" + extras.extraBrands + extras.extraSections +
         "<ProductList><ProductGroup DisplayName=\"%SelectedBrand%\" Sequence=\"1\" ShowInUI=\"true\">"
         "<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"" + Utf8(WizardBundle::kProductName) + "\" "
         "Id=\"{6B1D0C3A-3A03-4000-8000-0000000000D1}\" MainProduct=\"true\" WixSource=\"true\" "
         "Location=\"SetupData\\Packages\\WizardMain.msi\" "
         "UninstallCommand=\"" + Utf8(WizardBundle::kProductCode) + "\" "
         "RepairCommand=\"REINSTALL=ALL REINSTALLMODE=omus\" SpaceRequired=\"1\">"
         "<WixSrc>" + wixFiles + "</WixSrc>"
         "<LocalizationSetting><Language Id=\"1033\" Name=\"English\" Codepage=\"1252\">"
         "<LocalizationFiles FileName=\"SetupData\\Wix\\Localization\\WizardUI.en-us.wxl\"/>"
         "</Language>" +
         std::string(extras.german ? "<Language Id=\"1031\" Name=\"Deutsch\" Codepage=\"1252\">"
                                      "<LocalizationFiles FileName=\"SetupData\\Wix\\Localization\\WizardUI.de-de.wxl\"/>"
                                      "</Language>"
                                    : "") +
         "</LocalizationSetting></Product>"
         "</ProductGroup></ProductList></SetupConfig>\n";
}

}  // namespace

WizardBundle::WizardBundle(const std::wstring& name, const WizardSources& sources, const WizardExtras& extras)
    : bundle_(name) {
  LoadMsiLibrary();
  logFolder_ = bundle_.Folder() + L"Logs\\";
  ::CreateDirectoryW(logFolder_.c_str(), nullptr);
  const std::wstring data = testsupport::SourceFolder() + L"tests\\packages\\wizardmain\\";
  complete_ = bundle_.WriteConfigurationFile(L"SetupConfig.xml", SetupConfig(LogPath(), sources, extras));
  complete_ = CopyInto(bundle_, data + L"StyleConfig.xml", L"SetupData\\Configuration\\StyleConfig.xml") && complete_;
  complete_ = CopyInto(bundle_, data + L"ConfigForMainDialog.xml", L"SetupData\\Configuration\\ConfigForMainDialog.xml") &&
              complete_;
  std::string pages = testsupport::ReadFileBytes(data + L"WizardUI.wxs");
  complete_ = !pages.empty() && complete_;
  for (const std::wstring& dialog : sources.omittedDialogs) complete_ = RemoveDialog(pages, dialog) && complete_;
  complete_ = bundle_.WriteFile(L"SetupData\\Wix\\WizardUI.wxs", pages) && complete_;
  for (const std::wstring& file : sources.extraFiles) {
    complete_ = CopyInto(bundle_, data + file, L"SetupData\\Wix\\" + file) && complete_;
  }
  complete_ = CopyInto(bundle_, data + L"WizardUI.en-us.wxl", L"SetupData\\Wix\\Localization\\WizardUI.en-us.wxl") &&
              complete_;
  complete_ = CopyInto(bundle_, data + L"WizardUI.de-de.wxl", L"SetupData\\Wix\\Localization\\WizardUI.de-de.wxl") &&
              complete_;
  complete_ = CopyInto(bundle_, data + L"PreInstallUI.wxs", L"SetupData\\Wix\\PreInstallUI.wxs") && complete_;
  if (!extras.splashBitmap.empty()) {
    complete_ = bundle_.WriteFile(L"SetupData\\Images\\Splash.bmp", extras.splashBitmap) && complete_;
  }
  complete_ = CopyInto(bundle_, testsupport::PackageFolder() + L"WizardMain.msi", L"SetupData\\Packages\\WizardMain.msi") &&
              complete_;
  complete_ = bundle_.WriteFile(L"SetupData\\Wix\\Binary\\Side.bmp", SolidBitmap(160, 312, RGB(90, 140, 200))) && complete_;
  complete_ = bundle_.WriteFile(L"SetupData\\Wix\\Binary\\Banner.bmp", SolidBitmap(493, 59, RGB(255, 255, 255))) && complete_;
  complete_ = bundle_.WriteFile(L"SetupData\\Wix\\Binary\\Info.ico", CircleIcon(RGB(30, 99, 180))) && complete_;
  complete_ = bundle_.WriteFile(L"SetupData\\Images\\Setup.ico", CircleIcon(RGB(122, 31, 61))) && complete_;
  complete_ = bundle_.WriteFile(L"SetupData\\Images\\Banner.bmp", SolidBitmap(720, 80, RGB(255, 250, 240))) && complete_;
  complete_ = bundle_.WriteFile(L"SetupData\\Images\\Billboard.bmp", SolidBitmap(160, 440, RGB(90, 140, 200))) && complete_;
  Clean();
}

WizardBundle::~WizardBundle() { Clean(); }

std::wstring WizardBundle::LogText() const { return testsupport::ReadUtf16File(LogPath()); }

void WizardBundle::Clean() const {
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  if (!InstalledProductName(kProductCode).empty()) {
    (void)MsiConfigureProductExStub(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"");
  }
  (void)registry::DeleteKeyTree(std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kBundleKey,
                                registry::View::Default);
}

size_t FindLogLine(const std::wstring& log, const std::wstring& level, const std::wstring& fragment, size_t from) {
  // The first line that starts at or after `from`.
  size_t start = from;
  if (start > 0 && start <= log.size() && log[start - 1] != L'\n') {
    start = log.find(L'\n', start);
    start = start == std::wstring::npos ? log.size() : start + 1;
  }
  while (start < log.size()) {
    size_t end = log.find(L'\n', start);
    if (end == std::wstring::npos) end = log.size();
    const std::wstring line = log.substr(start, end - start);
    // A line may carry a time stamp before its level.
    const size_t levelAt = level.empty() ? 0 : line.find(level);
    if (levelAt != std::wstring::npos && line.find(fragment, levelAt + level.size()) != std::wstring::npos) return start;
    start = end + 1;
  }
  return std::wstring::npos;
}

WizardRun::WizardRun(const WizardBundle& bundle, const std::wstring& arguments)
    : bundle_(bundle),
      process_(testsupport::StartProcess(
          testsupport::Quote(bundle.Bundle().SetupExe()) + (arguments.empty() ? L"" : L" " + arguments),
          bundle.Bundle().Folder())),
      driver_(process_.Id(), process_.Handle()) {}

WizardRun::~WizardRun() {
  // A test that failed half-way leaves the wizard open: nobody would answer it.
  if (process_.IsRunning()) (void)process_.Wait(0);
}

bool WizardRun::WaitForPage(const std::wstring& id, testsupport::DialogWindow& page) const {
  return driver_.WaitForPage(id, kFirstPageTimeoutMs, page);
}

bool WizardRun::WaitForDialog(const std::wstring& id, testsupport::DialogWindow& dialog) const {
  return driver_.WaitForDialog(id, kStepTimeoutMs, dialog);
}

testsupport::ControlInfo WizardRun::Control(HWND dialog, const std::wstring& idOrText) {
  testsupport::ControlInfo control;
  (void)testsupport::FindControl(dialog, idOrText, control);
  return control;
}

bool WizardRun::Click(HWND dialog, const std::wstring& idOrText) const {
  testsupport::ControlInfo control;
  if (!Eventually([&] {
        control = Control(dialog, idOrText);
        return control.window != nullptr && control.visible && control.enabled;
      })) {
    return false;
  }
  return testsupport::Click(control.window);
}

std::string WizardRun::Describe() const {
  std::string text = process_.IsRunning() ? "Setup.exe runs; it shows:\n" : "Setup.exe has ended; it showed:\n";
  for (const testsupport::WindowInfo& window : driver_.TopLevelWindows()) {
    text += "  " + Utf8(window.className) + " \"" + Utf8(window.title) + "\" [" +
            Utf8(testsupport::DialogIdOf(window.window)) + "] " + Utf8(window.StaticText()) + "\n";
  }
  const std::wstring log = bundle_.LogText();
  const size_t tail = log.size() > 3000 ? log.size() - 3000 : 0;
  return text + "log ending:\n" + Utf8(log.substr(tail));
}

}  // namespace e2etest
