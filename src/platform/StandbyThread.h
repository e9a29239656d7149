#pragma once
// A thread made ahead of the work it will run. Under Wine a new thread starts
// running a few milliseconds after CreateThread returns; a caller that runs a
// thread per task (a child process per product) prepares the next one while
// the current task goes on, so the next task starts at once.
//
// The started thread is an ordinary one for its owner: its handle is returned,
// it runs the procedure once and ends with the procedure's result as its exit
// code. A prepared thread that is never started ends without running anything.

#include <windows.h>

#include "platform/UniqueResource.h"

namespace platform {

class CStandbyThread {
 public:
  CStandbyThread() = default;
  // Lets a prepared thread end without work and waits for it.
  ~CStandbyThread();
  CStandbyThread(const CStandbyThread&) = delete;
  CStandbyThread& operator=(const CStandbyThread&) = delete;

  // Makes a thread that waits for Start; true when one is ready (or already
  // was). Without one, Start makes the thread itself.
  [[nodiscard]] bool Prepare();
  // Runs `procedure(parameter)` on the prepared thread, or on a new one when
  // none is prepared; the thread's handle, empty when none could be made.
  [[nodiscard]] UniqueHandle Start(LPTHREAD_START_ROUTINE procedure, void* parameter);

 private:
  // What the prepared thread runs; owned by that thread once it exists.
  struct Work {
    UniqueHandle go;
    LPTHREAD_START_ROUTINE procedure = nullptr;
    void* parameter = nullptr;
  };
  static DWORD WINAPI StandbyMain(void* work);

  UniqueHandle thread_;
  Work* work_ = nullptr;
};

}  // namespace platform
