#include "app/SetupBootstrapperApp.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/CommandLineParser.h"
#include "app/CrashHandler.h"
#include "app/ParseManager.h"
#include "app/StartupChecks.h"
#include "config/ExecutionType.h"
#include "config/ILocalizationSetting.h"
#include "engine/CommonUtility.h"
#include "engine/SetupManager.h"
#include "features/FeatureUtility.h"
#include "features/ProductPropertyUpdater.h"
#include "msi/MSIManager.h"
#include "msi/MsiQuery.h"
#include "engine/SetupLauncherBase.h"
#include "config/IProductAttributes.h"
#include "log/Log.h"
#include "log/LogManager.h"
#include "platform/MessageBox.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "platform/TaskThread.h"
#include "ui/dialogs/PreInstallConditionEvaluator.h"
#include "ui/silent/SilentIndicatorController.h"
#include "ui/dialogs/SplashScreen.h"
#include "ui/host/WizardController.h"
#include "ui/silent/SilentModeFlow.h"
#include "wix/WixDataManager.h"

const wchar_t CSetupBootstrapperApp::kSingleInstanceMutexName[] = L"CSetupBootstrapperApp{B98C6AA5-57C01234554321}";

namespace {

// Held until the process ends so later setups see this one running.
platform::UniqueHandle& SingleInstanceMutex() {
  static platform::UniqueHandle mutex;
  return mutex;
}

}  // namespace

CSetupBootstrapperApp::CSetupBootstrapperApp() = default;

CSetupBootstrapperApp::~CSetupBootstrapperApp() = default;

CSetupBootstrapperApp* CSetupBootstrapperApp::GetApp() {
  return static_cast<CSetupBootstrapperApp*>(platform::CWinAppBase::GetCurrent());
}

int CSetupBootstrapperApp::InitInstance() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), 0xFF};
  ::InitCommonControlsEx(&controls);
  if (!BaseInitInstance()) return 0;
  // Hosting ActiveX controls and the XML parser needs OLE on this thread.
  oleInitialized_ = SUCCEEDED(::OleInitialize(nullptr));
  InstallCrashHandler(L"Setup");

  configData_ = std::make_unique<CSetupConfigData>();

  // Until the configuration names the log file, only errors reach the user, as message boxes.
  (void)setuplog::CLogManager::GetInstance().SetSinkType(0);

  CCommandLineParser parser(configData_.get());
  ParseCommandLine(parser);
  if (parser.IsAborted()) return 0;
  // A silent run waits for its short workers (the main package's opening,
  // each EXE product's child) right away: their thread is made now, while
  // start-up goes on, instead of when the first of them is needed.
  if (parser.IsSilentMode()) (void)platform::SharedTaskThread().Prepare();

  configData_->SetSetupFolder(platform::GetModuleFolder());
  configData_->SetLanguageId(parser.GetLanguageId() > 0 ? parser.GetLanguageId() : ::GetSystemDefaultLangID());

  bootstrapperTexts_ = std::make_unique<CBSLocalizationConfigData>();
  CParseManager::Records records;
  records.silentConfig = [this]() -> CSilentConfigData& { return GetOrCreateSilentConfig(); };
  records.styleConfig = [this]() -> CStyleConfigData& { return GetOrCreateStyleConfig(); };
  records.mainDialogConfig = [this]() -> CMainDialogConfigData& { return GetOrCreateMainDialogConfig(); };
  // A silent option that does not fit the machine ends with the failure window, when one is shown.
  records.onSilentMismatch = [this]() { (void)GetOrCreateSilentIndicator().Finish(ISilentIndicatorController::kFinishFailed); };
  records.msiManager = [this]() -> IMSIManager* { return setupManager_ ? setupManager_->GetMSIManager() : nullptr; };
  parseManager_ = std::make_unique<CParseManager>(*configData_, parser, *bootstrapperTexts_, std::move(records));
  (void)parseManager_->LoadBootstrapperStrings();
  setuplog::CLogManager::GetInstance().SetOpenFailureTexts(bootstrapperTexts_->GetErrorMsg1(),
                                                           bootstrapperTexts_->GetErrorMsg2());

  // A deployment tool reads only the exit code: a silent run that stops here
  // must not look like a success. The wizard's user saw the message.
  const bool silent = parser.IsSilentMode() != 0;
  auto stop = [&](DWORD exitCode) {
    if (silent) SetExitCode(static_cast<int>(exitCode));
    return 0;
  };
  if (!CheckAdministrator()) return stop(ERROR_INSTALL_FAILURE);
  if (!CheckSingleInstance(parser)) return stop(ERROR_INSTALL_ALREADY_RUNNING);
  if (!CheckWindowsVersion()) return stop(ERROR_INSTALL_FAILURE);

  if (!parseManager_->ParseConfiguration()) return stop(parseManager_->GetStopExitCode());

  ApplyStartupValues(*configData_, parser);
  if (!CheckSourcePathCharacters(configData_->GetSetupFolder(), *configData_)) return stop(ERROR_INSTALL_FAILURE);
  if (!CheckPathDepth()) return stop(ERROR_INSTALL_FAILURE);
  if (!CheckBundleKey(*configData_, silent)) {
    SetExitCode(ERROR_INSTALL_FAILURE);
    return 0;
  }

  CreateSetupManager(parser);

  if (parser.IsSilentMode()) {
    configData_->SetUIMode(false);
    if (RunSilentRoad(parser) == 0) {
      LogDebug(L"The silent mode Execution failed!!");
      // A deployment tool reads only the exit code: a run that stopped before
      // or during the products must not look like a success.
      if (exitCode_ == 0) SetExitCode(ERROR_INSTALL_FAILURE);
    }
  } else {
    configData_->SetUIMode(true);
    if (RunWizardRoad(parser) == 0) LogInformation(L"The Full UI mode Execution failed!!");
  }
  return 0;
}

void CSetupBootstrapperApp::CreateSetupManager(const CCommandLineParser& parser) {
  const bool silent = parser.IsSilentMode() != 0;
  SetupStartData start;
  start.commandLineProperties = CCommandLineProperties::GetCommandLineProperties().GetAll();
  start.silentConfig = silent ? &GetOrCreateSilentConfig() : nullptr;

  // The engine cannot call the feature layer or this object: the steps that
  // belong there reach it through these hooks.
  CSetupManager::Hooks hooks;
  hooks.updateProductProperties = [this]() {
    (void)CProductPropertyUpdater::GetInstance().UpdateProducts(configData_.get(), setupManager_->GetMSIManager());
  };
  hooks.computeDefaultFeatureSelection = [this]() {
    IMSIManager* msiManager = setupManager_->GetMSIManager();
    if (msiManager == nullptr) return;
    std::wstring selected;
    std::wstring deselected;
    CFeatureUtility(&parseManager_->GetOrCreateWixDataManager()).ComputeSelectionLists(*msiManager, selected, deselected);
    configData_->SetFeatureSelection(selected, deselected);
  };
  hooks.featureDriveCost = [this](const std::wstring& drive) -> ULONGLONG {
    IMSIManager* msiManager = setupManager_->GetMSIManager();
    if (msiManager == nullptr || drive.empty()) return 0;
    CFeatureUtility::DriveCostMap costs;
    CFeatureUtility(&parseManager_->GetOrCreateWixDataManager()).CalculateDriveCost(costs, *configData_, *msiManager);
    long long total = 0;
    for (const auto& [letter, bytes] : costs) {
      if (platform::EqualsNoCase(letter, drive.substr(0, 1))) total += bytes;
    }
    return total > 0 ? static_cast<ULONGLONG>(total) : 0;
  };
  hooks.restoreRunState = [this](ISetupConfigData& record, CMSIManager& manager) {
    return CCommonUtility::RestoreRebootData(record, &manager, setupManager_->GetRebootManager());
  };
  hooks.onExitCode = [this](int exitCode) { SetExitCode(exitCode); };
  // A resumed run shows no first dialog either.
  setupManager_ = std::make_unique<CSetupManager>(*configData_, silent || configData_->IsRestoreMode(),
                                                  std::move(start), std::move(hooks));
  setupManager_->GetMSIManager()->SetWixDataManager(&parseManager_->GetOrCreateWixDataManager());
  configData_->SetProductNameLookup([this]() -> std::wstring {
    IMSIManager* msiManager = setupManager_ ? setupManager_->GetMSIManager() : nullptr;
    std::wstring name = msiManager != nullptr ? msiManager->GetProperty(L"ProductName", false) : std::wstring();
    // The wizard's frame is titled before the main package's session opens:
    // the package file itself names the product then.
    if (name.empty()) name = ReadMainPackageProperty(L"ProductName");
    return name;
  });
}

std::wstring CSetupBootstrapperApp::ReadMainPackageProperty(const std::wstring& name) const {
  IProductAttributes* wixSource = configData_ ? configData_->GetWixSourceProduct() : nullptr;
  if (wixSource == nullptr) return std::wstring();
  const std::wstring package = CSetupLauncherBase::JoinToFolder(configData_->GetSetupFolder(), wixSource->GetLocation());
  return ReadPackageFileProperty(package, name);
}

int CSetupBootstrapperApp::RunSilentRoad(CCommandLineParser& parser) {
  CSilentModeFlow::Options options;
  options.noReboot = parser.IsNoReboot() != 0;
  options.skipAddOnProducts = CCommandLineProperties::GetCommandLineProperties().Lookup(L"SKIPADDONPRODUCTS");
  options.deleteResumeOptions = [&parser]() { parser.DeleteResumeOptions(); };
  options.setRestartPending = [this](int pending) { SetRestartPending(pending); };
  CSilentModeFlow flow(*configData_, *setupManager_, GetOrCreateSilentConfig(), &GetOrCreateSilentIndicator(),
                       &parseManager_->GetOrCreateWixDataManager(), std::move(options));
  if (!parseManager_->StartParseWixFiles()) {
    LogError(L"Parsing of WIX files failed");
    return 0;
  }
  return flow.Run() ? 1 : 0;
}

int CSetupBootstrapperApp::RunWizardRoad(CCommandLineParser& parser) {
  ui::CWizardController& wizard = GetOrCreateWizardController();
  if (!wizard.Initialize()) {
    LogWarning(L"Initialization of UI Failed.");
    return 0;
  }
  if (!RunPreInstallDialogs(parser)) {
    LogDebug(L"User has exited from the preinstall dialog");
    return 0;
  }
  // The pre-install dialogs' sources are read again with the wizard's, so
  // nothing is there twice.
  if (preInstallDialogsRead_) parseManager_->GetOrCreateWixDataManager().Clear();
  if (!ReadWizardSources(wizard)) {
    LogError(L"Parsing of WIX files failed");
    return 0;
  }
  if (configData_->IsRestoreMode()) parser.DeleteResumeOptions();
  if (wizard.RunMainDialog() != IDOK) {
    LogInformation(L"Main dialog exit");
    return 0;
  }
  return 1;
}

bool CSetupBootstrapperApp::ReadWizardSources(ui::CWizardController& wizard) {
  // A first installation shows the brand's splash screen while the sources
  // are read and the features costed; a bundle without a splash image shows none.
  if (configData_->GetExecutionType() != SETUPEXECTYPE_INSTALLATION || !ui::CSplashScreen::IsConfigured(*configData_)) {
    return parseManager_->StartParseWixFiles();
  }
  ui::CSplashScreen splash(
      *configData_, [this](int) { return parseManager_->StartParseWixFiles() ? 1 : 0; }, &GetOrCreateStyleConfig(),
      wizard.GetInvisibleWindow());
  (void)splash.DoModal();
  return splash.GetResult() == 1;
}

bool CSetupBootstrapperApp::RunPreInstallDialogs(CCommandLineParser& parser) {
  // The language, brand and running-program questions come before the WiX
  // sources are read, so the wizard is read in the chosen language.
  if (parser.IsPreInstallDialogsHidden()) return true;
  ui::CPreInstallConditionEvaluator::Options options;
  options.isLanguageGiven = [&parser]() { return parser.IsLanguageDialogHidden() != 0; };
  options.isBrandGiven = [&parser]() { return parser.IsBrandGiven() != 0; };
  options.parseWixFile = [this](const std::wstring& path) { return parseManager_->ParseWixFile(path); };
  options.reParseLocalization = [this](LANGID language) {
    const bool reread = parseManager_->ReParseLocalization(language);
    (void)parseManager_->LoadBootstrapperStrings();
    return reread;
  };
  options.clearWixModel = [this]() { parseManager_->GetOrCreateWixDataManager().Clear(); };
  preInstallDialogsRead_ = true;
  ui::CPreInstallConditionEvaluator evaluator(*configData_, GetOrCreateWizardController(),
                                              setupManager_->GetMSIManager(), std::move(options));
  return evaluator.Run();
}

ui::CWizardController& CSetupBootstrapperApp::GetOrCreateWizardController() {
  if (!wizardController_) {
    wizardController_ = std::make_unique<ui::CWizardController>(*configData_, GetOrCreateStyleConfig(),
                                                                GetOrCreateMainDialogConfig(),
                                                                parseManager_->GetOrCreateWixDataManager(),
                                                                *setupManager_);
    wizardController_->SetFailureHandler([this](int exitCode) { SetExitCode(exitCode); });
    wizardController_->SetRestartHandler([this]() { SetRestartPending(1); });
  }
  return *wizardController_;
}

ui::CSilentIndicatorController& CSetupBootstrapperApp::GetOrCreateSilentIndicator() {
  if (!silentIndicator_) {
    silentIndicator_ = std::make_unique<ui::CSilentIndicatorController>(GetOrCreateSilentConfig(), *configData_);
  }
  return *silentIndicator_;
}

CStyleConfigData& CSetupBootstrapperApp::GetOrCreateStyleConfig() {
  if (!styleConfig_) styleConfig_ = std::make_unique<CStyleConfigData>();
  return *styleConfig_;
}

CMainDialogConfigData& CSetupBootstrapperApp::GetOrCreateMainDialogConfig() {
  if (!mainDialogConfig_) mainDialogConfig_ = std::make_unique<CMainDialogConfigData>();
  return *mainDialogConfig_;
}

CSilentConfigData& CSetupBootstrapperApp::GetOrCreateSilentConfig() {
  if (!silentConfig_) silentConfig_ = std::make_unique<CSilentConfigData>();
  return *silentConfig_;
}

void CSetupBootstrapperApp::ShowStartupError(const std::wstring& text) {
  (void)platform::ShowMessageBox(nullptr, text, L"Setup", MB_OK | MB_ICONERROR);
}

bool CSetupBootstrapperApp::CheckAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  BOOL isMember = FALSE;
  if (::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                 0, 0, &administrators)) {
    if (!::CheckTokenMembership(nullptr, administrators, &isMember)) isMember = FALSE;
    ::FreeSid(administrators);
  }
  if (!isMember) {
    ShowStartupError(bootstrapperTexts_->GetAdminRightsError());
    return false;
  }
  return true;
}

bool CSetupBootstrapperApp::CheckSingleInstance(const CCommandLineParser& parser) {
  if (!parser.IsSingleInstance()) return true;
  platform::UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, kSingleInstanceMutexName));
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    mutex.Reset();
    ShowStartupError(bootstrapperTexts_->GetAnotherInstanceRunningError());
    return false;
  }
  SingleInstanceMutex() = std::move(mutex);
  return true;
}

bool CSetupBootstrapperApp::CheckWindowsVersion() {
  OSVERSIONINFOEXW wanted = {};
  wanted.dwOSVersionInfoSize = sizeof(wanted);
  wanted.dwMajorVersion = 6;
  wanted.dwMinorVersion = 0;
  wanted.wServicePackMajor = 0;
  DWORDLONG condition = 0;
  condition = ::VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = ::VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  condition = ::VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
  if (!::VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, condition)) {
    ShowStartupError(bootstrapperTexts_->GetUnsupportedVersionError());
    return false;
  }
  return true;
}

bool CSetupBootstrapperApp::CheckPathDepth() {
  int reserve = configData_->GetSourcePathMaxLength();
  if (reserve <= 0) return true;
  const std::wstring folder = configData_->GetSetupFolder();
  if (static_cast<long long>(folder.size()) <= 256LL - reserve) return true;
  static const wchar_t kText[] =
      L"Cannot run Setup. The directory path is too deep. Copy the complete Setup files to a shorter path and try "
      L"again.";
  ShowStartupError(kText);
  LogError(kText);
  return false;
}

void CSetupBootstrapperApp::RestartMachine() {
  LogInformation(L"Rebooting the system.....");
  (void)CCommonUtility::StartMachineRestart();
}

int CSetupBootstrapperApp::ExitInstance() {
  // The wizard's windows are gone by now; its controller refers to the setup
  // manager, which holds the record and the WiX model, so both go first.
  wizardController_.reset();
  setupManager_.reset();
  silentIndicator_.reset();
  bool removeFolder = false;
  std::wstring maintenanceExe;
  std::wstring codePage;
  if (configData_) {
    removeFolder = configData_->GetExecutionType() == SETUPEXECTYPE_REMOVE && exitCode_ == 0;
    // Only a copy inside the installed location is ever removed: the path
    // comes from the bundle's configuration and the removal deletes a tree.
    if (removeFolder) {
      maintenanceExe = CCommonUtility::MaintenanceExeInside(configData_->GetInstalledLocation(),
                                                            configData_->GetMaintenanceExePath());
      removeFolder = !maintenanceExe.empty();
    }
    if (ILocalizationSetting* languages = configData_->GetLocalizationSettings()) {
      codePage = languages->GetCodepage(configData_->GetLanguageId());
    }
    configData_.reset();
  }
  mainDialogConfig_.reset();
  styleConfig_.reset();
  parseManager_.reset();
  silentConfig_.reset();
  bootstrapperTexts_.reset();

  // After a removal the batch that deletes the maintenance copy also restarts;
  // when that batch could not be started the pending restart still happens.
  bool restartByBatch =
      removeFolder && CCommonUtility::RemoveMaintenanceExeFolder(maintenanceExe, codePage, restartPending_ != 0);
  if (!restartByBatch && restartPending_) RestartMachine();

  setuplog::CLogManager::GetInstance().CloseSink();
  if (oleInitialized_) ::OleUninitialize();
  oleInitialized_ = false;
  return BaseExitInstance(exitCode_);
}
