#include "config/WixLocalizationList.h"

#include "log/Log.h"

std::wstring CWixLocalizationList::GetLocalizedText(const std::wstring& id) const {
  auto found = texts_.find(id);
  if (found != texts_.end()) return found->second;
  LogWarning(L"The localization for the id, %s does not exist.", id.c_str());
  return id;
}

bool CWixLocalizationList::HasLocalization(const std::wstring& id) const { return texts_.count(id) != 0; }

bool CWixLocalizationList::AddLocalization(const std::wstring& id, const std::wstring& text) {
  auto found = texts_.find(id);
  if (found != texts_.end()) {
    LogWarning(L"The key %s is already available with an associated value of %s in localization list", id.c_str(),
               found->second.c_str());
    return false;
  }
  try {
    texts_.emplace(id, text);
  } catch (...) {
    LogError(L"CWixLocalizationList::AddLocalization() - Unable to add the id %s.", id.c_str());
    return false;
  }
  return true;
}

bool CWixLocalizationList::FindControlOverride(const std::wstring& dialogId, const std::wstring& controlId,
                                               WixControlOverride& values) const {
  auto found = controls_.find({dialogId, controlId});
  if (found == controls_.end()) return false;
  values = found->second;
  return true;
}

bool CWixLocalizationList::AddControlOverride(const std::wstring& dialogId, const std::wstring& controlId,
                                              const WixControlOverride& values) {
  if (controls_.count({dialogId, controlId}) != 0) {
    LogWarning(L"The control %s of the dialog %s already has localized values; the first ones are kept.",
               controlId.c_str(), dialogId.c_str());
    return false;
  }
  try {
    controls_.emplace(std::make_pair(dialogId, controlId), values);
  } catch (...) {
    LogError(L"CWixLocalizationList::AddControlOverride() - Unable to add the control %s.", controlId.c_str());
    return false;
  }
  return true;
}

void CWixLocalizationList::Clear() {
  texts_.clear();
  controls_.clear();
}
