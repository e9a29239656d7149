#include "config/SetupConfigData.h"

#include "log/Log.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"

namespace {

// Lists hold capacity hints from the file; a negative count reserves nothing.
int CapacityHint(int expectedCount) { return expectedCount > 0 ? expectedCount : 0; }

}  // namespace

CSetupConfigData::CSetupConfigData() = default;

CSetupConfigData::~CSetupConfigData() {
  // The WiX-source product belongs to the product groups deleted next.
  wixSourceProduct_ = nullptr;
  productGroups_.reset();
  logFileDetails_.reset();
  icons_.reset();
  brands_.reset();
  preInstallDialogs_.reset();
  localizationSettings_.reset();
  wixFiles_.reset();
  wixLocalizations_.reset();
  processChecks_.reset();
}

std::wstring CSetupConfigData::GetProductName() {
  // Until a session answers, the cache stays empty so a later call asks again.
  if (productName_.empty() && productNameLookup_) productName_ = productNameLookup_();
  return productName_;
}

void CSetupConfigData::ReplaceProductNameToken(std::wstring& text) {
  static const wchar_t kToken[] = L"[ProductName]";
  if (text.find(kToken) == std::wstring::npos) return;
  platform::ReplaceAll(text, kToken, GetProductName());
}

HICON CSetupConfigData::GetSetupIcon() {
  if (!icons_) return nullptr;
  return icons_->GetIcon(L"SetupIcon", 16);
}

void CSetupConfigData::CreateLogFileDetails(const std::wstring& name, const std::wstring& level, int mode,
                                            int maxLengthOfFile) {
  logFileDetails_ = std::make_unique<CLogFileDetails>(name, level, mode, maxLengthOfFile);
}

ILocalizationSettingForParser* CSetupConfigData::GetOrCreateLocalizationSettings() {
  if (!localizationSettings_) localizationSettings_ = std::make_unique<CLocalizationSettingList>();
  return localizationSettings_.get();
}

IIconListForParser* CSetupConfigData::GetOrCreateIconList() {
  if (!icons_) icons_ = std::make_unique<CIconList>(platform::GetModuleFolder());
  return icons_.get();
}

IWixLocalizationListForParser* CSetupConfigData::GetOrCreateWixLocalizationList() {
  if (!wixLocalizations_) wixLocalizations_ = std::make_unique<CWixLocalizationList>();
  return wixLocalizations_.get();
}

IProductGroupListForParser* CSetupConfigData::GetOrCreateProductGroupList(int expectedCount) {
  if (!productGroups_) productGroups_ = std::make_unique<CProductGroupList>(CapacityHint(expectedCount));
  return productGroups_.get();
}

IPreInstallDialogListForParser* CSetupConfigData::GetOrCreatePreInstallDialogList() {
  if (!preInstallDialogs_) preInstallDialogs_ = std::make_unique<CPreInstallDialogList>();
  return preInstallDialogs_.get();
}

CWixFileContainer* CSetupConfigData::GetOrCreateWixFileContainer(int expectedCount) {
  if (!wixFiles_) wixFiles_ = std::make_unique<CWixFileContainer>(CapacityHint(expectedCount));
  return wixFiles_.get();
}

IBrandDetailsList* CSetupConfigData::GetOrCreateBrandDetailsList() {
  if (!brands_) brands_ = std::make_unique<CBrandDetailsList>(*this, platform::GetModuleFolder());
  return brands_.get();
}

void CSetupConfigData::SetWixSourceProduct(IProductAttributesForParser* product) {
  if (!product) {
    wixSourceProduct_ = nullptr;
    return;
  }
  // Every product object carries both faces; the read face is the one handed out.
  wixSourceProduct_ = dynamic_cast<IProductAttributes*>(product);
  if (!wixSourceProduct_) {
    LogError(L"CSetupConfigData::SetWixSourceProduct() - The product has no read interface.");
  }
}

void CSetupConfigData::SetPreconditionProcessCheckList(std::unique_ptr<CPreconditionProcessCheckList> list) {
  if (!list) {
    LogWarning(L"CSetupConfigData::SetPreconditionProcessCheckList() - No process check list was given.");
    return;
  }
  processChecks_ = std::move(list);
}
