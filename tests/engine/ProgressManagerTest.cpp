// The simulated progress for executables.

#include <gtest/gtest.h>

#include <atomic>

#include "RecordingEventDispatcher.h"
#include "msi/ProgressManager.h"
#include "platform/UniqueResource.h"

namespace enginetest {
namespace {

// Far above any step these tests use: a wait that times out means the thread stalled.
constexpr DWORD kHandshakeTimeout = 10000;

platform::UniqueHandle ManualEvent() { return platform::UniqueHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

// The positions the progress thread set, in order.
std::vector<int> Positions(CallLog& log) {
  std::vector<int> positions;
  for (const std::wstring& line : log.Starting(L"SetProgressPos(")) {
    positions.push_back(std::stoi(line.substr(std::wstring(L"SetProgressPos(").size())));
  }
  return positions;
}

TEST(ProgressManagerTest, MovesOnePercentPerStepAndEndsAtHundredWhenStopped) {
  platform::UniqueHandle reachedFive = ManualEvent();
  ASSERT_TRUE(reachedFive.IsValid());
  RecordingEventDispatcher dispatcher;
  dispatcher.Mapper().onProgressPos = [&reachedFive](int position) {
    if (position >= 5) ::SetEvent(reachedFive.Get());
  };
  CProgressManager manager(*dispatcher.GetEventMapper());
  HANDLE thread = manager.Start(3000);  // one percent every 30 ms
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(::WaitForSingleObject(reachedFive.Get(), kHandshakeTimeout), WAIT_OBJECT_0);
  int midway = dispatcher.Mapper().GetBar().position;
  EXPECT_GT(midway, 0);
  EXPECT_LT(midway, 90);
  manager.Stop();
  EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(dispatcher.Mapper().GetBar().position, 100);
  EXPECT_EQ(dispatcher.Mapper().GetBar().maximum, 100);

  // Every step moved the bar by exactly one percent, and the stop jumped to 100.
  std::vector<int> positions = Positions(dispatcher.Log());
  ASSERT_GE(positions.size(), 6u);
  for (size_t i = 0; i + 1 < positions.size(); ++i) EXPECT_EQ(positions[i], static_cast<int>(i) + 1);
  EXPECT_EQ(positions.back(), 100);
}

TEST(ProgressManagerTest, NeverPassesEightyNineBeforeItIsStopped) {
  platform::UniqueHandle reachedLast = ManualEvent();
  platform::UniqueHandle passedLast = ManualEvent();
  ASSERT_TRUE(reachedLast.IsValid());
  ASSERT_TRUE(passedLast.IsValid());
  std::atomic<bool> stopped{false};
  RecordingEventDispatcher dispatcher;
  dispatcher.Mapper().onProgressPos = [&](int position) {
    if (position == 89) ::SetEvent(reachedLast.Get());
    if (position > 89 && !stopped) ::SetEvent(passedLast.Get());
  };
  CProgressManager manager(*dispatcher.GetEventMapper());
  HANDLE thread = manager.Start(200);  // done with the simulated part after about 180 ms
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(::WaitForSingleObject(reachedLast.Get(), kHandshakeTimeout), WAIT_OBJECT_0);
  // The thread keeps ticking every 2 ms; for three times the expected duration
  // none of its ticks may move the bar past 89.
  EXPECT_EQ(::WaitForSingleObject(passedLast.Get(), 600), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(dispatcher.Mapper().GetBar().position, 89);
  stopped = true;
  manager.Stop();
  EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(dispatcher.Mapper().GetBar().position, 100);
}

}  // namespace
}  // namespace enginetest
