// Opening the main package on a worker thread: what it finds for a package
// that opens and for files that cannot be one, and who gets the result.

#include <gtest/gtest.h>

#include <string>

#include "SetupManagerFixture.h"
#include "engine/PackageOpenAhead.h"
#include "engine/SetupLauncherBase.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"

namespace enginetest {
namespace {

std::wstring PackageProperty(MSIHANDLE package, const wchar_t* name) {
  wchar_t value[128] = {};
  DWORD size = 128;
  if (MsiGetPropertyStub(package, name, value, &size) != ERROR_SUCCESS) return {};
  return value;
}

TEST(PackageOpenAhead, OpensThePackageForWhoeverAsksForItsLocation) {
  LoadMsiLibrary();
  const std::wstring location = testsupport::PackageFolder() + L"SetupMainV1.msi";
  CPackageOpenAhead ahead;
  ASSERT_TRUE(ahead.Start(location));
  // Another package's launch finds nothing ready for it; the result stays.
  EXPECT_EQ(ahead.Take(testsupport::PackageFolder() + L"SetupMainUI.msi"), nullptr);
  auto result = ahead.Take(platform::ToUpper(location));
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->problem, L"");
  EXPECT_TRUE(result->forThisProcessor);
  ASSERT_NE(result->database.Get(), 0u);
  ASSERT_NE(result->package.Get(), 0u);
  EXPECT_EQ(PackageProperty(result->package.Get(), L"ProductCode"), kMainCode);
  // Handed over once.
  EXPECT_EQ(ahead.Take(location), nullptr);
}

TEST(PackageOpenAhead, APackageForAnotherProcessorIsRecordedAndNotOpened) {
  LoadMsiLibrary();
  const std::wstring location = testsupport::PackageFolder() + L"SetupMainArm.msi";
  CPackageOpenAhead ahead;
  ASSERT_TRUE(ahead.Start(location));
  auto result = ahead.Take(location);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->problem, L"");
  EXPECT_FALSE(result->forThisProcessor);
  // The launch refuses it; nothing is left open for it.
  EXPECT_EQ(result->database.Get(), 0u);
  EXPECT_EQ(result->package.Get(), 0u);
  // What the launch itself finds from the file.
  EXPECT_FALSE(CSetupLauncherBase::IsPackageForThisProcessor(location));
  EXPECT_TRUE(CSetupLauncherBase::IsPackageForThisProcessor(testsupport::PackageFolder() + L"SetupMainV1.msi"));
}

struct UnopenableCase {
  const char* name;
  std::string contents;  // empty: no file at all; "/": a folder
  const wchar_t* problem;
};

class PackageOpenAheadUnopenable : public ::testing::TestWithParam<UnopenableCase> {};

TEST_P(PackageOpenAheadUnopenable, RecordsWhyAndOpensNothing) {
  LoadMsiLibrary();
  const std::wstring folder = testsupport::MakeScratchFolder(L"OpenAhead");
  const std::wstring location = folder + L"Main.msi";
  if (GetParam().contents == "/") {
    ASSERT_TRUE(::CreateDirectoryW(location.c_str(), nullptr));
  } else if (!GetParam().contents.empty()) {
    ASSERT_TRUE(testsupport::WriteFileBytes(location, GetParam().contents));
  }
  CPackageOpenAhead ahead;
  ASSERT_TRUE(ahead.Start(location));
  auto result = ahead.Take(location);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->problem.rfind(GetParam().problem, 0), 0u) << result->problem;
  EXPECT_EQ(result->database.Get(), 0u);
  EXPECT_EQ(result->package.Get(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Files, PackageOpenAheadUnopenable,
                         ::testing::Values(UnopenableCase{"Missing", "", L"It does not exist or cannot be reached."},
                                           UnopenableCase{"Folder", "/", L"It is a folder, not a package file."},
                                           UnopenableCase{"NotADatabase", "just text",
                                                          L"It is not a Windows Installer package that can be read"}),
                         [](const ::testing::TestParamInfo<UnopenableCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace enginetest
