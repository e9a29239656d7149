// Folder size of real folder trees under the test prefix.

#include <gtest/gtest.h>
#include <windows.h>

#include "config/ConfigTestSupport.h"
#include "registry/FolderSize.h"
#include "support/TestPaths.h"

namespace {

class FolderSize : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = testsupport::MakeScratchFolder(L"FolderSize"); }
  void TearDown() override { testsupport::RemoveFolder(folder_); }

  void File(const std::wstring& relative, size_t bytes) {
    ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + relative, std::string(bytes, 'z'))) << relative.c_str();
  }
  void Folder(const std::wstring& relative) {
    ASSERT_TRUE(::CreateDirectoryW((folder_ + relative).c_str(), nullptr)) << relative.c_str();
  }

  std::wstring folder_;  // with its trailing backslash
};

TEST_F(FolderSize, AddsEveryFileInEverySubfolder) {
  File(L"top.bin", 1000);
  Folder(L"a");
  File(L"a\\one.bin", 2048);
  Folder(L"a\\b");
  File(L"a\\b\\two.bin", 70000);
  File(L"a\\b\\empty.bin", 0);
  Folder(L"a\\c");  // an empty folder
  Folder(L"d.dir");
  File(L"d.dir\\no-extension", 5);

  EXPECT_EQ(registry::GetFolderSize(folder_), 73053u);
  // The same with and without the trailing backslash.
  EXPECT_EQ(registry::GetFolderSize(folder_.substr(0, folder_.size() - 1)), 73053u);
  EXPECT_EQ(registry::GetFolderSize(folder_ + L"a"), 72048u);
  EXPECT_EQ(registry::GetFolderSize(folder_ + L"a\\c"), 0u);
}

TEST_F(FolderSize, MissingOrEmptyNamesCountAsNothingWithALogLine) {
  File(L"file.bin", 10);
  modeltest::LogCapture log;

  EXPECT_EQ(registry::GetFolderSize(L""), 0u);
  EXPECT_EQ(registry::GetFolderSize(L"\\"), 0u);
  EXPECT_EQ(registry::GetFolderSize(folder_ + L"missing"), 0u);
  EXPECT_EQ(registry::GetFolderSize(folder_ + L"file.bin"), 0u);

  EXPECT_EQ(log.Count(L"GetFolderSize - The folder name is empty, hence the size is 0."), 2u);
  EXPECT_EQ(log.Count(L"GetFolderSize - The folder " + folder_ + L"missing does not exist"), 1u);
  EXPECT_EQ(log.Count(L"GetFolderSize - The folder " + folder_ + L"file.bin does not exist"), 1u);
}

}  // namespace
