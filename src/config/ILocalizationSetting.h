#pragma once
// Faces of the list of languages the wizard offers.

#include <windows.h>

#include <memory>
#include <string>

#include "config/LocalizationSettingData.h"

class ILocalizationSetting {
 public:
  [[nodiscard]] virtual bool IsLanguageConfigured(LANGID languageId) const = 0;
  // First setting whose Name matches without regard to case; 0 when none.
  [[nodiscard]] virtual LANGID GetLanguageIdByName(const std::wstring& name) const = 0;
  [[nodiscard]] virtual ILocalizationSettingData* GetLanguageSetting(LANGID languageId) = 0;
  [[nodiscard]] virtual std::wstring GetMstFile(LANGID languageId) const = 0;
  [[nodiscard]] virtual std::wstring GetCodepage(LANGID languageId) const = 0;
  // Document-order access for the language selection.
  [[nodiscard]] virtual int GetCount() const = 0;
  [[nodiscard]] virtual ILocalizationSettingData* GetLanguageSettingAt(int index) = 0;

 protected:
  ~ILocalizationSetting() = default;
};

class ILocalizationSettingForParser {
 public:
  virtual void Reserve(int count) = 0;
  // Takes ownership; false when the setting is null or could not be stored.
  virtual bool AddLanguageSetting(std::unique_ptr<CLocalizationSettingData> setting) = 0;

 protected:
  ~ILocalizationSettingForParser() = default;
};
