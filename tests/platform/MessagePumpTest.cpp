// The user-interface thread's wait: results, deadlines, what it dispatches,
// its depth counter and WM_QUIT.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/MessagePump.h"
#include "platform/UniqueResource.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;
constexpr UINT kNestedWaitMessage = WM_APP + 8;

platform::UniqueHandle NewEvent(bool signalled = false) {
  return platform::UniqueHandle(::CreateEventW(nullptr, TRUE, signalled ? TRUE : FALSE, nullptr));
}

// A message-only window of the test thread that records what reaches it and
// the pumping depth at that moment.
struct ProbeWindow {
  static std::vector<int>& Depths() {
    static std::vector<int> depths;
    return depths;
  }
  static HANDLE& NestedEvent() {
    static HANDLE handle = nullptr;
    return handle;
  }
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeMessage) {
      Depths().push_back(platform::PumpingDepth());
      return 42;
    }
    if (message == kNestedWaitMessage) {
      Depths().push_back(platform::PumpingDepth());
      // The engine waiting again inside a click: messages still get through.
      ::PostMessageW(window, kProbeMessage, 0, 0);
      (void)platform::WaitPumpingMessages(NestedEvent(), 100);
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  ProbeWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MessagePumpTestProbe";
    ::RegisterClassW(&windowClass);
    window.Reset(::CreateWindowExW(0, L"MessagePumpTestProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   windowClass.hInstance, nullptr));
    Depths().clear();
  }
  platform::UniqueWindow window;
};

TEST(WaitPumpingMessages, ReturnsTheIndexOfTheSignalledHandle) {
  struct Case {
    const char* name;
    bool firstSignalled;
    bool secondSignalled;
    DWORD expected;
  };
  const Case cases[] = {{"First", true, false, WAIT_OBJECT_0},
                        {"Second", false, true, WAIT_OBJECT_0 + 1},
                        {"BothGivesTheLowest", true, true, WAIT_OBJECT_0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::UniqueHandle first = NewEvent(c.firstSignalled);
    platform::UniqueHandle second = NewEvent(c.secondSignalled);
    const HANDLE handles[] = {first.Get(), second.Get()};
    EXPECT_EQ(platform::WaitPumpingMessages(handles, 2, 1000), c.expected);
  }
}

TEST(WaitPumpingMessages, AHandleSignalledByAnotherThreadEndsAnInfiniteWait) {
  platform::UniqueHandle done = NewEvent();
  std::thread worker([&] {
    ::Sleep(50);
    ::SetEvent(done.Get());
  });
  EXPECT_EQ(platform::WaitPumpingMessages(done.Get(), INFINITE), WAIT_OBJECT_0);
  worker.join();
}

TEST(WaitPumpingMessages, TimesOutOnTimeEvenWhileMessagesKeepArriving) {
  ProbeWindow probe;
  ASSERT_TRUE(probe.window);
  platform::UniqueHandle never = NewEvent();
  std::atomic<bool> stop{false};
  const HWND target = probe.window.Get();
  std::thread flood([&] {
    while (!stop) {
      ::PostMessageW(target, kProbeMessage, 0, 0);
      ::Sleep(1);
    }
  });
  const ULONGLONG start = ::GetTickCount64();
  const DWORD result = platform::WaitPumpingMessages(never.Get(), 300);
  const ULONGLONG elapsed = ::GetTickCount64() - start;
  stop = true;
  flood.join();
  EXPECT_EQ(result, static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(elapsed, 280u);
  EXPECT_LT(elapsed, 3000u);
  EXPECT_FALSE(ProbeWindow::Depths().empty());
}

TEST(WaitPumpingMessages, DispatchesPostedAndSentMessagesInsideTheWaitOnly) {
  ProbeWindow probe;
  ASSERT_TRUE(probe.window);
  EXPECT_EQ(platform::PumpingDepth(), 0);
  EXPECT_FALSE(platform::IsPumpingMessages());
  platform::UniqueHandle done = NewEvent();
  const HWND target = probe.window.Get();
  LRESULT sentResult = 0;
  std::thread worker([&] {
    ::PostMessageW(target, kProbeMessage, 0, 0);
    // SendMessage from another thread blocks until the waiting thread dispatches it.
    sentResult = ::SendMessageW(target, kProbeMessage, 0, 0);
    ::SetEvent(done.Get());
  });
  EXPECT_EQ(platform::WaitPumpingMessages(done.Get(), 10000), WAIT_OBJECT_0);
  worker.join();
  EXPECT_EQ(sentResult, 42);
  EXPECT_EQ(ProbeWindow::Depths(), (std::vector<int>{1, 1}));
  EXPECT_EQ(platform::PumpingDepth(), 0);
}

TEST(WaitPumpingMessages, ANestedWaitCountsItsDepthAndStillDispatches) {
  ProbeWindow probe;
  ASSERT_TRUE(probe.window);
  platform::UniqueHandle nested = NewEvent();
  ProbeWindow::NestedEvent() = nested.Get();
  platform::UniqueHandle done = NewEvent();
  ::PostMessageW(probe.window.Get(), kNestedWaitMessage, 0, 0);
  // Ends on time-out once the nested wait (never signalled) and its message have run.
  EXPECT_EQ(platform::WaitPumpingMessages(done.Get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(ProbeWindow::Depths(), (std::vector<int>{1, 2}));
  ProbeWindow::NestedEvent() = nullptr;
}

TEST(WaitPumpingMessages, KeepsWaitingAfterWmQuitAndPostsItAgainAtTheEnd) {
  platform::UniqueHandle done = NewEvent();
  ::PostQuitMessage(17);
  std::thread worker([&] {
    ::Sleep(100);
    ::SetEvent(done.Get());
  });
  EXPECT_EQ(platform::WaitPumpingMessages(done.Get(), 10000), WAIT_OBJECT_0);
  worker.join();
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 17u);
}

TEST(WaitPumpingMessages, RefusesBadArgumentsAndInvalidHandles) {
  platform::UniqueHandle event = NewEvent();
  EXPECT_EQ(platform::WaitPumpingMessages(nullptr, 1, 0), WAIT_FAILED);
  HANDLE raw = event.Get();
  EXPECT_EQ(platform::WaitPumpingMessages(&raw, 0, 0), WAIT_FAILED);
  std::vector<HANDLE> tooMany(MAXIMUM_WAIT_OBJECTS, event.Get());
  EXPECT_EQ(platform::WaitPumpingMessages(tooMany.data(), MAXIMUM_WAIT_OBJECTS, 0), WAIT_FAILED);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(platform::WaitPumpingMessages(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x7FF0)), 100), WAIT_FAILED);
  EXPECT_EQ(platform::PumpingDepth(), 0);
}

}  // namespace
