#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/BSLocalizationConfigData.h"
#include "config/BootstrapperLocalizationReader.h"
#include "xml/Parser.h"
#include "support/TestPaths.h"

namespace {

const wchar_t* const kStringIds[] = {L"BS_AdminRightsError", L"AnotherInstanceRunningError",
                                     L"UnsupportedVersionError", L"ErrorMsg1", L"ErrorMsg2"};

std::wstring ResourceSource() { return testsupport::SourceFolder() + L"src\\app\\BootstrapperLocalization.xml"; }

TEST(BootstrapperLocalizationResource, NineLanguagesInOrderEachWithItsOwnFiveTexts) {
  CXmlNode root;
  std::wstring error;
  ASSERT_TRUE(CParser::LoadXmlFile(ResourceSource(), root, error)) << error;
  EXPECT_EQ(root.GetName(), L"BSLocalizationConfig");
  EXPECT_EQ(root.GetAttribute(L"Version"), L"1.0.0");
  auto languages = root.SelectNodes(L"BSLocalization/Language");
  ASSERT_TRUE(languages);
  std::vector<std::wstring> ids;
  for (const CXmlNode& language : *languages) ids.push_back(language.GetAttribute(L"Id"));
  EXPECT_EQ(ids, (std::vector<std::wstring>{L"1033", L"1031", L"3082", L"1049", L"1046", L"1036", L"1055", L"1040",
                                            L"2052"}));
  std::vector<std::wstring> english;
  for (const CXmlNode& language : *languages) {
    auto strings = language.SelectNodes(L"String");
    ASSERT_TRUE(strings);
    ASSERT_EQ(strings->size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
      const CXmlNode& element = (*strings)[i];
      auto attributes = element.GetAttributes();
      ASSERT_TRUE(attributes);
      ASSERT_EQ(attributes->size(), 2u);
      // The reader takes the text from the attribute right after the id.
      EXPECT_EQ((*attributes)[0].GetName(), L"Id");
      EXPECT_EQ((*attributes)[0].GetValue(), kStringIds[i]);
      std::wstring text = (*attributes)[1].GetValue();
      EXPECT_FALSE(text.empty());
      if (language.GetAttribute(L"Id") == L"1033") {
        english.push_back(text);
      } else if (i < 4) {
        // Every language but English carries its own translation.
        EXPECT_NE(text, english[i]) << "untranslated text in language " << i;
      }
    }
  }
  ASSERT_EQ(english.size(), 5u);
  EXPECT_EQ(english[0], L"To run this application you must be an Administrator, or contact your system administrator.");
  EXPECT_EQ(english[2],
            L"The version of the file is not compatible with the version of Windows you\x2019re running. The "
            L"installation has therefore been cancelled.");
  EXPECT_EQ(english[3], L"Unable to create the log file: ");
}

struct LanguageCase {
  const char* name;
  LANGID requested;
  const wchar_t* errorMsg2;
};
void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name << " (" << c.requested << ")"; }

class BootstrapperLocalizationLanguage : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(BootstrapperLocalizationLanguage, PicksTheLanguageOrEnglish) {
  std::wstring folder = testsupport::MakeScratchFolder(L"BSLocalizationLanguage");
  std::wstring copy = folder + L"BootstrapperLocalization.xml";
  ASSERT_TRUE(testsupport::WriteFileBytes(copy, testsupport::ReadFileBytes(ResourceSource())));
  CBSLocalizationConfigData texts;
  EXPECT_TRUE(ReadBootstrapperLocalization(copy, texts, GetParam().requested));
  EXPECT_EQ(texts.GetErrorMsg2(), GetParam().errorMsg2);
  testsupport::RemoveFolder(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, BootstrapperLocalizationLanguage,
    ::testing::Values(LanguageCase{"German", 1031,
                                   L"\x00DC"
                                   L"berpr\x00FC"
                                   L"fen Sie die Einstellungen der Protokolldatei."},
                      LanguageCase{"French", 1036, L"V\x00E9rifiez les param\x00E8tres du fichier journal."},
                      LanguageCase{"DutchFallsBackToEnglish", 1043, L"Verify the log file settings."}),
    [](const ::testing::TestParamInfo<LanguageCase>& info) { return std::string(info.param.name); });

}  // namespace
