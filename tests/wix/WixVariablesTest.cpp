#include <gtest/gtest.h>

#include <string>

#include "config/ConfigTestSupport.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"
#include "wix/WixSourceFiles.h"
#include "wix/WixVariables.h"

namespace {

struct BindRow {
  const char* label;
  const wchar_t* text;
  const wchar_t* bound;
};
void PrintTo(const BindRow& row, std::ostream* os) { *os << row.label; }

class WixVariableBinding : public ::testing::TestWithParam<BindRow> {
 protected:
  void SetUp() override {
    (void)table_.Add(L"PerUser", L"1", false);
    (void)table_.Add(L"Banner", L"Art\\Banner.bmp", true);
    (void)table_.Add(L"Blank", L"", false);
  }
  CWixVariableTable table_;
};

TEST_P(WixVariableBinding, DeclaredValueThenDefaultThenNothing) {
  EXPECT_EQ(ResolveWixVariables(table_, GetParam().text), GetParam().bound);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WixVariableBinding,
    ::testing::Values(
        BindRow{"Declared", L"!(wix.PerUser)", L"1"},
        BindRow{"DeclaredBeatsDefault", L"!(wix.PerUser=0)", L"1"},
        BindRow{"DeclaredEmptyBeatsDefault", L"[!(wix.Blank=x)]", L"[]"},
        BindRow{"Default", L"!(wix.Missing=2)", L"2"},
        BindRow{"DefaultKeepsEqualsSigns", L"!(wix.Missing=a=b)", L"a=b"},
        BindRow{"NeitherGivesNothing", L"Privileged AND (!(wix.Missing))", L"Privileged AND ()"},
        BindRow{"InsideACondition", L"!(wix.PerUser) AND NOT !(wix.PerUser)", L"1 AND NOT 1"},
        BindRow{"DefaultWithParentheses", L"!(wix.Missing=$(var.bannerBmp))", L"$(var.bannerBmp)"},
        BindRow{"DefaultNamingAnotherVariable", L"!(wix.Missing=!(wix.Banner))", L"Art\\Banner.bmp"},
        BindRow{"SurroundingTextStays", L"x!(wix.Banner)y !(loc.Z)", L"xArt\\Banner.bmpy !(loc.Z)"},
        BindRow{"UnclosedStaysAsWritten", L"a !(wix.PerUser", L"a !(wix.PerUser"},
        BindRow{"ClosedThenUnclosed", L"!(wix.PerUser) !(wix.Banner", L"1 !(wix.Banner"},
        BindRow{"NoReference", L"CostingComplete = 1", L"CostingComplete = 1"},
        BindRow{"NamesAreCaseSensitive", L"!(wix.peruser=no)", L"no"}),
    [](const ::testing::TestParamInfo<BindRow>& info) { return std::string(info.param.label); });

struct DeclarationRow {
  const char* label;
  bool firstOverridable;
  bool secondOverridable;
  const wchar_t* kept;
  bool secondTaken;
  size_t duplicateWarnings;
};
void PrintTo(const DeclarationRow& row, std::ostream* os) { *os << row.label; }

class WixVariableDeclarations : public ::testing::TestWithParam<DeclarationRow> {};

TEST_P(WixVariableDeclarations, AnAuthorsValueReplacesAnOverridableOne) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  CWixVariableTable table;
  EXPECT_TRUE(table.Add(L"V", L"first", GetParam().firstOverridable));
  EXPECT_EQ(table.Add(L"V", L"second", GetParam().secondOverridable), GetParam().secondTaken);
  ASSERT_NE(table.Find(L"V"), nullptr);
  EXPECT_EQ(*table.Find(L"V"), GetParam().kept);
  EXPECT_EQ(log.Count(L"WARNING:\tThe WiX variable V is declared twice"), GetParam().duplicateWarnings);
}

INSTANTIATE_TEST_SUITE_P(Cases, WixVariableDeclarations,
                         ::testing::Values(DeclarationRow{"OverridableThenFixed", true, false, L"second", true, 0},
                                           DeclarationRow{"FixedThenOverridable", false, true, L"first", false, 0},
                                           DeclarationRow{"TwoFixed", false, false, L"first", false, 1},
                                           DeclarationRow{"TwoOverridable", true, true, L"first", false, 0}),
                         [](const ::testing::TestParamInfo<DeclarationRow>& info) {
                           return std::string(info.param.label);
                         });

TEST(WixVariableTable, UnknownIsNullAndClearForgets) {
  CWixVariableTable table;
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.Find(L"A"), nullptr);
  (void)table.Add(L"A", L"1", false);
  EXPECT_FALSE(table.IsEmpty());
  table.Clear();
  EXPECT_EQ(table.Find(L"A"), nullptr);
  EXPECT_EQ(ResolveWixVariables(table, L"!(wix.A=d)"), L"d");
}

TEST(WixVariableTable, ANameWithoutValueOrDefaultIsLogged) {
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  CWixVariableTable table;
  EXPECT_EQ(ResolveWixVariables(table, L"!(wix.Nowhere)"), L"");
  EXPECT_EQ(log.Count(L"WARNING:\tThe WiX variable Nowhere has neither a WixVariable value nor a default"), 1u);
}

TEST(WixSourceFiles, LibraryVariablesNameTheFilesBesideTheSource) {
  const std::wstring folder = testsupport::MakeScratchFolder(L"WixSourceFiles");
  // The source's folder is made absolute, ".." parts included.
  const std::wstring source = folder + L"sub\\..\\Common.wxs";
  EXPECT_EQ(ResolveLibraryFileVariables(L"!(wix.WixUIBannerBmp=$(var.bannerBmp))", source),
            L"!(wix.WixUIBannerBmp=" + folder + L"Bitmaps\\bannrbmp.bmp)");
  EXPECT_EQ(ResolveLibraryFileVariables(L"$(var.licenseRtf)", source), folder + L"License.rtf");
  EXPECT_EQ(ResolveLibraryFileVariables(L"$(var.other)\\x.bmp", source), L"$(var.other)\\x.bmp");
  EXPECT_EQ(ResolveLibraryFileVariables(L"Plain.bmp", source), L"Plain.bmp");
  EXPECT_EQ(AbsoluteFolderOf(source), folder);
  testsupport::RemoveFolder(folder);
}

struct PathRow {
  const wchar_t* path;
  bool unbound;
  bool absolute;
};

TEST(WixSourceFiles, UnboundVariablesAndAbsolutePaths) {
  const PathRow rows[] = {
      {L"Images\\Banner.bmp", false, false},       {L"C:\\Art\\Banner.bmp", false, true},
      {L"\\\\server\\share\\b.bmp", false, true},  {L"$(var.other)\\b.bmp", true, false},
      {L"!(bindpath.x86)uica.dll", true, false},   {L"C:\\Program Files (x86)\\b.bmp", false, true},
      {L"C:relative.bmp", false, false},           {L"Z:\\a\\$(env.TEMP)\\b.bmp", true, true},
  };
  for (const PathRow& row : rows) {
    SCOPED_TRACE(platform::WideToUtf8(row.path));
    EXPECT_EQ(HoldsUnboundVariable(row.path), row.unbound);
    EXPECT_EQ(IsAbsoluteFilePath(row.path), row.absolute);
  }
}

TEST(WixSourceFiles, EightBitTextKeepsEveryByte) {
  const std::wstring folder = testsupport::MakeScratchFolder(L"WixEightBit");
  std::string bytes = "{\\rtf1\\ansi caf\xE9 \x80\x9F\xFF}\r\n";
  bytes.push_back('\0');
  bytes += "end";
  ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"License.rtf", bytes));
  std::wstring text = L"stale";
  ASSERT_TRUE(ReadEightBitTextFile(folder + L"License.rtf", text));
  ASSERT_EQ(text.size(), bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    EXPECT_EQ(static_cast<unsigned>(text[i]), static_cast<unsigned>(static_cast<unsigned char>(bytes[i]))) << i;
  }
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_FALSE(ReadEightBitTextFile(folder + L"Missing.rtf", text));
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(log.Count(L"WARNING:\tThe text file " + folder + L"Missing.rtf could not be opened"), 1u);
  testsupport::RemoveFolder(folder);
}

}  // namespace
