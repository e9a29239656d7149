// A thread made ahead of its work: it runs the procedure it is started with,
// once, as an ordinary thread whose exit code is the procedure's result;
// unstarted, it ends without running anything.

#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include "platform/StandbyThread.h"

namespace {

struct Call {
  DWORD threadId = 0;
  int runs = 0;
};

DWORD WINAPI Record(void* parameter) {
  Call* call = static_cast<Call*>(parameter);
  call->threadId = ::GetCurrentThreadId();
  ++call->runs;
  return 4242;
}

class StandbyThreadStart : public ::testing::TestWithParam<bool> {};

TEST_P(StandbyThreadStart, RunsTheProcedureOnceOnTheThreadItHandsOver) {
  platform::CStandbyThread standby;
  if (GetParam()) {
    ASSERT_TRUE(standby.Prepare());
    // Preparing again keeps the thread that is ready.
    ASSERT_TRUE(standby.Prepare());
  }
  Call call;
  platform::UniqueHandle thread = standby.Start(&Record, &call);
  ASSERT_TRUE(thread);
  ASSERT_EQ(::WaitForSingleObject(thread.Get(), 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ASSERT_TRUE(::GetExitCodeThread(thread.Get(), &code));
  EXPECT_EQ(code, 4242u);
  EXPECT_EQ(call.runs, 1);
  EXPECT_EQ(call.threadId, ::GetThreadId(thread.Get()));
  EXPECT_NE(call.threadId, ::GetCurrentThreadId());
}

INSTANTIATE_TEST_SUITE_P(PreparedOrNot, StandbyThreadStart, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Prepared" : "MadeOnStart");
                         });

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

TEST(StandbyThread, APreparedThreadNeverStartedEndsWithoutRunningAnything) {
  const int before = ThreadsOfThisProcess();
  {
    platform::CStandbyThread standby;
    ASSERT_TRUE(standby.Prepare());
    EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
  }
  // Gone once the owner is: let go without work and waited for.
  EXPECT_EQ(ThreadsOfThisProcess(), before);
}

}  // namespace
