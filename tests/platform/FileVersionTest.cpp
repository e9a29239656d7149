#include <gtest/gtest.h>

#include "platform/FileVersion.h"
#include "platform/SystemPaths.h"
#include "support/TestPaths.h"

namespace {

TEST(ReadFileVersion, ReadsAllFourPartsOfTheFixedVersion) {
  platform::FileVersion version;
  ASSERT_TRUE(platform::ReadFileVersion(testsupport::BinFolder() + L"Setup.exe", version));
  // Setup.rc gives the program FILEVERSION 1,0,0,0.
  EXPECT_EQ(version.major, 1);
  EXPECT_EQ(version.minor, 0);
  EXPECT_EQ(version.build, 0);
  EXPECT_EQ(version.revision, 0);
  // A system DLL carries a version with a non-zero major part.
  platform::FileVersion system;
  ASSERT_TRUE(platform::ReadFileVersion(platform::SystemFilePath(L"kernel32.dll"), system));
  EXPECT_GT(system.major, 0);
}

TEST(ReadFileVersion, FailsWithoutAVersionResourceAndLeavesTheOutputAlone) {
  struct Case {
    const char* name;
    std::wstring path;
  };
  const Case cases[] = {{"NoResource", testsupport::BinFolder() + L"exit_code_program.exe"},
                        {"Missing", L"C:\\does\\not\\exist.dll"}};
  for (const Case& item : cases) {
    SCOPED_TRACE(item.name);
    platform::FileVersion version;
    version.major = 9;
    version.revision = 7;
    EXPECT_FALSE(platform::ReadFileVersion(item.path, version));
    EXPECT_EQ(version.major, 9);
    EXPECT_EQ(version.revision, 7);
  }
}

}  // namespace
