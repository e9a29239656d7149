#include "app/ParseManager.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "app/CommandLineParser.h"
#include "app/ExecutionType.h"
#include "app/LanguageSelection.h"
#include "app/StartupChecks.h"
#include "app/SystemDetails.h"
#include "config/BSLocalizationConfigData.h"
#include "config/IProductAttributes.h"
#include "config/ProductCode.h"
#include "engine/SetupLauncherBase.h"
#include "msi/HiddenPropertyMask.h"
#include "msi/IMSIManager.h"
#include "msi/InstalledProduct.h"
#include "msi/MsiQuery.h"
#include "platform/StringUtil.h"
#include "config/BootstrapperLocalizationReader.h"
#include "config/LogFileDetails.h"
#include "config/SetupConfigData.h"
#include "config/SetupConfigParser.h"
#include "config/SilentConfigData.h"
#include "config/SilentConfigParser.h"
#include "log/Log.h"
#include "log/LogManager.h"
#include "platform/MessageBox.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "platform/WinApp.h"
#include "registry/RegistryUtil.h"
#include "ui/style/DialogUnitConverter.h"
#include "ui/style/MainDialogConfigData.h"
#include "ui/style/MainDialogConfigParser.h"
#include "ui/style/StyleConfigData.h"
#include "ui/style/StyleConfigParser.h"
#include "config/IWixLocalizationList.h"
#include "wix/WixDataManager.h"
#include "config/WixFileContainer.h"
#include "wix/WixLocalizationReader.h"
#include "wix/WixSourceReader.h"

namespace {

constexpr int kBootstrapperLocalizationResource = 152;

// Copies the embedded resource to `path`; false when it is missing or cannot be written.
bool WriteEmbeddedLocalization(const std::wstring& path) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(kBootstrapperLocalizationResource), L"XML");
  if (resource == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(module, resource);
  DWORD size = ::SizeofResource(module, resource);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return false;
  platform::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
}

}  // namespace

CParseManager::CParseManager(CSetupConfigData& record, CCommandLineParser& parser, IBSLocalizationConfigData& texts,
                             Records records)
    : record_(record),
      parser_(parser),
      texts_(texts),
      records_(std::move(records)),
      folder_(record.GetSetupFolder()) {}

CParseManager::~CParseManager() = default;

std::wstring CParseManager::GetSetupConfigPath() const {
  return folder_ + L"SetupData\\Configuration\\SetupConfig.xml";
}

bool CParseManager::LoadBootstrapperStrings() {
  // One file per process, removed once read: setups started with /NOMUTEX
  // must not read each other's half-written copy, and nothing is left behind.
  std::wstring path = CLogFileDetails::ExpandFolderReferences(L"%TEMP%") +
                      platform::Format(L"\\BootstrapperLocalization_%lu.xml", ::GetCurrentProcessId());
  (void)WriteEmbeddedLocalization(path);
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    LogDebug(L"Could not find the Localization file %s .", path.c_str());
    LogDebug(L"Bootstrapper localization xml file can not be created.");
    return true;
  }
  if (!ReadBootstrapperLocalization(path, texts_, record_.GetLanguageId())) {
    LogDebug(L"Bootstrapper localization xml file can not be Parsed.");
  }
  ::DeleteFileW(path.c_str());
  return true;
}

bool CParseManager::ParseConfiguration() {
  // Known before the log settings are read: a resumed run continues the log
  // of the run it resumes, also when Windows removed the RunOnce value
  // before starting it.
  record_.SetRestoreMode(parser_.IsRestore() != 0);
  // Read once, here: the configuration layer takes it as data and knows
  // nothing of the registry.
  resumePending_ = registry::IsRebootMarkerPresent();
  setupConfigParser_ = std::make_unique<CSetupConfigParser>(
      record_, record_,
      resumePending_ ? CSetupConfigParser::RunStart::kResumePending : CSetupConfigParser::RunStart::kFresh);
  if (!setupConfigParser_->StartParse(GetSetupConfigPath())) {
    (void)platform::ShowMessageBox(nullptr,
                                   L"Parsing of SetupConfig.xml file failed. The application will be aborted.",
                                   L"Setup", MB_OK | MB_ICONERROR);
    return false;
  }
  const bool read = parser_.IsSilentMode() ? ReadForSilent() : ReadForWizard();
  // Made whatever the reading gave, so an x64 bundle on a 32-bit machine is
  // refused with its own message.
  if (!CheckProcessor()) return false;
  return read;
}

bool CParseManager::CheckProcessor() {
  if (IsPlatformSupportedByProcessor(record_.GetPlatform(), GetNativeProcessorArchitecture())) return true;
  std::wstring text;
  if (IWixLocalizationList* texts = record_.GetWixLocalizationList()) {
    text = texts->GetLocalizedText(L"ProcessorTypeNotSupported");
  }
  (void)platform::ShowMessageBox(nullptr, text, L"Setup", MB_OK | MB_ICONERROR);
  return false;
}

bool CParseManager::ReadForWizard() {
  if (records_.styleConfig) {
    CStyleConfigParser styleParser(records_.styleConfig());
    if (!styleParser.StartParse(folder_ + record_.GetStyleConfigPath())) {
      LogError(L"Parsing of StyleConfig.xml failed. Exiting the application.");
      return false;
    }
  }
  if (records_.mainDialogConfig) {
    CMainDialogConfigParser mainDialogParser(records_.mainDialogConfig(), GetDialogUnitConverter());
    if (!mainDialogParser.StartParse(folder_ + record_.GetMainDialogConfigPath())) {
      LogError(L"Parsing of ConfigForMainDialog.xml failed. Exiting the application.");
      return false;
    }
  }
  if (!OpenSetupLog()) return false;
  LogInformation(L"The Setup Started...");
  LogInformation(L"Mode of Execution : UI Mode.");
  LogDebug(L"Checking for reboot Params.");
  parser_.ApplyResumeOptions(record_);
  return InitializeLocalization();
}

bool CParseManager::InitializeLocalization() {
  LogDebug(L"Initialization and Parsing of Localization Started...");
  (void)GetOrCreateWixDataManager();
  if (!localizationReader_) localizationReader_ = std::make_unique<CWixLocalizationReader>(record_, record_);
  ValidateLanguage(record_);
  if (!localizationReader_->LoadWixLocalization(record_.GetLanguageId())) return false;
  if (!DetermineExecutionType(record_, parser_, records_.onSilentMismatch, &stopExitCode_)) return false;
  stopExitCode_ = ERROR_INSTALL_FAILURE;
  if (UpdateLanguageFromRegistry(&record_) && !ReParseLocalization(record_.GetLanguageId())) return false;
  LogDebug(L"Initialization and Parsing of Localization completed Successfully.");
  return true;
}

bool CParseManager::ReParseLocalization(LANGID languageId) {
  if (!localizationReader_) return false;
  LogInformation(L"Clearing the Localization List.");
  if (IWixLocalizationListForParser* table = record_.GetOrCreateWixLocalizationList()) table->Clear();
  LogInformation(L"Re-Parsing the Localization File.");
  return localizationReader_->LoadWixLocalization(languageId);
}

bool CParseManager::ReadForSilent() {
  // SilentConfig.xml is optional: without it the silent record keeps its start values.
  const std::wstring silentPath = folder_ + L"SetupData\\Configuration\\SilentConfig.xml";
  const bool hasSilentFile = ::GetFileAttributesW(silentPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  CSilentConfigData* silent = nullptr;
  if (hasSilentFile && records_.silentConfig) {
    silent = &records_.silentConfig();
    CSilentConfigParser silentParser(*silent, record_);
    if (!silentParser.StartParse(silentPath)) return false;
    silentRecord_ = silent;
  }
  if (!OpenSetupLog()) return false;
  LogInformation(L"The Setup Started......");
  LogInformation(silent != nullptr && silent->IsShowIndicator() ? L"Mode of Execution : Silent Indicator Mode."
                                                                : L"Mode of Execution : Simply Silent Mode.");
  if (!InitializeLocalization()) return false;
  parser_.ApplyResumeOptions(record_);
  return true;
}

bool CParseManager::OpenSetupLog() {
  setuplog::CLogManager& manager = setuplog::CLogManager::GetInstance();
  manager.SetBundleKey(record_.GetBootstrapperRegistry());
  manager.SetLogFileDetails(record_.GetLogFileDetails());
  if (manager.SetSinkType(1) == 0) return false;
  if (parser_.IsRestore()) {
    LogInformation(L"Launching the setup after intermediate reboot...");
  } else if (!resumePending_) {
    // A run that will continue after a restart leaves the details to that run.
    LogSystemDetails();
  }
  platform::CWinAppBase* app = platform::CWinAppBase::GetCurrent();
  std::wstring arguments = app != nullptr ? app->GetArgumentsText() : std::wstring();
  if (!arguments.empty()) LogInformation(L"Command Line Parameters are : %s", MaskedArguments(arguments).c_str());
  return true;
}

CDialogUnitConverter& CParseManager::GetDialogUnitConverter() {
  if (!converter_) {
    converter_ = std::make_unique<CDialogUnitConverter>();
    // The silent road shows no WiX dialog: the rectangles it reads keep the
    // start factors, and no window is made to measure the screen.
    if (!parser_.IsSilentMode()) (void)converter_->Measure();
  }
  return *converter_;
}

CWixDataManager& CParseManager::GetOrCreateWixDataManager() {
  if (!wixModel_) wixModel_ = std::make_unique<CWixDataManager>(record_);
  return *wixModel_;
}

CWixSourceReader& CParseManager::GetOrCreateWixReader() {
  if (!wixReader_) {
    wixReader_ = std::make_unique<CWixSourceReader>(record_, record_, GetOrCreateWixDataManager(),
                                                     GetDialogUnitConverter());
  }
  return *wixReader_;
}

bool CParseManager::ReadWixFile(const std::wstring& relativePath) {
  return GetOrCreateWixReader().ParseWixFile(folder_ + relativePath) == 1;
}

bool CParseManager::ParseWixFile(const std::wstring& relativePath) {
  if (!ReadWixFile(relativePath)) return false;
  // A file read on its own is complete as it stands: its control events
  // authored under UI reach their controls as with the whole list.
  (void)GetOrCreateWixReader().CompleteParse();
  return true;
}

namespace {

// While the WiX sources are read, the main package may be opened alongside;
// whatever way the reading ends, that opening is over before anything else
// calls Windows Installer.
class PackageAheadScope {
 public:
  explicit PackageAheadScope(IMSIManager* manager) : manager_(manager) {
    if (manager_ != nullptr) manager_->OpenInitializerPackageAhead();
  }
  ~PackageAheadScope() {
    if (manager_ != nullptr) manager_->WaitForInitializerPackage();
  }
  PackageAheadScope(const PackageAheadScope&) = delete;
  PackageAheadScope& operator=(const PackageAheadScope&) = delete;

 private:
  IMSIManager* manager_;
};

}  // namespace

bool CParseManager::StartParseWixFiles() {
  if (!ReadWixSources()) return false;
  if (!SetFeaturesCost()) LogError(L"CParseManager::StartParseWixFiles() - SetFeaturesCost() failed.");
  return true;
}

bool CParseManager::ReadWixSources() {
  PackageAheadScope ahead(records_.msiManager ? records_.msiManager() : nullptr);
  LogInformation(L"Parsing of the Wix Files initiated...");
  CWixFileContainer* files = record_.GetWixFileContainer();
  if (parser_.IsSilentMode() && silentRecord_ != nullptr && silentRecord_->GetWixFileContainer() != nullptr) {
    files = silentRecord_->GetWixFileContainer();
  }
  if (files != nullptr) {
    // Counted, not read up to the first empty path: an empty Path is a file
    // that cannot be read, not the end of the list.
    const int count = files->Rewind();
    for (int index = 0; index < count; ++index) {
      const std::wstring file = files->GetNextPath();
      if (file.empty()) {
        LogError(L"CParseManager::StartParseWixFiles() - The WixFile entry %d has an empty Path.", index + 1);
      }
      if (file.empty() || !ReadWixFile(file)) {
        LogError(L"CParseManager::StartParseWixFiles() - Parsing failed for the wix file, " + file);
        return false;
      }
    }
  }
  (void)GetOrCreateWixReader().CompleteParse();
  LogInformation(L"Parsing of the wix files completed successfully.");
  return true;
}

bool CParseManager::SetFeaturesCost() {
  IMSIManager* manager = records_.msiManager ? records_.msiManager() : nullptr;
  if (manager == nullptr) {
    LogDebug(L"CParseManager::SetFeaturesCost() - No MSI manager yet; the feature costs are not computed.");
    return true;
  }
  return manager->SetFeaturesCost();
}

std::wstring CParseManager::MaskedArguments(const std::wstring& arguments) const {
  // Only a property value given on the command line can need hiding: without
  // one, the package is not opened for its list of hidden names.
  const auto& given = CCommandLineProperties::GetCommandLineProperties().GetAll();
  if (std::none_of(given.begin(), given.end(), [](const auto& entry) { return !entry.second.empty(); })) {
    return arguments;
  }
  // The log opens long before the package's session does, so the hidden
  // names come straight from the main package file (or the installed copy).
  IProductAttributes* wixSource = record_.GetWixSourceProduct();
  if (wixSource == nullptr) return arguments;
  std::wstring package = CSetupLauncherBase::JoinToFolder(record_.GetSetupFolder(), wixSource->GetLocation());
  if (::GetFileAttributesW(package.c_str()) == INVALID_FILE_ATTRIBUTES) {
    package = GetCachedPackagePath(ExtractProductCode(wixSource->GetUninstallCommand()));
  }
  std::vector<std::wstring> hidden;
  for (const std::wstring& name : platform::Split(ReadPackageFileProperty(package, L"MsiHiddenProperties"), L";")) {
    if (!name.empty()) hidden.push_back(name);
  }
  std::wstring masked = arguments;
  MaskHiddenPropertyValues(masked, hidden, given);
  return masked;
}
