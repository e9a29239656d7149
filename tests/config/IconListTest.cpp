#include <gtest/gtest.h>

#include <ostream>

#include "ConfigTestSupport.h"
#include "config/IconList.h"
#include "platform/StringUtil.h"
#include "support/WixSetBundle.h"

namespace {

using modeltest::ImageFolder;

TEST(ConfigIconList, DuplicateNameKeepsTheFirstPathAndWarnsOnce) {
  CIconList icons(ImageFolder());
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_TRUE(icons.AddImage(L"Info", L"info.ico"));
  EXPECT_FALSE(icons.AddImage(L"Info", L"exclamic.ico"));
  EXPECT_EQ(icons.GetIconPath(L"Info"), L"info.ico");
  EXPECT_EQ(log.Count(L"WARNING:\tThe key Info is already available with an associated value of info.ico"), 1u);
}

TEST(ConfigIconList, NamesAreCaseSensitive) {
  CIconList icons(ImageFolder());
  EXPECT_TRUE(icons.AddImage(L"Info", L"info.ico"));
  EXPECT_TRUE(icons.AddImage(L"INFO", L"exclamic.ico"));
  EXPECT_EQ(icons.GetIconPath(L"INFO"), L"exclamic.ico");
  EXPECT_EQ(icons.GetIconPath(L"info"), L"");
}

TEST(ConfigIconList, FirstLoadedSizeWins) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  CIconList icons(ImageFolder());
  ASSERT_TRUE(icons.AddImage(L"Info", L"info.ico"));
  HICON small = icons.GetIcon(L"Info", 16);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(icons.GetIcon(L"Info", 32), small);
  ICONINFO info = {};
  ASSERT_TRUE(::GetIconInfo(small, &info));
  BITMAP bitmap = {};
  ASSERT_NE(::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap), 0);
  EXPECT_EQ(bitmap.bmWidth, 16);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
}

TEST(ConfigIconList, AnAbsolutePathIsTakenAsItIs) {
  SKIP_WITHOUT_WIXUI_LIBRARY();
  // Images of a WiX library that lies beside the sources are named by their full path.
  CIconList icons(L"C:\\NoSuchSetupFolder\\");
  ASSERT_TRUE(icons.AddImage(L"Info", ImageFolder() + L"info.ico"));
  EXPECT_NE(icons.GetIcon(L"Info", 16), nullptr);
}

struct MissingIconCase {
  const char* label;
  bool configured;
  const wchar_t* expectedLine;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const MissingIconCase& c, std::ostream* os) { *os << c.label; }

class ConfigIconListMissing : public ::testing::TestWithParam<MissingIconCase> {};

TEST_P(ConfigIconListMissing, GivesNoIconAndSaysWhy) {
  CIconList icons(ImageFolder());
  if (GetParam().configured) {
    ASSERT_TRUE(icons.AddImage(L"Gone", L"missing.ico"));
  }
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(icons.GetIcon(L"Gone", 16), nullptr);
  std::wstring expected = GetParam().expectedLine;
  platform::ReplaceAll(expected, L"{folder}", ImageFolder());
  EXPECT_EQ(log.Count(expected), 1u) << log.Text();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigIconListMissing,
    ::testing::Values(
        MissingIconCase{"UnknownName", false, L"WARNING:\tCould not find the icon path for the id, Gone."},
        MissingIconCase{"MissingFile", true,
                        L"INFORMATION:\tCould not find the icon path {folder}missing.ico for the id, Gone."}),
    [](const ::testing::TestParamInfo<MissingIconCase>& info) { return std::string(info.param.label); });

}  // namespace
