// The simulated progress for executables.

#include <gtest/gtest.h>

#include "RecordingEventDispatcher.h"
#include "msi/ProgressManager.h"

namespace enginetest {
namespace {

TEST(ProgressManagerTest, MovesOnePercentPerStepAndEndsAtHundredWhenStopped) {
  RecordingEventDispatcher dispatcher;
  CProgressManager manager(*dispatcher.GetEventMapper());
  HANDLE thread = manager.Start(3000);  // one percent every 30 ms
  ASSERT_NE(thread, nullptr);
  ::Sleep(300);
  int midway = dispatcher.Mapper().GetBar().position;
  EXPECT_GT(midway, 0);
  EXPECT_LT(midway, 90);
  manager.Stop();
  EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(dispatcher.Mapper().GetBar().position, 100);
  EXPECT_EQ(dispatcher.Mapper().GetBar().maximum, 100);
}

TEST(ProgressManagerTest, NeverPassesEightyNineBeforeItIsStopped) {
  RecordingEventDispatcher dispatcher;
  CProgressManager manager(*dispatcher.GetEventMapper());
  HANDLE thread = manager.Start(200);  // done with the simulated part after about 180 ms
  ASSERT_NE(thread, nullptr);
  ::Sleep(1000);
  EXPECT_EQ(dispatcher.Mapper().GetBar().position, 89);
  manager.Stop();
  EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace enginetest
