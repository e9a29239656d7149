#include "config/LocalizationSettingList.h"

#include "log/Log.h"
#include "platform/StringUtil.h"

CLocalizationSettingList::~CLocalizationSettingList() { settings_.clear(); }

CLocalizationSettingData* CLocalizationSettingList::Find(LANGID languageId) const {
  for (const auto& setting : settings_) {
    if (setting->GetLanguageId() == languageId) return setting.get();
  }
  return nullptr;
}

bool CLocalizationSettingList::IsLanguageConfigured(LANGID languageId) const { return Find(languageId) != nullptr; }

LANGID CLocalizationSettingList::GetLanguageIdByName(const std::wstring& name) const {
  for (const auto& setting : settings_) {
    if (platform::EqualsNoCase(setting->GetName(), name)) return setting->GetLanguageId();
  }
  return 0;
}

ILocalizationSettingData* CLocalizationSettingList::GetLanguageSetting(LANGID languageId) { return Find(languageId); }

std::wstring CLocalizationSettingList::GetMstFile(LANGID languageId) const {
  CLocalizationSettingData* setting = Find(languageId);
  return setting ? setting->GetMstFile() : std::wstring();
}

std::wstring CLocalizationSettingList::GetCodepage(LANGID languageId) const {
  CLocalizationSettingData* setting = Find(languageId);
  return setting ? setting->GetCodepage() : std::wstring();
}

ILocalizationSettingData* CLocalizationSettingList::GetLanguageSettingAt(int index) {
  if (index < 0 || static_cast<size_t>(index) >= settings_.size()) return nullptr;
  return settings_[static_cast<size_t>(index)].get();
}

void CLocalizationSettingList::Reserve(int count) {
  if (count <= 0) return;
  try {
    settings_.reserve(static_cast<size_t>(count));
  } catch (...) {
    LogWarning(L"CLocalizationSettingList::Reserve() - Unable to reserve room for %d languages.", count);
  }
}

bool CLocalizationSettingList::AddLanguageSetting(std::unique_ptr<CLocalizationSettingData> setting) {
  if (!setting) return false;
  try {
    settings_.push_back(std::move(setting));
  } catch (...) {
    LogError(L"CLocalizationSettingList::AddLanguageSetting() - Unable to add a language setting.");
    return false;
  }
  return true;
}
