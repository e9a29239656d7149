#include <gtest/gtest.h>

#include <windows.h>

#include "BundleEntryFixture.h"
#include "app/ExecutionType.h"
#include "app/LanguageSelection.h"
#include "config/ConfigTestSupport.h"

namespace {

using apptest::BundleEntryTest;

const wchar_t kNoSettingsLine[] =
    L"DEBUG:\t\tLocalizationSetting is not configured in SetupConfig.xml, the application would run in default "
    L"language, English.";

TEST_F(BundleEntryTest, ValidateLanguageFallsBackToEnglishWithoutSettings) {
  record_->SetLanguageId(1031);
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  ValidateLanguage(*record_);
  EXPECT_EQ(record_->GetLanguageId(), 1033);
  EXPECT_EQ(log.Count(kNoSettingsLine), 1u) << log.Text();
  EXPECT_EQ(log.Count(L"INFORMATION:\tThe set up will run in the language Id, 1033."), 1u) << log.Text();
}

TEST_F(BundleEntryTest, ValidateLanguageKeepsAConfiguredLanguageAndReplacesAnother) {
  ConfigureLanguages({1033, 1036});
  record_->SetLanguageId(1036);
  {
    modeltest::LogCapture log;
    ValidateLanguage(*record_);
    EXPECT_EQ(record_->GetLanguageId(), 1036);
    EXPECT_EQ(log.Count(L"DEBUG:"), 0u) << log.Text();
    EXPECT_EQ(log.Count(L"The set up will run in the language Id, 1036."), 1u) << log.Text();
  }
  record_->SetLanguageId(1031);  // as given with /L 1031
  modeltest::LogCapture log;
  ValidateLanguage(*record_);
  EXPECT_EQ(record_->GetLanguageId(), 1033);
  EXPECT_EQ(log.Count(L"DEBUG:\t\tThe settings for language ID, 1031 is not configured in SetupConfig.xml, the "
                      L"application would run in default language, English."),
            1u)
      << log.Text();
}

TEST_F(BundleEntryTest, InstalledBundleTakesItsStoredLanguage) {
  ConfigureLanguages({1033, 1031});
  WriteDword(L"Language", 1031);
  record_->SetExecutionType(SETUPEXECTYPE_MAINTENANCE);
  record_->SetLanguageId(1033);
  modeltest::LogCapture log;
  EXPECT_TRUE(UpdateLanguageFromRegistry(record_.get()));
  EXPECT_EQ(record_->GetLanguageId(), 1031);
  EXPECT_EQ(log.Count(L"INFORMATION:\tLanguage is updated from registry and is set to : 1031"), 1u) << log.Text();
  // Asked again, nothing changes.
  EXPECT_FALSE(UpdateLanguageFromRegistry(record_.get()));
}

TEST_F(BundleEntryTest, StoredLanguageWithoutSettingsEndsInEnglishAndReportsNoChangeFromEnglish) {
  ConfigureLanguages({1033});
  WriteDword(L"Language", 1031);
  record_->SetExecutionType(SETUPEXECTYPE_MINORUPGRADE);
  record_->SetLanguageId(1033);
  EXPECT_FALSE(UpdateLanguageFromRegistry(record_.get()));
  EXPECT_EQ(record_->GetLanguageId(), 1033);
}

TEST_F(BundleEntryTest, MissingStoredLanguageMeansTheSystemDefault) {
  LANGID system = ::GetSystemDefaultLangID();
  ConfigureLanguages({1033, system});
  record_->SetExecutionType(SETUPEXECTYPE_MAINTENANCE);
  record_->SetLanguageId(0);
  modeltest::LogCapture log;
  EXPECT_TRUE(UpdateLanguageFromRegistry(record_.get()));
  EXPECT_EQ(record_->GetLanguageId(), system);
  EXPECT_EQ(log.Count(L"Language is updated from registry and is set to : " + std::to_wstring(system)), 1u)
      << log.Text();
}

TEST_F(BundleEntryTest, FirstInstallationOrNoRecordKeepsTheLanguage) {
  WriteDword(L"Language", 1031);
  record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
  record_->SetLanguageId(1033);
  EXPECT_FALSE(UpdateLanguageFromRegistry(record_.get()));
  EXPECT_EQ(record_->GetLanguageId(), 1033);
  EXPECT_FALSE(UpdateLanguageFromRegistry(nullptr));
}

}  // namespace
