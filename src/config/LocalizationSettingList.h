#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/ILocalizationSetting.h"
#include "config/LocalizationSettingData.h"

// The wizard's languages in document order.
class CLocalizationSettingList : public ILocalizationSetting, public ILocalizationSettingForParser {
 public:
  CLocalizationSettingList() = default;
  virtual ~CLocalizationSettingList();
  CLocalizationSettingList(const CLocalizationSettingList&) = delete;
  CLocalizationSettingList& operator=(const CLocalizationSettingList&) = delete;

  // ILocalizationSetting
  bool IsLanguageConfigured(LANGID languageId) const override;
  LANGID GetLanguageIdByName(const std::wstring& name) const override;
  ILocalizationSettingData* GetLanguageSetting(LANGID languageId) override;
  std::wstring GetMstFile(LANGID languageId) const override;
  std::wstring GetCodepage(LANGID languageId) const override;
  int GetCount() const override { return static_cast<int>(settings_.size()); }
  ILocalizationSettingData* GetLanguageSettingAt(int index) override;

  // ILocalizationSettingForParser
  void Reserve(int count) override;
  bool AddLanguageSetting(std::unique_ptr<CLocalizationSettingData> setting) override;

 private:
  [[nodiscard]] CLocalizationSettingData* Find(LANGID languageId) const;

  std::vector<std::unique_ptr<CLocalizationSettingData>> settings_;
};
