#include "app/ParseManager.h"

#include <windows.h>

#include <utility>

#include "app/CommandLineParser.h"
#include "config/BSLocalizationConfigData.h"
#include "config/BootstrapperLocalizationReader.h"
#include "config/LogFileDetails.h"
#include "config/SetupConfigData.h"
#include "config/SetupConfigParser.h"
#include "config/SilentConfigData.h"
#include "config/SilentConfigParser.h"
#include "log/Log.h"
#include "log/LogManager.h"
#include "platform/MessageBox.h"
#include "platform/UniqueResource.h"
#include "platform/WinApp.h"

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
      folder_(record.GetSetupFolder()),
      setupConfigParser_(std::make_unique<CSetupConfigParser>(record, record)) {}

CParseManager::~CParseManager() = default;

std::wstring CParseManager::GetSetupConfigPath() const {
  return folder_ + L"SetupData\\Configuration\\SetupConfig.xml";
}

bool CParseManager::LoadBootstrapperStrings() {
  std::wstring path = CLogFileDetails::ExpandFolderReferences(L"%TEMP%") + L"\\BootstrapperLocalization.xml";
  (void)WriteEmbeddedLocalization(path);
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    LogDebug(L"Could not find the Localization file %s .", path.c_str());
    LogDebug(L"Bootstrapper localization xml file can not be created.");
    return true;
  }
  if (!ReadBootstrapperLocalization(path, texts_, record_.GetLanguageId())) {
    LogDebug(L"Bootstrapper localization xml file can not be Parsed.");
  }
  return true;
}

bool CParseManager::ParseConfiguration() {
  if (!setupConfigParser_->StartParse(GetSetupConfigPath())) {
    (void)platform::ShowMessageBox(nullptr,
                                   L"Parsing of SetupConfig.xml file failed. The application will be aborted.",
                                   L"Setup", MB_OK | MB_ICONERROR);
    return false;
  }
  return parser_.IsSilentMode() ? ReadForSilent() : ReadForWizard();
}

bool CParseManager::ReadForWizard() {
  if (!OpenSetupLog()) return false;
  LogInformation(L"The Setup Started...");
  LogInformation(L"Mode of Execution : UI Mode.");
  LogDebug(L"Checking for reboot Params.");
  parser_.ApplyResumeOptions(record_);
  return true;
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
  }
  if (!OpenSetupLog()) return false;
  LogInformation(L"The Setup Started......");
  LogInformation(silent != nullptr && silent->IsShowIndicator() ? L"Mode of Execution : Silent Indicator Mode."
                                                                : L"Mode of Execution : Simply Silent Mode.");
  parser_.ApplyResumeOptions(record_);
  return true;
}

bool CParseManager::OpenSetupLog() {
  setuplog::CLogManager& manager = setuplog::CLogManager::GetInstance();
  manager.SetBundleKey(record_.GetBootstrapperRegistry());
  manager.SetLogFileDetails(record_.GetLogFileDetails());
  if (manager.SetSinkType(1) == 0) return false;
  if (parser_.IsRestore()) LogInformation(L"Launching the setup after intermediate reboot...");
  platform::CWinAppBase* app = platform::CWinAppBase::GetCurrent();
  std::wstring arguments = app != nullptr ? app->GetArgumentsText() : std::wstring();
  if (!arguments.empty()) LogInformation(L"Command Line Parameters are : %s", arguments.c_str());
  return true;
}
