// Which pre-install dialog shows: the id's own test, the entry's condition,
// and the command line's /L and /B.

#include <gtest/gtest.h>

#include "ui/dialogs/PreInstallConditionEvaluator.h"

namespace {

using ui::PreInstallEntry;
using ui::PreInstallFacts;

struct ClassifyCase {
  const wchar_t* id;
  PreInstallEntry entry;
};

class PreInstallClassifyTest : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(PreInstallClassifyTest, IdsAreComparedWithoutRegardToCase) {
  EXPECT_EQ(ui::ClassifyPreInstallEntry(GetParam().id), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(Ids, PreInstallClassifyTest,
                         ::testing::Values(ClassifyCase{L"CheckProcessDlg", PreInstallEntry::kCheckProcess},
                                           ClassifyCase{L"checkprocessdlg", PreInstallEntry::kCheckProcess},
                                           ClassifyCase{L"Restart_Dlg", PreInstallEntry::kRestart},
                                           ClassifyCase{L"PREPAREMSGDLG", PreInstallEntry::kPrepareMsg},
                                           ClassifyCase{L"Language_Dlg", PreInstallEntry::kLanguage},
                                           ClassifyCase{L"PreInstallDlg", PreInstallEntry::kBrand},
                                           ClassifyCase{L"LicenseDlg", PreInstallEntry::kOther},
                                           ClassifyCase{L"", PreInstallEntry::kOther}));

struct ShowCase {
  const char* name;
  PreInstallEntry entry;
  PreInstallFacts facts;
  bool shown;
};

PreInstallFacts Facts(bool condition, bool languageGiven, bool brandGiven, int languages, bool running = false,
                      bool restart = false, bool update = false) {
  PreInstallFacts facts;
  facts.conditionTrue = condition;
  facts.languageGiven = languageGiven;
  facts.brandGiven = brandGiven;
  facts.languageCount = languages;
  facts.processesRunning = running;
  facts.restartPending = restart;
  facts.installerUpdateNeeded = update;
  return facts;
}

class PreInstallShowTest : public ::testing::TestWithParam<ShowCase> {};

TEST_P(PreInstallShowTest, EntryShowsWhenItsOwnTestSaysSo) {
  EXPECT_EQ(ui::IsPreInstallEntryShown(GetParam().entry, GetParam().facts), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PreInstallShowTest,
    ::testing::Values(
        ShowCase{"LanguageAsked", PreInstallEntry::kLanguage, Facts(true, false, false, 2), true},
        ShowCase{"LanguageGivenByL", PreInstallEntry::kLanguage, Facts(true, true, false, 2), false},
        ShowCase{"LanguageConditionFalse", PreInstallEntry::kLanguage, Facts(false, false, false, 2), false},
        ShowCase{"LanguageOnlyOne", PreInstallEntry::kLanguage, Facts(true, false, false, 1), false},
        ShowCase{"LanguageNoneConfigured", PreInstallEntry::kLanguage, Facts(true, false, false, 0), false},
        ShowCase{"BrandAsked", PreInstallEntry::kBrand, Facts(true, false, false, 1), true},
        ShowCase{"BrandGivenByB", PreInstallEntry::kBrand, Facts(true, false, true, 1), false},
        ShowCase{"BrandConditionFalse", PreInstallEntry::kBrand, Facts(false, false, false, 1), false},
        ShowCase{"BrandIgnoresL", PreInstallEntry::kBrand, Facts(true, true, false, 1), true},
        ShowCase{"OtherByCondition", PreInstallEntry::kOther, Facts(true, true, true, 0), true},
        ShowCase{"OtherConditionFalse", PreInstallEntry::kOther, Facts(false, false, false, 0), false},
        ShowCase{"ProcessRunning", PreInstallEntry::kCheckProcess, Facts(false, false, false, 0, true), true},
        ShowCase{"ProcessNoneRunning", PreInstallEntry::kCheckProcess, Facts(true, false, false, 0, false), false},
        ShowCase{"RestartDue", PreInstallEntry::kRestart, Facts(false, false, false, 0, false, true), true},
        ShowCase{"RestartNotDue", PreInstallEntry::kRestart, Facts(true, false, false, 0), false},
        ShowCase{"UpdateNeeded", PreInstallEntry::kPrepareMsg, Facts(false, false, false, 0, false, false, true), true},
        ShowCase{"UpdateNotNeeded", PreInstallEntry::kPrepareMsg, Facts(true, false, false, 0), false}),
    [](const ::testing::TestParamInfo<ShowCase>& info) { return std::string(info.param.name); });

}  // namespace
