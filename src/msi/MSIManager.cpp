#include "msi/MSIManager.h"

#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "config/ProductCode.h"
#include "config/ProductWalk.h"
#include "log/Log.h"
#include "msi/HiddenPropertyMask.h"
#include "msi/IEventDispatcher.h"
#include "msi/ISetupLauncher.h"
#include "msi/InstalledProduct.h"
#include "msi/MsiMessageHandler.h"
#include "msi/MsiQuery.h"
#include "msi/PropertyString.h"
#include "platform/StringUtil.h"
#include "wix/IWixDataManager.h"
#include "wix/WixFeature.h"

namespace {

// More passes than any honest text needs; a value that refers to itself ends here.
constexpr int kMaxFormatPasses = 256;

bool IsPublicName(const std::wstring& name) { return !name.empty() && name == platform::ToUpper(name); }

// Opens and executes a view; logs nothing (the callers log their own texts).
UINT OpenExecutedView(MSIHANDLE database, const std::wstring& query, platform::UniqueMsiHandle& view,
                      bool& opened) {
  MSIHANDLE raw = 0;
  opened = false;
  UINT result = MsiDatabaseOpenViewStub(database, query.c_str(), &raw);
  if (result != ERROR_SUCCESS) return result;
  view.Reset(raw);
  opened = true;
  return MsiViewExecuteStub(view.Get(), 0);
}

}  // namespace

CMSIManager::CMSIManager(ISetupConfigData& record, bool silent) : silent_(silent), record_(record) {
  LoadMsiLibrary();
  handler_ = std::make_unique<CMsiMessageHandler>();
}

CMSIManager::~CMSIManager() {
  CloseHandles();
  handler_.reset();
  launcher_.reset();
}

void CMSIManager::SetLauncher(std::unique_ptr<ISetupLauncher> launcher) { launcher_ = std::move(launcher); }

bool CMSIManager::LaunchInitializer(IEventDispatcher* dispatcher) {
  dispatcher_ = dispatcher;
  handler_->Bind(dispatcher);
  handler_->SetCapture(true);
  if (launcher_ == nullptr || launcher_->Launch(dispatcher) == 0) {
    handler_->SetCapture(false);
    return false;
  }
  if (costingDeferred_) {
    costingDeferred_ = false;
    RunCostingWithoutUserInterface();
  }
  if (record_.IsRestoreMode()) return true;
  handler_->SetCapture(false);
  ReadHiddenProperties();
  if (!silent_ && !ShowFirstDialog()) {
    LogError(L"Failed to show the dialog sequence");
    return false;
  }
  return true;
}

void CMSIManager::ReadHiddenProperties() {
  std::wstring value = GetPropertyValue(L"MsiHiddenProperties");
  hiddenNames_.clear();
  if (value.empty()) {
    LogDebug(L"No hidden property configured");
    return;
  }
  for (const std::wstring& token : platform::Split(value, L";")) {
    if (token.empty()) continue;
    LogDebug(L"Hidden property found: name is %s", token.c_str());
    hiddenNames_.push_back(token);
  }
}

bool CMSIManager::IsHiddenProperty(const std::wstring& name) const {
  for (const std::wstring& hidden : hiddenNames_) {
    if (platform::EqualsNoCase(hidden, name)) return true;
  }
  return false;
}

bool CMSIManager::ShowFirstDialog() {
  firstDialog_ = handler_->GetCapturedDialog();
  if (firstDialog_.empty()) {
    LogError(L"Unable to get the first dialog name from the initializer setup");
    return false;
  }
  if (dispatcher_ != nullptr) dispatcher_->ShowDialog(firstDialog_);
  return true;
}

std::wstring CMSIManager::GetPropertyValue(const std::wstring& name) {
  if (!package_) {
    auto found = cache_.find(name);
    return found != cache_.end() ? found->second : std::wstring();
  }
  return ReadSessionProperty(package_.Get(), name);
}

std::wstring CMSIManager::GetProperty(const std::wstring& name, bool indirect) {
  if (!indirect) return GetPropertyValue(name);
  return GetPropertyValue(GetPropertyValue(name));
}

void CMSIManager::SetProperty(const std::wstring& name, const std::wstring& value, bool indirect) {
  const std::wstring target = indirect ? GetPropertyValue(name) : name;
  (void)MsiSetPropertyStub(package_.Get(), target.c_str(), value.c_str());
  CacheProperty(target, value);
  LogDebug(L"PROPERTY CHANGE: Modifying '%s' property. Its new value: '%s'.", target.c_str(),
           IsHiddenProperty(target) ? kHiddenValueMask : value.c_str());
}

bool CMSIManager::EvaluateCondition(const std::wstring& condition) {
  return MsiEvaluateConditionStub(package_.Get(), condition.c_str()) == MSICONDITION_TRUE;
}

void CMSIManager::FormatText(std::wstring& text) {
  // Each pass resolves the first complete reference; a "]" before the first
  // "[" has no reference to close, so the search for "]" starts after "[".
  for (int pass = 0; pass < kMaxFormatPasses; ++pass) {
    size_t open = text.find(L'[');
    if (open == std::wstring::npos) return;
    size_t close = text.find(L']', open);
    if (close == std::wstring::npos) return;
    const std::wstring reference = text.substr(open, close - open + 1);
    const std::wstring name = text.substr(open + 1, close - open - 1);
    if (platform::EqualsNoCase(reference, L"[ProductName]")) {
      const std::wstring productName = record_.GetProductName();
      // Every spelling of the reference goes, so a lower-case one cannot loop.
      size_t at = 0;
      while ((at = text.find(L'[', at)) != std::wstring::npos) {
        if (platform::EqualsNoCase(std::wstring_view(text).substr(at, reference.size()), reference)) {
          text.replace(at, reference.size(), productName);
          at += productName.size();
        } else {
          ++at;
        }
      }
    } else {
      platform::ReplaceAll(text, reference, GetProperty(name, false));
    }
    if (text.size() > kMaxFormattedTextLength) {
      text.resize(kMaxFormattedTextLength);
      LogWarning(L"The text grew beyond %d characters while its property references were resolved; it is cut there.",
                 static_cast<int>(kMaxFormattedTextLength));
      return;
    }
  }
}

void CMSIManager::ReadPropertyTable(const std::wstring& table, UINT column, bool publicOnly) {
  platform::UniqueMsiHandle view;
  bool opened = false;
  UINT result = OpenExecutedView(database_.Get(), platform::Format(L"SELECT * FROM `%s`", table.c_str()), view,
                                 opened);
  if (!opened) {
    LogWarning(L"Unable to access the %s table. Return value is %d", table.c_str(), static_cast<int>(result));
    return;
  }
  if (result != ERROR_SUCCESS) {
    LogError(L"Unable to fetch the %s table. Return value is %d", table.c_str(), static_cast<int>(result));
    return;
  }
  for (;;) {
    MSIHANDLE raw = 0;
    if (MsiViewFetchStub(view.Get(), &raw) != ERROR_SUCCESS) break;
    platform::UniqueMsiHandle record(raw);
    std::wstring name = ReadRecordString(record.Get(), column);
    if (name.empty()) continue;
    if (publicOnly && !IsPublicName(name)) continue;
    cache_.emplace(name, GetProperty(name, false));
  }
}

std::wstring CMSIManager::GetPropertyString() {
  ReadPropertyTable(L"Property", 1, false);
  ReadPropertyTable(L"AppSearch", 1, false);
  ReadPropertyTable(L"Directory", 1, true);
  std::wstring text;
  for (const auto& [name, value] : cache_) {
    if (!IsPublicName(name)) continue;
    if (!text.empty()) text += L' ';
    text += msiprops::FormatAssignment(name, value);
  }
  return text;
}

void CMSIManager::CloseHandles() {
  package_.Reset();
  database_.Reset();
}

void CMSIManager::CloseHandlesUnlessKept() {
  if (keepHandles_ == 0) CloseHandles();
}

bool CMSIManager::GetFeatureState(const std::wstring& feature, int& installed, int& action) {
  INSTALLSTATE installedState = INSTALLSTATE_UNKNOWN, actionState = INSTALLSTATE_UNKNOWN;
  if (MsiGetFeatureStateStub(package_.Get(), feature.c_str(), &installedState, &actionState) != ERROR_SUCCESS) {
    LogInformation(L"QueryFeatureStateFromMsi::The MsiGetFeatureStateStub API failed for feature," + feature);
    return false;
  }
  installed = installedState;
  action = actionState;
  return true;
}

void CMSIManager::SetFeatureState(const std::wstring& feature, int state) {
  if (MsiSetFeatureStateStub(package_.Get(), feature.c_str(), static_cast<INSTALLSTATE>(state)) != ERROR_SUCCESS) {
    LogDebug(L"Failed to update to the msi database the Feature state for %s .", feature.c_str());
  }
}

bool CMSIManager::HasCustomAction(const std::wstring& action) {
  if (!database_) return true;  // unknown: leave the action to Windows Installer
  platform::UniqueMsiHandle view;
  bool opened = false;
  // Action names are identifiers (letters, digits, '_' and '.'), so the name
  // can stand in the query; anything else is not looked up.
  for (wchar_t c : action) {
    if (!iswalnum(c) && c != L'_' && c != L'.') return true;
  }
  const std::wstring query = L"SELECT `Action` FROM `CustomAction` WHERE `Action` = '" + action + L"'";
  if (OpenExecutedView(database_.Get(), query, view, opened) != ERROR_SUCCESS) return !opened;
  MSIHANDLE row = 0;
  if (MsiViewFetchStub(view.Get(), &row) != ERROR_SUCCESS) return false;
  platform::UniqueMsiHandle owned(row);
  return true;
}

bool CMSIManager::RunMissingWixUiAction(const std::wstring& action, unsigned& result) {
  const bool validate = action == L"WixUIValidatePath";
  if ((!validate && action != L"WixUIPrintEula") || HasCustomAction(action)) return false;
  result = ERROR_SUCCESS;
  if (!validate) {
    LogInformation(L"The custom action %s is not in the package; printing the license is not available.",
                   action.c_str());
    return true;
  }
  // As the extension does: the property WIXUI_INSTALLDIR names holds the
  // folder; WIXUI_INSTALLDIR_VALID says whether it can take an installation.
  const std::wstring folder = GetProperty(L"WIXUI_INSTALLDIR", true);
  const bool valid = IsInstallableFolder(folder);
  SetProperty(L"WIXUI_INSTALLDIR_VALID", valid ? L"1" : L"0", false);
  LogInformation(L"The custom action %s is not in the package; the setup checked the folder \"%s\": %s.",
                 action.c_str(), folder.c_str(), valid ? L"valid" : L"not valid");
  return true;
}

bool CMSIManager::IsInstallableFolder(const std::wstring& folder) {
  // An absolute folder on a local fixed drive, without the characters a
  // file name cannot hold.
  if (folder.size() < 3 || !iswalpha(folder[0]) || folder[1] != L':' || folder[2] != L'\\') return false;
  if (folder.find_first_of(L"<>:\"|?*/", 2) != std::wstring::npos) return false;
  for (wchar_t c : folder) {
    if (c < 32) return false;
  }
  const wchar_t root[] = {folder[0], L':', L'\\', 0};
  const UINT type = ::GetDriveTypeW(root);
  return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

unsigned CMSIManager::DoAction(const std::wstring& action) {
  unsigned missingActionResult = 0;
  if (RunMissingWixUiAction(action, missingActionResult)) return missingActionResult;
  UINT result = MsiDoActionStub(package_.Get(), action.c_str());
  if (result != ERROR_SUCCESS) {
    const std::wstring description =
        platform::SystemErrorText(result, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    // Deliberate text (the blank before the comma): kept as written.
    LogWarning(L"Unable to run the custom action %s. Error code: %d , Error Description : %s", action.c_str(),
               static_cast<int>(result), description.c_str());
  }
  return result;
}

void CMSIManager::ReopenCachedPackage() {
  if (MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr) == INSTALLUILEVEL_NOCHANGE) {
    LogError(L"Unable to set the internal UI level to the initializer setup");
    return;
  }
  std::wstring code = productCode_;
  if (record_.GetExecutionType() != SETUPEXECTYPE_PATCH) {
    IProductAttributes* wixSource = record_.GetWixSourceProduct();
    code = wixSource != nullptr ? ExtractProductCode(wixSource->GetUninstallCommand()) : std::wstring();
  }
  const std::wstring path = GetCachedPackagePath(code);
  MSIHANDLE raw = 0;
  if (path.empty() || MsiOpenPackageStub(path.c_str(), &raw) != ERROR_SUCCESS) {
    LogError(L"Unable to get the cached msi.MsiOpenPackage API failed");
    return;
  }
  package_.Reset(raw);
  for (const auto& [name, value] : cache_) (void)MsiSetPropertyStub(package_.Get(), name.c_str(), value.c_str());
}

bool CMSIManager::RunActionInWixSourcePackage(const std::wstring& action) {
  IProductAttributes* wixSource = record_.GetWixSourceProduct();
  keepHandles_ = wixSource != nullptr && wixSource->IsSkipped() ? 1 : 0;
  const std::wstring location = launcher_ != nullptr ? launcher_->GetPackageLocation() : std::wstring();
  if (location.empty()) {
    LogError(L"Unknown location for 'WixSource' product configured in SetupConfig.xml");
    return false;
  }
  if (!launcher_->OpenPackageWithUILevel(location, INSTALLUILEVEL_NONE)) return false;
  (void)DoAction(action);
  return true;
}

bool CMSIManager::SetFeaturesCost() {
  if (record_.GetExecutionType() == SETUPEXECTYPE_PATCH) {
    LogInformation(L"Setup type is a patch, Skipping the Feature Cost calculation.");
    return true;
  }
  if (sharesInitializerSession_) {
    // Costed once the initializer pass has opened the package (LaunchInitializer).
    costingDeferred_ = true;
    return true;
  }
  if (keepHandles_ == 0) {
    const std::wstring location = launcher_ != nullptr ? launcher_->GetMainProductLocation() : std::wstring();
    if (location.empty()) {
      LogError(L"CMSIManager:SetFeaturesCost() - Main product location is empty. Verify SetupConfig.xml");
      return false;
    }
    if (!launcher_->OpenPackageWithUILevel(location, INSTALLUILEVEL_NONE)) {
      LogError(L"CMSIManager:SetFeaturesCost() - Unable to open the main product. Please check 'mainproduct' "
               L"attribute is configured in SetupConfig.xml");
      return false;
    }
  }
  RunCosting();
  CloseHandlesUnlessKept();
  return true;
}

void CMSIManager::OpenInitializerPackageAhead() {
  sharesInitializerSession_ = CostsOnInitializerSession();
  if (sharesInitializerSession_) launcher_->OpenPackageAhead();
}

void CMSIManager::WaitForInitializerPackage() {
  if (launcher_ == nullptr) return;
  // The pass needs the message relay first thing; made while the package is
  // still being opened, it costs the run nothing.
  if (sharesInitializerSession_) handler_->PrepareRelay();
  launcher_->WaitForPackageAhead();
}

bool CMSIManager::CostsOnInitializerSession() {
  // A silent first installation has no page to show costs on before the
  // initializer pass: the package that pass opens is costed right after it,
  // with the properties the run installs with, instead of being opened once
  // more for the costing alone. A resumed run, another kind of run, or a main
  // product other than the package the pass opens keep a session of their own.
  if (!silent_ || record_.IsRestoreMode() || record_.GetExecutionType() != SETUPEXECTYPE_INSTALLATION) return false;
  if (keepHandles_ != 0 || launcher_ == nullptr) return false;
  const std::wstring mainProduct = launcher_->GetMainProductLocation();
  return !mainProduct.empty() && platform::EqualsNoCase(mainProduct, launcher_->GetPackageLocation());
}

void CMSIManager::RunCostingWithoutUserInterface() {
  // The pass ran with the installer's full interface; the costing actions
  // (InstallValidate among them) must not show any of it in a silent run.
  const INSTALLUILEVEL previous = MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  // The pass's sequence usually costs the package before its first page
  // ("CostingComplete" is then 1): its costs are read as they stand rather
  // than computed twice.
  RunCosting(GetPropertyValue(L"CostingComplete") == L"1");
  if (previous != INSTALLUILEVEL_NOCHANGE) (void)MsiSetInternalUIStub(previous, nullptr);
}

void CMSIManager::RunCosting(bool costed) {
  LogDebug(L"Costing of features initiated.");
  for (const wchar_t* action : {L"CostInitialize", L"FileCost", L"CostFinalize"}) {
    if (costed) break;
    if (MsiDoActionStub(package_.Get(), action) != ERROR_SUCCESS) {
      // Deliberate text (the trailing blanks here and below): kept as written.
      LogError(L"MsiDoActionStub API failed for %s ", action);
      return;
    }
  }
  if (MsiDoActionStub(package_.Get(), L"InstallValidate") != ERROR_SUCCESS) {
    LogError(L"MsiDoActionStub API failed for InstallValidate ");
  }
  if (wixModel_ == nullptr) {
    LogDebug(L"WixDataManager instance is NULL");
    return;
  }
  for (const auto& feature : wixModel_->GetFeatures()) CostFeature(*feature);
  LogDebug(L"Costing of features completed successfully.");
}

long long CMSIManager::BundleProductCost(const std::wstring& productName) {
  long long total = 0;
  (void)ForEachProduct(record_.GetProductGroupList(), [&](IProductGroup&, IProductAttributes& product) {
    if (platform::EqualsNoCase(product.GetProductName(), productName)) {
      // Megabytes; counted in 64 bits, so 4 GB and more do not wrap around.
      const long long megabytes = product.GetSpaceRequired();
      if (megabytes > 0) total += megabytes * 1048576LL;
    }
    return true;
  });
  return total;
}

void CMSIManager::CostFeature(CWixFeature& feature) {
  if (feature.IsNonFeature()) {
    feature.SetCost(BundleProductCost(feature.GetNonFeatureProductName()));
  } else {
    INT cost = 0;
    if (MsiGetFeatureCostStub(package_.Get(), feature.GetId().c_str(), MSICOSTTREE_SELFONLY, INSTALLSTATE_LOCAL,
                              &cost) != ERROR_SUCCESS) {
      LogError(L"MsiGetFeatureCostStub API failed for feature, " + feature.GetId());
      return;
    }
    feature.SetCost(static_cast<long long>(cost) * 512);
  }
  for (const auto& child : feature.GetChildren()) CostFeature(*child);
}

void CMSIManager::SetDatabaseHandle(unsigned long handle) {
  if (handle != database_.Get()) database_.Reset(handle);
}

void CMSIManager::SetPackageHandle(unsigned long handle) {
  if (handle != package_.Get()) package_.Reset(handle);
}

bool CMSIManager::LoadFeatureDisplay(CWixFeature* feature) {
  if (feature == nullptr) return false;
  platform::UniqueMsiHandle view;
  bool opened = false;
  UINT result = OpenExecutedView(
      database_.Get(), platform::Format(L"SELECT * FROM `Feature` WHERE Feature = '%s'", feature->GetId().c_str()),
      view, opened);
  if (!opened) {
    LogError(L"Unable access the feature table. The return value is %d", static_cast<int>(result));
    return false;
  }
  if (result != ERROR_SUCCESS) {
    LogError(L"Unable to fetch the feature table. The return value is %d", static_cast<int>(result));
    return false;
  }
  for (;;) {
    MSIHANDLE raw = 0;
    if (MsiViewFetchStub(view.Get(), &raw) != ERROR_SUCCESS) break;
    platform::UniqueMsiHandle record(raw);
    const int display = MsiRecordGetIntegerStub(record.Get(), 5);
    feature->SetDisplay(display == 0 ? L"hidden" : (display % 2 != 0 ? L"expand" : L"collapse"));
  }
  return true;
}

bool CMSIManager::SetInstallLevel(int level) {
  if (MsiSetInstallLevelStub(package_.Get(), level) != ERROR_SUCCESS) {
    LogInformation(L"MsiGetFeatureStateStub failed.");
    return false;
  }
  // The installation runs in a session of its own: the level travels with
  // the package's properties (Mondo's Typical 3, Complete 1000), or its
  // feature states would fall back to the package's default level.
  CacheProperty(L"INSTALLLEVEL", std::to_wstring(level));
  LogDebug(L"PROPERTY CHANGE: Modifying 'INSTALLLEVEL' property. Its new value: '%d'.", level);
  return true;
}

void CMSIManager::CacheProperty(const std::wstring& name, const std::wstring& value) { cache_[name] = value; }

void CMSIManager::MaskHiddenProperties(std::wstring& text) {
  // Masked whether or not the name appears: a value passed on under another
  // name is just as secret.
  MaskHiddenPropertyValues(text, hiddenNames_, cache_);
}

std::wstring CMSIManager::GetControlText(const std::wstring& control) {
  platform::UniqueMsiHandle view;
  bool opened = false;
  if (OpenExecutedView(database_.Get(), L"SELECT * FROM `Control`", view, opened) != ERROR_SUCCESS) return {};
  MSIHANDLE rawNames = 0;
  if (MsiViewGetColumnInfoStub(view.Get(), MSICOLINFO_NAMES, &rawNames) != ERROR_SUCCESS) return {};
  platform::UniqueMsiHandle names(rawNames);
  UINT controlColumn = 0, textColumn = 0;
  const UINT count = MsiRecordGetFieldCountStub(names.Get());
  for (UINT i = 1; i <= count; ++i) {
    const std::wstring column = ReadRecordString(names.Get(), i);
    if (platform::EqualsNoCase(column, L"Control")) controlColumn = i;
    if (platform::EqualsNoCase(column, L"Text")) textColumn = i;
  }
  if (controlColumn == 0 || textColumn == 0) return {};
  std::wstring text;
  for (;;) {
    MSIHANDLE raw = 0;
    if (MsiViewFetchStub(view.Get(), &raw) != ERROR_SUCCESS) break;
    platform::UniqueMsiHandle record(raw);
    const std::wstring name = ReadRecordString(record.Get(), controlColumn);
    if (!name.empty() && platform::EqualsNoCase(name, control)) text = ReadRecordString(record.Get(), textColumn);
  }
  return text;
}
