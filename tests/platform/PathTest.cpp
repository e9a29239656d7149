#include <gtest/gtest.h>

#include "platform/Path.h"
#include "platform/SystemPaths.h"
#include "support/TestPaths.h"

namespace {

TEST(Path, FileAndFolderExistenceTellFilesFromFolders) {
  const std::wstring folder = testsupport::MakeScratchFolder(L"PathExists");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"a.txt", "x"));
  EXPECT_TRUE(platform::FileExists(folder + L"a.txt"));
  EXPECT_FALSE(platform::FolderExists(folder + L"a.txt"));
  EXPECT_TRUE(platform::FolderExists(folder));
  EXPECT_FALSE(platform::FileExists(folder));
  EXPECT_FALSE(platform::FileExists(folder + L"missing.txt"));
  EXPECT_FALSE(platform::FileExists(L""));
  EXPECT_FALSE(platform::FolderExists(L""));
  testsupport::RemoveFolder(folder);
}

TEST(Path, FolderOfKeepsTheTrailingSeparator) {
  const struct {
    const wchar_t* path;
    const wchar_t* folder;
  } cases[] = {{L"C:\\a\\b.txt", L"C:\\a\\"}, {L"C:\\a\\", L"C:\\a\\"},      {L"b.txt", L""},
               {L"C:/a/b.txt", L"C:/a/"},     {L"\\\\srv\\s\\x", L"\\\\srv\\s\\"}, {L"", L""}};
  for (const auto& c : cases) EXPECT_EQ(platform::FolderOf(c.path), c.folder) << c.path;
}

TEST(Path, JoinPathPutsExactlyOneBackslashBetween) {
  const struct {
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* joined;
  } cases[] = {{L"C:\\a", L"b", L"C:\\a\\b"},     {L"C:\\a\\", L"b", L"C:\\a\\b"}, {L"C:\\a\\", L"\\b", L"C:\\a\\b"},
               {L"C:\\a", L"\\b", L"C:\\a\\b"},   {L"", L"b", L"b"},             {L"C:\\a", L"", L"C:\\a"},
               {L"C:/a/", L"b", L"C:/a/b"}};
  for (const auto& c : cases) EXPECT_EQ(platform::JoinPath(c.folder, c.name), c.joined) << c.folder << L"|" << c.name;
}

TEST(Path, AbsoluteMeansADriveOrANetworkPath) {
  const struct {
    const wchar_t* path;
    bool absolute;
  } cases[] = {{L"C:\\x", true},           {L"d:x", true},      {L"\\\\server\\share", true}, {L"//server/share", true},
               {L"\\rooted\\x", false},    {L"Packages\\a.msi", false}, {L"%TEMP%\\x", false},  {L"", false},
               {L"C", false},              {L"1:\\x", false}};
  for (const auto& c : cases) EXPECT_EQ(platform::IsAbsolutePath(c.path), c.absolute) << c.path;
}

TEST(Path, TempFolderEndsWithABackslashAndExists) {
  const std::wstring temp = platform::TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), L'\\');
  EXPECT_TRUE(platform::IsAbsolutePath(temp));
  EXPECT_TRUE(platform::FolderExists(temp));
}

}  // namespace
