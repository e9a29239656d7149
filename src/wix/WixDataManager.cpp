#include "wix/WixDataManager.h"

#include <algorithm>

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "config/IWixLocalizationList.h"

CWixDataManager::CWixDataManager(ISetupConfigData& record) : record_(record) {}

CWixDataManager::~CWixDataManager() { Clear(); }

CWixDialog* CWixDataManager::GetDialog(const std::wstring& id) const {
  auto found = dialogs_.find(id);
  return found != dialogs_.end() ? found->second.get() : nullptr;
}

std::vector<std::wstring> CWixDataManager::GetDialogIds() const {
  std::vector<std::wstring> ids;
  ids.reserve(dialogs_.size());
  for (const auto& entry : dialogs_) ids.push_back(entry.first);
  return ids;
}

std::wstring CWixDataManager::GetLocalizedText(const std::wstring& id) const {
  IWixLocalizationList* table = record_.GetWixLocalizationList();
  if (table != nullptr) return table->GetLocalizedText(id);
  LogWarning(L"The localization for the id, %s does not exist.", id.c_str());
  return id;
}

bool CWixDataManager::AddDialog(std::unique_ptr<CWixDialog> dialog) {
  if (!dialog) return false;
  const std::wstring id = dialog->GetId();
  if (dialogs_.count(id) != 0) {
    LogDebug(L"Duplicate entry ! Could not add the dialog, %s to the map.", id.c_str());
    return false;
  }
  dialogs_.emplace(id, std::move(dialog));
  return true;
}

namespace {
CWixFeature* FindIn(const std::vector<std::unique_ptr<CWixFeature>>& features, const std::wstring& id) {
  for (const auto& feature : features) {
    if (feature->GetId() == id) return feature.get();
    if (CWixFeature* found = FindIn(feature->GetChildren(), id)) return found;
  }
  return nullptr;
}
}  // namespace

CWixFeature* CWixDataManager::FindFeature(const std::wstring& id) { return FindIn(features_, id); }

void CWixDataManager::AddFeature(std::unique_ptr<CWixFeature> feature) {
  if (feature) features_.push_back(std::move(feature));
}

void CWixDataManager::AddDeferredPublish(const std::wstring& dialogId, const std::wstring& controlId,
                                         WixPublish publish, int order) {
  deferred_.push_back(DeferredPublish{dialogId, controlId, std::move(publish), order});
}

int CWixDataManager::AttachDeferredPublishes() {
  // WiX runs a control's events by their Order; events without one count as 1.
  std::stable_sort(deferred_.begin(), deferred_.end(),
                   [](const DeferredPublish& a, const DeferredPublish& b) { return a.order < b.order; });
  int attached = 0;
  for (DeferredPublish& entry : deferred_) {
    CWixDialog* dialog = GetDialog(entry.dialogId);
    CWixControl* control = dialog != nullptr ? dialog->FindControl(entry.controlId) : nullptr;
    if (control == nullptr) {
      LogWarning(L"The event %s published for the control %s of the dialog %s has no such control; it is ignored.",
                 entry.publish.event.c_str(), entry.controlId.c_str(), entry.dialogId.c_str());
      continue;
    }
    control->AddPublish(std::move(entry.publish));
    ++attached;
  }
  deferred_.clear();
  return attached;
}

void CWixDataManager::ForEachDialog(const std::function<void(CWixDialog&)>& visit) {
  for (auto& entry : dialogs_) visit(*entry.second);
}

void CWixDataManager::ClearDialogs() {
  try {
    dialogs_.clear();
  } catch (...) {
    LogWarning(L"Exception caught while clearing the data in CDeleteMapFunctor");
  }
}

void CWixDataManager::ClearFeatures() {
  for (auto& feature : features_) {
    try {
      feature.reset();
    } catch (...) {
      LogWarning(L"Exception caught while clearing the data in CDeleteVectorFunctor");
    }
  }
  try {
    features_.clear();
  } catch (...) {
    LogError(L"Error in clearing the Feature list.");
  }
}

void CWixDataManager::Clear() {
  ClearDialogs();
  ClearFeatures();
  deferred_.clear();
}
