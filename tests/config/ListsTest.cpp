#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/LocalizationSettingList.h"
#include "config/PreInstallDialogList.h"
#include "config/PreconditionProcessCheckList.h"

namespace {

std::unique_ptr<CLocalizationSettingData> Language(LANGID id, const wchar_t* name, const wchar_t* mst,
                                                   const wchar_t* codepage) {
  return std::make_unique<CLocalizationSettingData>(id, name, mst, codepage);
}

TEST(ConfigLocalizationSettingList, LooksUpLanguagesByIdAndByNameWithoutCase) {
  CLocalizationSettingList list;
  list.Reserve(3);
  ASSERT_TRUE(list.AddLanguageSetting(Language(1033, L"English", L"", L"1252")));
  ASSERT_TRUE(list.AddLanguageSetting(Language(1031, L"Deutsch", L"de.mst", L"1252")));
  ASSERT_TRUE(list.AddLanguageSetting(Language(1049, L"deutsch", L"ru.mst", L"1251")));
  EXPECT_FALSE(list.AddLanguageSetting(nullptr));
  EXPECT_EQ(list.GetLanguageIdByName(L"DEUTSCH"), 1031) << "first match wins";
  EXPECT_EQ(list.GetLanguageIdByName(L"Klingon"), 0);
  EXPECT_TRUE(list.IsLanguageConfigured(1049));
  EXPECT_FALSE(list.IsLanguageConfigured(1041));
  EXPECT_EQ(list.GetMstFile(1031), L"de.mst");
  EXPECT_EQ(list.GetMstFile(1041), L"");
  EXPECT_EQ(list.GetCodepage(1049), L"1251");
  EXPECT_EQ(list.GetLanguageSetting(1041), nullptr);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetLanguageSettingAt(1)->GetLanguageId(), 1031);
  EXPECT_EQ(list.GetLanguageSettingAt(3), nullptr);
}

TEST(ConfigLocalizationSettingData, IteratesItsFilesInOrderAndRewinds) {
  CLocalizationSettingData setting(1031, L"Deutsch", L"", L"");
  setting.AddLocalizationFile(L"a.wxl");
  setting.AddLocalizationFile(L"");
  setting.AddLocalizationFile(L"b.wxl");
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(setting.ResetIteration(), 3);
    std::vector<std::wstring> files;
    std::wstring file;
    while (setting.GetNextLocalizationFile(file)) files.push_back(file);
    EXPECT_EQ(files, (std::vector<std::wstring>{L"a.wxl", L"", L"b.wxl"}));
  }
}

std::vector<std::wstring> DrainDialogs(CPreInstallDialogList& list) {
  std::vector<std::wstring> ids;
  while (IPreInstallDialogData* dialog = list.GetNextDialog()) ids.push_back(dialog->GetId());
  return ids;
}

TEST(ConfigPreInstallDialogList, SortsBySequenceAndRestartsAfterTheEnd) {
  CPreInstallDialogList list;
  list.AddDialog(3, L"C", L"c.wxs", L"1");
  list.AddDialog(1, L"A", L"a.wxs", L"1");
  list.AddDialog(2, L"B", L"b.wxs", L"NOT Installed");
  list.SortBySequence();
  EXPECT_EQ(list.ResetIteration(), 3);
  EXPECT_EQ(DrainDialogs(list), (std::vector<std::wstring>{L"A", L"B", L"C"}));
  IPreInstallDialogData* again = list.GetNextDialog();
  ASSERT_NE(again, nullptr) << "after the null the cursor starts over";
  EXPECT_EQ(again->GetId(), L"A");
}

TEST(ConfigPreInstallDialogList, RemoveDialogDeletesTheFirstMatchOnly) {
  CPreInstallDialogList list;
  list.AddDialog(1, L"PrepareMsgDlg", L"p.wxs", L"1");
  list.AddDialog(2, L"Other", L"o.wxs", L"1");
  list.AddDialog(3, L"PrepareMsgDlg", L"p2.wxs", L"1");
  EXPECT_TRUE(list.RemoveDialog(L"PrepareMsgDlg"));
  ASSERT_NE(list.FindDialog(L"PrepareMsgDlg"), nullptr);
  EXPECT_EQ(list.FindDialog(L"PrepareMsgDlg")->GetWixPath(), L"p2.wxs");
  EXPECT_FALSE(list.RemoveDialog(L"Missing"));
  EXPECT_EQ(list.GetCount(), 2);
}

TEST(ConfigPreInstallDialogList, RemovingAVisitedDialogDoesNotSkipTheNext) {
  CPreInstallDialogList list;
  list.AddDialog(1, L"A", L"", L"1");
  list.AddDialog(2, L"B", L"", L"1");
  list.AddDialog(3, L"C", L"", L"1");
  list.ResetIteration();
  ASSERT_NE(list.GetNextDialog(), nullptr);
  ASSERT_TRUE(list.RemoveDialog(L"A"));
  EXPECT_EQ(DrainDialogs(list), (std::vector<std::wstring>{L"B", L"C"}));
}

TEST(ConfigPreconditionProcessCheckList, IteratesChecksUntilRewound) {
  CPreconditionProcessCheckList checks;
  checks.AddCheck(L"a.exe;b.exe", L"1");
  checks.AddCheck(L"c.exe", L"");
  EXPECT_EQ(checks.ResetIteration(), 2);
  std::vector<std::wstring> lists;
  while (IPreconditionProcessCheckData* check = checks.GetNextCheck()) lists.push_back(check->GetList());
  EXPECT_EQ(lists, (std::vector<std::wstring>{L"a.exe;b.exe", L"c.exe"}));
  EXPECT_EQ(checks.GetNextCheck(), nullptr);
  EXPECT_EQ(checks.ResetIteration(), 2);
  EXPECT_NE(checks.GetNextCheck(), nullptr);
}

}  // namespace
