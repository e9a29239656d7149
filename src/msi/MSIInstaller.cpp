#include "msi/MSIInstaller.h"

#include "config/CommonUtilityBase.h"
#include "config/ExecutionType.h"
#include "config/ILocalizationSetting.h"
#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "log/ILogFileDetails.h"
#include "log/Log.h"
#include "log/LogRollOver.h"
#include "msi/IEventDispatcher.h"
#include "msi/IMSIManager.h"
#include "msi/MsiEntryPoints.h"
#include "platform/Path.h"
#include "platform/StringUtil.h"

namespace {

constexpr INSTALLUILEVEL kSilentWithSourcePrompts = static_cast<INSTALLUILEVEL>(0x102);
constexpr DWORD kVerboseLog = INSTALLLOGMODE_VERBOSE;
constexpr DWORD kAppendLog = 1;
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

bool IsBundlePackage(const IProductAttributes& product) {
  return product.IsMainProduct() || product.IsWixSource() || product.GetProductName() == L"SetupInitializer";
}

}  // namespace

CMSIInstaller::CMSIInstaller(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupInstallerBase(record, dispatcher), handler_(std::make_unique<CMsiMessageHandler>()) {
  LoadMsiLibrary();
  handler_->Bind(dispatcher);
}

CMSIInstaller::~CMSIInstaller() = default;

void CMSIInstaller::Cancel() { handler_->Cancel(); }

void CMSIInstaller::SplitRemovalCommand(const std::wstring& commandLine, std::wstring& productCode,
                                        std::wstring& properties) {
  std::wstring text = platform::Trim(commandLine);
  size_t open = text.find(L'{');
  size_t close = text.find(L'}');
  productCode.clear();
  if (open != std::wstring::npos && close != std::wstring::npos && close > open) {
    productCode = text.substr(open, close - open + 1);
  }
  // The character after the brace separates the code from further properties.
  size_t rest = close == std::wstring::npos ? text.size() : close + 2;
  properties = L"REMOVE=\"ALL\" " + (rest < text.size() ? text.substr(rest) : std::wstring());
}

std::wstring CMSIInstaller::PackageLogPath(const IProductAttributes& product) const {
  const ILogFileDetails* details = record_.GetLogFileDetails();
  std::wstring folder = details != nullptr ? details->GetFolder() : std::wstring();
  // Without a log folder the package log goes to the temporary folder rather
  // than wherever the current directory happens to be.
  if (folder.empty()) folder = platform::TempFolder();
  return folder + product.GetProductName() + L"_Setup.log";
}

void CMSIInstaller::AddSelectedFeatures(const IProductAttributes& product, std::wstring& commandLine) const {
  if (commandLine.find(L"ADDLOCAL") != std::wstring::npos) {
    platform::ReplaceAll(commandLine, L"[SelectedFeatures]", record_.GetSelectedFeatures());
  }
  if (record_.GetExecutionType() == SETUPEXECTYPE_MODIFY && (product.IsMainProduct() || product.IsWixSource())) {
    commandLine += L" REMOVE=\"" + record_.GetDeselectedFeatures() + L"\"";
  }
}

void CMSIInstaller::AddTransforms(IProductAttributes& product, std::wstring& commandLine) const {
  std::wstring transform;
  const LANGID language = record_.GetLanguageId();
  if (IsBundlePackage(product)) {
    // A blank keeps the last bundle property apart from the product's own command line.
    std::wstring properties = record_.GetInstallProperties();
    if (!properties.empty()) commandLine = properties + L" " + commandLine;
    if (ILocalizationSetting* languages = record_.GetLocalizationSettings()) transform = languages->GetMstFile(language);
  } else {
    transform = product.GetTransformForLanguage(language);
  }
  if (!transform.empty()) commandLine = L"TRANSFORMS=\"" + transform + L"\" " + commandLine;
}

DWORD CMSIInstaller::Execute(IProductAttributes& product, const std::wstring& commandLine) {
  std::wstring command = commandLine;
  ResolvePropertyReferences(record_.GetInstallProperties(), command);
  std::wstring location = product.GetLocation();
  if (record_.GetExecutionType() != SETUPEXECTYPE_REMOVE) {
    CCommonUtilityBase::ResolvePath(record_, location, true);
    CCommonUtilityBase::ResolvePath(record_, command, false);
    AddSelectedFeatures(product, command);
    AddTransforms(product, command);
  }

  const std::wstring logPath = PackageLogPath(product);
  if (::GetFileAttributesW(logPath.c_str()) != INVALID_FILE_ATTRIBUTES) setuplog::RollOverFile(logPath);
  MsiEnableLogStub(kVerboseLog, logPath.c_str(), kAppendLog);

  std::wstring maskedCommand = command;
  if (IMSIManager* manager = dispatcher_ != nullptr ? dispatcher_->GetMSIManager() : nullptr) {
    manager->MaskHiddenProperties(maskedCommand);
  }

  DWORD result = RunPackage(product, location, command);

  // Deliberate text (the status block, its blanks and tabs included): kept as written.
  LogUserLine(platform::Format(
      L"\n\t\t\t%s \n\t\t\t Logfile location: %s \n\t\t\t Msi Location\t : %s \n\t\t\t SetupCommand\t : %s "
      L"\n\t\t\t Error Code \t : %d \n\t\t\t Error Desc\t : %s\n\t\t\t%s",
      kStatusSeparator, logPath.c_str(), location.c_str(), maskedCommand.c_str(), static_cast<int>(result),
      CCommonUtilityBase::GetErrorMessageText(result, kEnglish).c_str(), kStatusSeparator));
  LogAdditionalInfo(result);
  return result;
}

DWORD CMSIInstaller::RunPackage(IProductAttributes& product, const std::wstring& location,
                                const std::wstring& commandLine) {
  if (MsiSetInternalUIStub(kSilentWithSourcePrompts, nullptr) == 0) {
    LogError(L"Unable to set the internal UI level to the initializer setup");
    // Nothing ran, so the product must not count as installed.
    return ERROR_INSTALL_SERVICE_FAILURE;
  }
  handler_->RegisterMessageHandlers(0);
  handler_->ClearRollbackCleanup();

  const int executionType = record_.GetExecutionType();
  if (executionType == SETUPEXECTYPE_REMOVE) {
    std::wstring productCode, properties;
    SplitRemovalCommand(commandLine, productCode, properties);
    return MsiConfigureProductExStub(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT,
                                     properties.c_str());
  }
  if (executionType == SETUPEXECTYPE_MINORUPGRADE) {
    return MsiInstallProductStub(location.c_str(), L"REINSTALL=ALL REINSTALLMODE=voamus");
  }
  if (product.GetProductType() == kProductTypeMsp) {
    return MsiApplyPatchStub(location.c_str(), nullptr, INSTALLTYPE_DEFAULT, commandLine.c_str());
  }
  return MsiInstallProductStub(location.c_str(), commandLine.c_str());
}
