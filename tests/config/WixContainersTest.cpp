#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "config/WixFileContainer.h"
#include "config/WixLocalizationList.h"

namespace {

TEST(ConfigWixFileContainer, GivesPathsInOrderThenEmptyUntilRewound) {
  CWixFileContainer files(-3);
  files.AddPath(L"WelcomeDlg.wxs");
  files.AddPath(L"ExitDialog.wxs");
  EXPECT_EQ(files.GetNextPath(), L"WelcomeDlg.wxs");
  EXPECT_EQ(files.GetNextPath(), L"ExitDialog.wxs");
  EXPECT_EQ(files.GetNextPath(), L"");
  EXPECT_EQ(files.Rewind(), 2);
  EXPECT_EQ(files.GetNextPath(), L"WelcomeDlg.wxs");
}

TEST(ConfigWixLocalizationList, DuplicateIdKeepsTheFirstTextAndWarns) {
  CWixLocalizationList strings;
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_TRUE(strings.AddLocalization(L"Title", L"Setup"));
  EXPECT_FALSE(strings.AddLocalization(L"Title", L"Other"));
  EXPECT_EQ(strings.GetLocalizedText(L"Title"), L"Setup");
  EXPECT_EQ(log.Count(L"The key Title is already available with an associated value of Setup in localization list"),
            1u);
}

TEST(ConfigWixLocalizationList, UnknownIdComesBackAsItselfWithAWarning) {
  CWixLocalizationList strings;
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(strings.GetLocalizedText(L"Missing"), L"Missing");
  EXPECT_FALSE(strings.HasLocalization(L"Missing"));
  EXPECT_EQ(log.Count(L"WARNING:\tThe localization for the id, Missing does not exist."), 1u);
}

TEST(ConfigWixLocalizationList, ClearEmptiesTheTable) {
  CWixLocalizationList strings;
  ASSERT_TRUE(strings.AddLocalization(L"A", L"a"));
  strings.Clear();
  EXPECT_EQ(strings.GetCount(), 0);
  EXPECT_TRUE(strings.AddLocalization(L"A", L"b"));
  EXPECT_EQ(strings.GetLocalizedText(L"A"), L"b");
}

}  // namespace
