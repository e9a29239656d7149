#include "app/LanguageSelection.h"

#include "app/ExecutionType.h"
#include "config/ILocalizationSetting.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "registry/ArpEntry.h"

namespace {
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

bool UpdateLanguageFromRegistry(ISetupConfigData* record) {
  if (record == nullptr || record->GetExecutionType() == SETUPEXECTYPE_INSTALLATION) return false;
  LANGID previous = record->GetLanguageId();
  LANGID language = CArpEntry().ReadApplicationLanguage(*record);
  if (language == 0) language = ::GetSystemDefaultLangID();
  LogInformation(L"Language is updated from registry and is set to : %d", static_cast<int>(language));
  record->SetLanguageId(language);
  ValidateLanguage(*record);
  return record->GetLanguageId() != previous;
}

void ValidateLanguage(ISetupConfigData& record) {
  ILocalizationSetting* settings = record.GetLocalizationSettings();
  if (settings == nullptr) {
    LogDebug(std::wstring(L"LocalizationSetting is not configured in SetupConfig.xml, the application would run in "
                          L"default language, English."));
    record.SetLanguageId(kEnglish);
  } else if (!settings->IsLanguageConfigured(record.GetLanguageId())) {
    LogDebug(L"The settings for language ID, %d is not configured in SetupConfig.xml, the application would run in "
             L"default language, English.",
             static_cast<int>(record.GetLanguageId()));
    record.SetLanguageId(kEnglish);
  }
  LogInformation(L"The set up will run in the language Id, %d.", static_cast<int>(record.GetLanguageId()));
}
