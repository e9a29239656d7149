// What the progress page learns from Windows Installer's action messages
// during a run: the action's text (or its name when the package describes
// none) and the data of each step.

#include <gtest/gtest.h>

#include "RecordingEventDispatcher.h"
#include "msi/MsiMessageHandler.h"

namespace enginetest {
namespace {

constexpr UINT kActionStart = 8u << 24;
constexpr UINT kActionData = 9u << 24;

class MsiActionTextTest : public ::testing::Test {
 protected:
  void SetUp() override { handler_.Bind(&dispatcher_); }
  RecordingEventDispatcher dispatcher_;
  CMsiMessageHandler handler_;
};

TEST_F(MsiActionTextTest, ActionDataOfARunReachesThePage) {
  EXPECT_EQ(handler_.HandleMessage(kActionData, L"  File: readme.txt, Directory: C:\\Program Files\\App\\  "), 1);
  EXPECT_EQ(handler_.HandleMessage(kActionData, L"   "), 1);
  EXPECT_EQ(dispatcher_.Log().Starting(L"SetActionData("),
            std::vector<std::wstring>{L"SetActionData(File: readme.txt, Directory: C:\\Program Files\\App\\)"});
}

TEST_F(MsiActionTextTest, AnActionWithoutDescriptionIsShownByItsName) {
  struct Case {
    const wchar_t* message;
    const wchar_t* shown;
  };
  const Case cases[] = {{L"Action 12:01:02: InstallFiles. ", L"InstallFiles"},
                        {L"Action 12:01:03: WriteRegistryValues.", L"WriteRegistryValues"},
                        {L"Action 12:01:04: CreateShortcuts. Creating shortcuts", L"Creating shortcuts"}};
  for (const Case& c : cases) {
    EXPECT_EQ(handler_.HandleMessage(kActionStart, c.message), 1);
    const std::vector<std::wstring> shown = dispatcher_.Log().Starting(L"SetActionText(");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), std::wstring(L"SetActionText(") + c.shown + L")") << c.message;
  }
}

}  // namespace
}  // namespace enginetest
