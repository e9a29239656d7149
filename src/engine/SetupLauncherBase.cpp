#include "engine/SetupLauncherBase.h"

#include <msidefs.h>

#include "config/ILocalizationSetting.h"
#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "config/ISilentConfigData.h"
#include "config/ProductCode.h"
#include "engine/CommonUtility.h"
#include "log/ILogFileDetails.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/MSIManager.h"
#include "msi/MsiMessageHandler.h"
#include "msi/MsiQuery.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"
#include "platform/StringUtil.h"

namespace {

constexpr UINT kUserExit = ERROR_INSTALL_USEREXIT;  // 1602
constexpr UINT kTopmostWarning = MB_TOPMOST | MB_ICONWARNING;

std::wstring TemplateOf(MSIHANDLE summary) {
  UINT type = 0;
  INT number = 0;
  FILETIME time = {};
  DWORD length = 0;
  wchar_t empty[1] = L"";
  if (MsiSummaryInfoGetPropertyStub(summary, PID_TEMPLATE, &type, &number, &time, empty, &length) !=
      ERROR_MORE_DATA) {
    return {};
  }
  std::wstring value(length + 1, L'\0');
  DWORD size = length + 1;
  if (MsiSummaryInfoGetPropertyStub(summary, PID_TEMPLATE, &type, &number, &time, &value[0], &size) != ERROR_SUCCESS) {
    return {};
  }
  value.resize(size);
  return value;
}

// Whether a machine with the native processor `architecture` runs packages of `platform`.
bool RunsPlatform(WORD architecture, const std::wstring& platform) {
  if (platform.empty() || platform::EqualsNoCase(platform, L"Intel")) {
    return architecture == PROCESSOR_ARCHITECTURE_INTEL || architecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           architecture == PROCESSOR_ARCHITECTURE_IA64 || architecture == PROCESSOR_ARCHITECTURE_ARM64;
  }
  if (platform::EqualsNoCase(platform, L"x64") || platform::EqualsNoCase(platform, L"AMD64")) {
    return architecture == PROCESSOR_ARCHITECTURE_AMD64;
  }
  if (platform::EqualsNoCase(platform, L"Intel64")) return architecture == PROCESSOR_ARCHITECTURE_IA64;
  if (platform::EqualsNoCase(platform, L"Arm64")) return architecture == PROCESSOR_ARCHITECTURE_ARM64;
  if (platform::EqualsNoCase(platform, L"Arm")) return architecture == PROCESSOR_ARCHITECTURE_ARM;
  return false;
}

}  // namespace

CSetupLauncherBase::CSetupLauncherBase(ISetupConfigData& record, CMSIManager& manager, const SetupStartData& start)
    : record_(record), manager_(manager), start_(start) {}

CSetupLauncherBase::~CSetupLauncherBase() = default;

std::wstring CSetupLauncherBase::JoinToFolder(const std::wstring& folder, const std::wstring& location) {
  if (location.empty()) return {};
  if (platform::IsAbsolutePath(location) || folder.empty()) return location;
  return platform::JoinPath(folder, location);
}

std::wstring CSetupLauncherBase::GetPackageLocation() {
  IProductAttributes* wixSource = record_.GetWixSourceProduct();
  if (wixSource == nullptr) return {};
  return JoinToFolder(record_.GetSetupFolder(), wixSource->GetLocation());
}

std::wstring CSetupLauncherBase::GetMainProductLocation() {
  return JoinToFolder(record_.GetSetupFolder(), record_.GetMainProductLocation());
}

std::wstring CSetupLauncherBase::BundleCaption() { return record_.GetProductName() + L" Setup"; }

bool CSetupLauncherBase::IsPackageForThisProcessor(const std::wstring& location) {
  return SummaryFitsThisProcessor(0, location);
}

bool CSetupLauncherBase::IsDatabaseForThisProcessor(MSIHANDLE database) {
  return SummaryFitsThisProcessor(database, std::wstring());
}

bool CSetupLauncherBase::SummaryFitsThisProcessor(MSIHANDLE database, const std::wstring& location) {
  MSIHANDLE raw = 0;
  if (MsiGetSummaryInformationStub(database, database != 0 ? nullptr : location.c_str(), 0, &raw) != ERROR_SUCCESS) {
    return false;
  }
  platform::UniqueMsiHandle summary(raw);
  // Without the library the summary cannot be read; the package open reports that.
  if (!summary) return true;
  const std::wstring packageTemplate = TemplateOf(summary.Get());
  const std::wstring platformName = platform::Trim(packageTemplate.substr(0, packageTemplate.find(L';')));
  SYSTEM_INFO info = {};
  ::GetNativeSystemInfo(&info);
  for (const std::wstring& name : platform::Split(platformName, L",")) {
    if (RunsPlatform(info.wProcessorArchitecture, platform::Trim(name))) return true;
  }
  return platformName.empty();
}

bool CSetupLauncherBase::BeginLaunch(IEventDispatcher* dispatcher) {
  dispatcher_ = dispatcher;
  location_ = GetPackageLocation();
  if (location_.empty()) {
    LogError(L"Unknown location for 'WixSource' product configured in SetupConfig.xml");
    return false;
  }
  return true;
}

std::wstring CSetupLauncherBase::PackageOpenProblem(const std::wstring& location, platform::UniqueMsiHandle* opened) {
  const DWORD attributes = ::GetFileAttributesW(location.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return L"It does not exist or cannot be reached.";
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return L"It is a folder, not a package file.";
  MSIHANDLE raw = 0;
  const UINT result = MsiOpenDatabaseStub(location.c_str(), reinterpret_cast<LPCWSTR>(MSIDBOPEN_READONLY), &raw);
  platform::UniqueMsiHandle database(raw);
  if (result != ERROR_SUCCESS) {
    return platform::Format(L"It is not a Windows Installer package that can be read (error %u).", result);
  }
  if (opened != nullptr) *opened = std::move(database);
  return std::wstring();
}

int CSetupLauncherBase::Launch(IEventDispatcher* dispatcher) {
  if (!BeginLaunch(dispatcher)) return 0;
  // What was found ahead is what these steps would find now; their messages
  // are given here, in their place, either way.
  std::unique_ptr<CPackageOpenAhead::Result> ahead = openAhead_.Take(location_);
  // Say what is wrong with the file itself before anything reads its
  // contents: a missing or unreadable package is not a processor mismatch.
  const std::wstring problem = ahead ? ahead->problem : PackageOpenProblem(location_);
  if (!problem.empty()) {
    const std::wstring text = L"The main package could not be opened: " + location_ + L"\n" + problem;
    LogError(text);
    ShowErrorText(text, MB_OK | MB_ICONERROR);
    return 0;
  }
  if (!(ahead ? ahead->forThisProcessor : IsPackageForThisProcessor(location_))) {
    (void)platform::ShowMessageBox(
        nullptr, L"This installation package is not supported by this processor type. Contact your product vendor.",
        BundleCaption(), kTopmostWarning);
    return 0;
  }
  if (MsiSetInternalUIStub(INSTALLUILEVEL_FULL, nullptr) == INSTALLUILEVEL_NOCHANGE) {
    LogError(L"Unable to set the internal UI level to the initializer setup");
    return 0;
  }
  if (OpenOrTakePackage(std::move(ahead)) == 0) {
    LogError(L"Error in opening the package");
    return 0;
  }
  manager_.GetMessageHandler().RegisterMessageHandlers(manager_.GetPackageHandle());
  // The package names its secrets; know them before any value is set and logged.
  manager_.ReadHiddenProperties();
  ApplyInitializerProperties();
  if (!record_.IsUIMode()) ApplySilentProperties();
  ApplyCommandLineProperties();
  ApplySpecificProperties();

  if (dispatcher_ != nullptr) {
    dispatcher_->EnableCloseCommand(false);
    dispatcher_->ShowDialog(L"PrepareDlg");
  }
  const bool ran = RunInitializer(dispatcher);
  if (dispatcher_ != nullptr) {
    dispatcher_->EndCurrentDialog();
    if (!ran) dispatcher_->ShowExitDialog(2);
    dispatcher_->EnableCloseCommand(true);
  }
  if (ran) return 1;
  (void)manager_.GetPropertyString();
  manager_.ReopenCachedPackage();
  return 0;
}

void CSetupLauncherBase::ApplyInitializerProperties() {
  manager_.SetProperty(L"BOOTSTRAPPER", L"1", false);
  manager_.SetProperty(L"SETUPBUNDLE", L"1", false);
  manager_.SetProperty(L"INITIALIZERPASS", L"0", false);
  if (const ILogFileDetails* log = record_.GetLogFileDetails()) {
    manager_.SetProperty(L"LOGFILELOCATION", log->GetFolder(), false);
  }
  manager_.SetProperty(L"EXEPATHVALUE", record_.GetSetupFolder(), false);
  manager_.SetProperty(L"INSTALL_LANGUAGE", std::to_wstring(record_.GetLanguageId()), false);
  if (!record_.GetBrand().empty()) manager_.SetProperty(L"BRAND", record_.GetBrand(), false);
  manager_.SetProductCode(ExtractProductCode(record_.GetMainProductUninstallCommand()));
}

void CSetupLauncherBase::ApplySilentProperties() {
  if (start_.silentConfig != nullptr) start_.silentConfig->ApplyGeneralProperties(manager_);
}

void CSetupLauncherBase::ApplyCommandLineProperties() {
  for (const auto& [name, value] : start_.commandLineProperties) manager_.SetProperty(name, value, false);
}

int CSetupLauncherBase::OpenPackage(const std::wstring& location) {
  if (!platform::FileExists(location)) LogError(L"The file %s does not exist.", location.c_str());
  MSIHANDLE database = 0;
  UINT result = MsiOpenDatabaseStub(location.c_str(), reinterpret_cast<LPCWSTR>(MSIDBOPEN_READONLY), &database);
  if (result != ERROR_SUCCESS) {
    LogError(L"Unable to open the MSI Database from the location: %s. The error Code is %d.", location.c_str(),
             static_cast<int>(result));
    ShowErrorCode(result);
    return 0;
  }
  manager_.SetDatabaseHandle(database);
  ApplyTransforms(location);
  MSIHANDLE package = 0;
  result = MsiOpenPackageStub(platform::Format(L"#%ld", static_cast<long>(database)).c_str(), &package);
  if (result != ERROR_SUCCESS) {
    LogError(L"Unable to get the package handle.MsiOpenPackage API failed for %s. The error Code is %d.",
             location.c_str(), static_cast<int>(result));
    ShowErrorCode(result);
    return 0;
  }
  manager_.SetPackageHandle(package);
  return 1;
}

int CSetupLauncherBase::OpenOrTakePackage(std::unique_ptr<CPackageOpenAhead::Result> ahead) {
  if (!ahead || !ahead->package || !OpensPackageUnchanged()) return OpenPackage(location_);
  manager_.SetDatabaseHandle(ahead->database.Release());
  manager_.SetPackageHandle(ahead->package.Release());
  return 1;
}

void CSetupLauncherBase::OpenPackageAhead() {
  if (!OpensPackageUnchanged()) return;
  const std::wstring location = GetPackageLocation();
  if (!location.empty()) (void)openAhead_.Start(location);
}

void CSetupLauncherBase::WaitForPackageAhead() { openAhead_.Wait(); }

bool CSetupLauncherBase::OpenPackageWithUILevel(const std::wstring& location, INSTALLUILEVEL level) {
  if (MsiSetInternalUIStub(level, nullptr) == INSTALLUILEVEL_NOCHANGE) {
    LogError(L"Unable to set the internal UI level to the initializer setup");
    return false;
  }
  if (OpenPackage(location) == 0) {
    LogError(L"Error in opening the package");
    return false;
  }
  return true;
}

void CSetupLauncherBase::ApplyTransforms(const std::wstring&) {}

std::wstring CSetupLauncherBase::LanguageTransformFile() {
  const LANGID language = record_.GetLanguageId();
  if (language == 1033) return {};
  ILocalizationSetting* settings = record_.GetLocalizationSettings();
  return settings != nullptr ? settings->GetMstFile(language) : std::wstring();
}

void CSetupLauncherBase::ApplyLanguageTransform(const std::wstring& location) {
  const std::wstring transform = LanguageTransformFile();
  if (transform.empty()) return;
  const std::wstring path = platform::FolderOf(location) + transform;
  if (MsiDatabaseApplyTransformStub(manager_.GetDatabaseHandle(), path.c_str(), 0) != ERROR_SUCCESS) {
    LogError(L"Applying transfrom to the MSI has failed. Transform related functionalities may not work properly");
  }
}

void CSetupLauncherBase::ShowErrorText(const std::wstring& text, UINT style) {
  if (dispatcher_ != nullptr) {
    (void)dispatcher_->ShowErrorDialog(text, style);
  } else {
    (void)platform::ShowMessageBox(nullptr, text, BundleCaption(), style);
  }
}

void CSetupLauncherBase::ShowErrorCode(UINT code) {
  std::wstring text = CCommonUtility::GetErrorMessageText(code, record_.GetLanguageId());
  if (text.empty()) {
    text = platform::Format(
        L"The setup returned an error. Unfortunately the error message could not be retrieved as the specific "
        L"language pack doesn't exists. The error Code is %d.",
        static_cast<int>(code));
  }
  ShowErrorText(text, 0x40030);
}

bool CSetupLauncherBase::RunInitializer(IEventDispatcher*) { return RunCapturedSequence(); }

bool CSetupLauncherBase::RunCapturedSequence() {
  if (!HasDialogInUISequence()) return RunUISequenceWithoutDialogs();
  // Wine runs no sequence for an empty action name; the name Windows would take is given explicitly.
  std::wstring action = platform::ToUpper(manager_.GetPropertyValue(L"ACTION"));
  if (action.empty()) action = L"INSTALL";
  const UINT result = MsiDoActionStub(manager_.GetPackageHandle(), action.c_str());
  if (result == kUserExit) return true;
  LogError(L"Failed to run the initializer setup. Error code %d", static_cast<int>(result));
  return false;
}

bool CSetupLauncherBase::HasDialogInUISequence() {
  platform::UniqueMsiHandle view;
  MSIHANDLE raw = 0;
  const wchar_t* query =
      L"SELECT `InstallUISequence`.`Action` FROM `InstallUISequence`, `Dialog` "
      L"WHERE `InstallUISequence`.`Action` = `Dialog`.`Dialog`";
  if (MsiDatabaseOpenViewStub(manager_.GetDatabaseHandle(), query, &raw) != ERROR_SUCCESS) return false;
  view.Reset(raw);
  if (MsiViewExecuteStub(view.Get(), 0) != ERROR_SUCCESS) return false;
  MSIHANDLE record = 0;
  if (MsiViewFetchStub(view.Get(), &record) != ERROR_SUCCESS) return false;
  platform::UniqueMsiHandle owned(record);
  return true;
}

// A package without dialogs has no first dialog to stop at: the top-level
// action would run on into ExecuteAction and install the package here, in
// the initializer. Its user-interface actions (searches, costing, custom
// actions) run one by one instead, up to ExecuteAction.
bool CSetupLauncherBase::RunUISequenceWithoutDialogs() {
  LogInformation(L"The package shows no dialog of its own; its user interface actions run without one.");
  platform::UniqueMsiHandle view;
  MSIHANDLE raw = 0;
  const wchar_t* query =
      L"SELECT `Action`, `Condition`, `Sequence` FROM `InstallUISequence` ORDER BY `Sequence`";
  if (MsiDatabaseOpenViewStub(manager_.GetDatabaseHandle(), query, &raw) != ERROR_SUCCESS) return true;
  view.Reset(raw);
  if (MsiViewExecuteStub(view.Get(), 0) != ERROR_SUCCESS) return true;
  for (;;) {
    MSIHANDLE rawRecord = 0;
    if (MsiViewFetchStub(view.Get(), &rawRecord) != ERROR_SUCCESS) break;
    platform::UniqueMsiHandle record(rawRecord);
    const std::wstring action = ReadRecordString(record.Get(), 1);
    const std::wstring condition = ReadRecordString(record.Get(), 2);
    if (MsiRecordGetIntegerStub(record.Get(), 3) <= 0) continue;
    if (action == L"ExecuteAction") break;
    if (!condition.empty() && !manager_.EvaluateCondition(condition)) continue;
    const UINT result = MsiDoActionStub(manager_.GetPackageHandle(), action.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FUNCTION_NOT_CALLED) {
      LogError(L"Failed to run the initializer setup. Error code %d", static_cast<int>(result));
      return false;
    }
  }
  return true;
}
