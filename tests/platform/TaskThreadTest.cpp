// A thread that stays for the procedures handed to it: each runs once, on that
// thread, one after another in the order handed over; a task's end and result
// are known without the thread ending; the thread ends with its owner.

#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/TaskThread.h"

namespace {

struct Call {
  DWORD threadId = 0;
  int runs = 0;
  DWORD result = 0;
};

DWORD WINAPI Record(void* parameter) {
  Call* call = static_cast<Call*>(parameter);
  call->threadId = ::GetCurrentThreadId();
  ++call->runs;
  return call->result;
}

int ThreadsOfThisProcess() {
  platform::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more; more = ::Thread32Next(snapshot.Get(), &entry)) {
    if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++count;
  }
  return count;
}

class TaskThreadRun : public ::testing::TestWithParam<bool> {};

TEST_P(TaskThreadRun, EachProcedureRunsOnceOnTheSameWaitingThreadWithItsResult) {
  platform::CTaskThread worker;
  if (GetParam()) {
    ASSERT_TRUE(worker.Prepare());
    // Preparing again keeps the thread that runs.
    ASSERT_TRUE(worker.Prepare());
  }
  // 259 is what a thread still running reports; as a result it is a value like any other.
  Call first{0, 0, 4242};
  Call second{0, 0, 259};
  platform::CTask one = worker.Run(&Record, &first);
  ASSERT_TRUE(one);
  ASSERT_EQ(::WaitForSingleObject(one.Done(), 10000), WAIT_OBJECT_0);
  EXPECT_EQ(one.Result(), 4242u);
  platform::CTask two = worker.Run(&Record, &second);
  ASSERT_TRUE(two);
  ASSERT_EQ(::WaitForSingleObject(two.Done(), 10000), WAIT_OBJECT_0);
  EXPECT_EQ(two.Result(), 259u);
  EXPECT_EQ(first.runs, 1);
  EXPECT_EQ(second.runs, 1);
  EXPECT_NE(first.threadId, ::GetCurrentThreadId());
  // The thread stayed for the second procedure.
  EXPECT_EQ(second.threadId, first.threadId);
}

INSTANTIATE_TEST_SUITE_P(PreparedOrNot, TaskThreadRun, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Prepared" : "MadeOnFirstRun");
                         });

struct Gate {
  platform::UniqueHandle open{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::vector<int>* order = nullptr;
  int mark = 0;
};

DWORD WINAPI WaitAtGate(void* parameter) {
  Gate* gate = static_cast<Gate*>(parameter);
  ::WaitForSingleObject(gate->open.Get(), INFINITE);
  gate->order->push_back(gate->mark);
  return 0;
}

TEST(TaskThread, AProcedureHandedOverWhileAnotherRunsStartsWhenThatOneHasReturned) {
  platform::CTaskThread worker;
  std::vector<int> order;
  Gate first;
  first.order = &order;
  first.mark = 1;
  Gate second;
  second.order = &order;
  second.mark = 2;
  ::SetEvent(second.open.Get());
  platform::CTask one = worker.Run(&WaitAtGate, &first);
  platform::CTask two = worker.Run(&WaitAtGate, &second);
  ASSERT_TRUE(one);
  ASSERT_TRUE(two);
  // The second could run at once, but waits behind the first.
  EXPECT_EQ(::WaitForSingleObject(two.Done(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
  ::SetEvent(first.open.Get());
  ASSERT_EQ(::WaitForSingleObject(two.Done(), 10000), WAIT_OBJECT_0);
  EXPECT_EQ(::WaitForSingleObject(one.Done(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

struct Slow {
  std::atomic<bool> finished{false};
};

DWORD WINAPI SleepThenFinish(void* parameter) {
  ::Sleep(100);
  static_cast<Slow*>(parameter)->finished = true;
  return 0;
}

TEST(TaskThread, LettingGoOfATaskWaitsForItsProcedure) {
  platform::CTaskThread worker;
  Slow slow;
  {
    platform::CTask task = worker.Run(&SleepThenFinish, &slow);
    ASSERT_TRUE(task);
  }
  EXPECT_TRUE(slow.finished);
  // Replacing a task that still runs waits for it as well.
  Slow again;
  platform::CTask task = worker.Run(&SleepThenFinish, &again);
  task = platform::CTask();
  EXPECT_TRUE(again.finished);
  EXPECT_FALSE(task);
  EXPECT_EQ(task.Done(), nullptr);
}

TEST(TaskThread, TheThreadEndsWithItsOwnerAfterWhatWasHandedOver) {
  const int before = ThreadsOfThisProcess();
  Slow slow;
  {
    platform::CTaskThread worker;
    ASSERT_TRUE(worker.Prepare());
    EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
    platform::CTask task = worker.Run(&SleepThenFinish, &slow);
    ASSERT_TRUE(task);
  }
  EXPECT_TRUE(slow.finished);
  EXPECT_EQ(ThreadsOfThisProcess(), before);
}

TEST(TaskThread, NoProcedureGivesAnEmptyTask) {
  platform::CTaskThread worker;
  platform::CTask task = worker.Run(nullptr, nullptr);
  EXPECT_FALSE(task);
  EXPECT_EQ(task.Done(), nullptr);
}

}  // namespace
