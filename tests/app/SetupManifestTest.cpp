// Setup.exe declares the Windows versions it knows: without them Windows 8.1
// and later report 6.2 and the system details name the wrong Windows.

#include <gtest/gtest.h>

#include <string>

#include "support/TestPaths.h"

namespace {

struct ManifestCase {
  const char* name;
  std::wstring (*binFolder)();
};

class SetupManifest : public ::testing::TestWithParam<ManifestCase> {};

TEST_P(SetupManifest, DeclaresEverySupportedWindowsFromVistaToTen) {
  const std::wstring path = GetParam().binFolder() + L"Setup.exe";
  // The manifest resource is the UTF-8 text itself, stored as it is.
  const std::string bytes = testsupport::ReadFileBytes(path);
  ASSERT_FALSE(bytes.empty()) << "cannot read " << std::string(path.begin(), path.end());
  for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                         "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                         "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(bytes.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
  }
}

INSTANTIATE_TEST_SUITE_P(Builds, SetupManifest,
                         ::testing::Values(ManifestCase{"Win64", &testsupport::BinFolder},
                                           ManifestCase{"Win32Shipped", &testsupport::ShippedBinFolder}),
                         [](const ::testing::TestParamInfo<ManifestCase>& info) { return std::string(info.param.name); });

}  // namespace
