#pragma once
// A thread that runs procedures handed to it, one after another, and stays
// for the next. Under Wine a new thread first runs a few milliseconds after
// CreateThread, and ending one costs about as much again: work a caller waits
// for (the main package's opening, a child process per product) goes to a
// thread that already runs, and the caller waits for the procedure's end, an
// event, not for a thread's end.
//
// Procedures run in the order they were handed over: one handed over while
// another runs starts when that one has returned.

#include <windows.h>

#include <deque>
#include <memory>
#include <mutex>

#include "platform/UniqueResource.h"

namespace platform {

// One procedure handed to a task thread: its end and its result.
class CTask {
 public:
  CTask() = default;
  // Waits for a procedure that has not returned yet: it may use what the
  // owner of the task holds.
  ~CTask();
  CTask(CTask&& other) noexcept = default;
  CTask& operator=(CTask&& other) noexcept;
  CTask(const CTask&) = delete;
  CTask& operator=(const CTask&) = delete;

  // False when the procedure could not be handed over (no thread).
  explicit operator bool() const { return state_ != nullptr; }
  // Signalled once the procedure has returned; null for an empty task.
  [[nodiscard]] HANDLE Done() const;
  // The procedure's return value, once Done is signalled.
  [[nodiscard]] DWORD Result() const;

 private:
  friend class CTaskThread;
  struct State {
    LPTHREAD_START_ROUTINE procedure = nullptr;
    void* parameter = nullptr;
    UniqueHandle done;
    DWORD result = 0;
  };
  void WaitForEnd();

  std::shared_ptr<State> state_;
};

class CTaskThread {
 public:
  CTaskThread() = default;
  // Lets the thread end once every procedure handed over has returned, and
  // waits for it.
  ~CTaskThread();
  CTaskThread(const CTaskThread&) = delete;
  CTaskThread& operator=(const CTaskThread&) = delete;

  // Makes the thread now, so that the first procedure starts at once; true
  // when the thread exists.
  [[nodiscard]] bool Prepare();
  // Hands `procedure(parameter)` to the thread, making it when needed; an
  // empty task when neither the thread nor the task's event can be made.
  [[nodiscard]] CTask Run(LPTHREAD_START_ROUTINE procedure, void* parameter);

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void RunQueue();

  std::mutex lock_;
  std::deque<std::shared_ptr<CTask::State>> queue_;
  bool ending_ = false;
  UniqueHandle wake_;
  UniqueHandle thread_;
};

// The process's own task thread, shared by the engine's short workers; made
// on first use or by Prepare.
CTaskThread& SharedTaskThread();

}  // namespace platform
