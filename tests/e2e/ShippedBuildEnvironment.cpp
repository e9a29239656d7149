// When the run tests the shipped 32-bit Setup.exe, every test needs a prefix
// that runs 32-bit programs: without one they are skipped, with the reason,
// instead of failing one by one on a setup that cannot start.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/StringUtil.h"
#include "support/TestedBuild.h"

namespace e2etest {
namespace {

class ShippedBuildEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!testsupport::TestsShippedBuild()) return;
    std::string reason;
    if (!testsupport::CanRun32BitPrograms(reason)) GTEST_SKIP() << "32-bit run skipped: " << reason;
    const std::wstring setup = testsupport::TestedBinFolder() + L"Setup.exe";
    ASSERT_NE(::GetFileAttributesW(setup.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the shipped build is missing: " << platform::WideToUtf8(setup);
  }
};

// Registered before main runs, as gtest_main gives no other place.
[[maybe_unused]] ::testing::Environment* const kShippedBuildEnvironment =
    ::testing::AddGlobalTestEnvironment(new ShippedBuildEnvironment);

}  // namespace
}  // namespace e2etest
