#include "config/LocalizationSettingData.h"

CLocalizationSettingData::CLocalizationSettingData(LANGID languageId, const std::wstring& name,
                                                   const std::wstring& mstFile, const std::wstring& codepage)
    : languageId_(languageId), name_(name), mstFile_(mstFile), codepage_(codepage) {}

int CLocalizationSettingData::ResetIteration() {
  cursor_ = 0;
  return static_cast<int>(localizationFiles_.size());
}

bool CLocalizationSettingData::GetNextLocalizationFile(std::wstring& fileName) {
  if (cursor_ >= localizationFiles_.size()) return false;
  fileName = localizationFiles_[cursor_++];
  return true;
}
