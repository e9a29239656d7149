#pragma once
// A bundle laid out as users get it: Setup.exe beside its SetupData folder,
// in a scratch folder of its own.

#include <string>

namespace testsupport {

class BundleFixture {
 public:
  // Copies the built Setup.exe into a fresh folder named after `name`.
  explicit BundleFixture(const std::wstring& name);
  ~BundleFixture();
  BundleFixture(const BundleFixture&) = delete;
  BundleFixture& operator=(const BundleFixture&) = delete;

  [[nodiscard]] const std::wstring& Folder() const { return folder_; }
  [[nodiscard]] std::wstring SetupExe() const { return folder_ + L"Setup.exe"; }
  [[nodiscard]] std::wstring ConfigurationFolder() const { return folder_ + L"SetupData\\Configuration\\"; }

  // Writes the smallest StyleConfig.xml and ConfigForMainDialog.xml the
  // wizard reading accepts, where MinimalSetupConfig points.
  void WriteMinimalLookFiles();
  // Writes SetupData\Configuration\<fileName> (UTF-8).
  bool WriteConfigurationFile(const std::wstring& fileName, const std::string& utf8Content);
  // Writes any file below the bundle folder, creating its folders.
  bool WriteFile(const std::wstring& relativePath, const std::string& bytes);

 private:
  std::wstring folder_;
};

// A minimal SetupConfig.xml whose log goes to `logPath` (Windows path); its
// look files are those of BundleFixture::WriteMinimalLookFiles.
std::string MinimalSetupConfig(const std::wstring& logPath, const std::string& extraGeneral = "");

// The smallest look files the wizard reading accepts.
std::string MinimalStyleConfig();
std::string MinimalMainDialogConfig();

// Reads a UTF-16LE log file into a wide string (BOM removed).
std::wstring ReadUtf16File(const std::wstring& path);

}  // namespace testsupport
