#include "support/BundleFixture.h"

#include <windows.h>

#include "platform/StringUtil.h"
#include "support/TestPaths.h"
#include "support/TestedBuild.h"

namespace testsupport {

namespace {
void CreateFolders(const std::wstring& folder) {
  std::wstring partial;
  for (const std::wstring& part : platform::Split(folder, L"\\")) {
    if (part.empty()) continue;
    partial += part + L"\\";
    ::CreateDirectoryW(partial.c_str(), nullptr);
  }
}
}  // namespace

BundleFixture::BundleFixture(const std::wstring& name) : folder_(MakeScratchFolder(name)) {
  ::CopyFileW((TestedBinFolder() + L"Setup.exe").c_str(), SetupExe().c_str(), FALSE);
  CreateFolders(ConfigurationFolder());
}

void BundleFixture::WriteMinimalLookFiles() {
  (void)WriteConfigurationFile(L"StyleConfig.xml", MinimalStyleConfig());
  (void)WriteConfigurationFile(L"ConfigForMainDialog.xml", MinimalMainDialogConfig());
}

std::string MinimalStyleConfig() {
  return "<?xml version=\"1.0\"?><StyleConfig><ColorThemes/><Fonts/><Controls/></StyleConfig>";
}

std::string MinimalMainDialogConfig() {
  return "<?xml version=\"1.0\"?><ConfigForMainDialog><MainDialog>"
         "<Dialog Left=\"0\" Top=\"0\" Right=\"540\" Bottom=\"420\"/></MainDialog>"
         "<PreInstallDialog><Dialog Left=\"0\" Top=\"0\" Right=\"330\" Bottom=\"210\"/></PreInstallDialog>"
         "</ConfigForMainDialog>";
}

BundleFixture::~BundleFixture() { RemoveFolder(folder_); }

bool BundleFixture::WriteConfigurationFile(const std::wstring& fileName, const std::string& utf8Content) {
  return WriteFileBytes(ConfigurationFolder() + fileName, utf8Content);
}

bool BundleFixture::WriteFile(const std::wstring& relativePath, const std::string& bytes) {
  std::wstring path = folder_ + relativePath;
  size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) CreateFolders(path.substr(0, slash));
  return WriteFileBytes(path, bytes);
}

std::string MinimalSetupConfig(const std::wstring& logPath, const std::string& extraGeneral) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<SetupConfig>\n"
         "  <General>\n"
         "    <BootstrapperRegistry Value=\"TestBundle\"/>\n"
         "    <StyleConfigPath Value=\"SetupData\\Configuration\\StyleConfig.xml\"/>\n"
         "    <MainDialogConfigPath Value=\"SetupData\\Configuration\\ConfigForMainDialog.xml\"/>\n" +
         extraGeneral +
         "    <Logfile Name=\"" + platform::WideToUtf8(logPath) +
         "\" Level=\"DEVELOPERINFO\" Mode=\"APPEND\" MaxLengthOfFile=\"10\"/>\n"
         "  </General>\n"
         "  <Brand Name=\"Test\"><ImageFiles><Image Name=\"Banner\" FilePath=\"banner.bmp\"/></ImageFiles></Brand>\n"
         "  <ProductList><ProductGroup Sequence=\"1\"><Product Sequence=\"1\" ProductName=\"Only\"/>"
         "</ProductGroup></ProductList>\n"
         "</SetupConfig>\n";
}

std::wstring ReadUtf16File(const std::wstring& path) {
  std::string bytes = ReadFileBytes(path);
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  return text;
}

}  // namespace testsupport
