#pragma once
// Simulated progress for products that report none (executables): a thread
// moves the bar one percent per hundredth of the expected duration, stops at
// 89 and jumps to 100 when stopped.

#include <windows.h>

#include "platform/UniqueResource.h"

class IEventMapper;

class CProgressManager {
 public:
  explicit CProgressManager(IEventMapper& sink);
  ~CProgressManager();
  CProgressManager(const CProgressManager&) = delete;
  CProgressManager& operator=(const CProgressManager&) = delete;

  // Starts the thread; the handle stays owned here. Null when it could not start.
  [[nodiscard]] HANDLE Start(DWORD expectedMilliseconds);
  // Lets the thread finish; its handle becomes signalled.
  void Stop();

 private:
  static DWORD WINAPI ThreadProc(void* parameter);
  void Run();
  void Join();

  IEventMapper& sink_;
  platform::UniqueHandle thread_;
  platform::UniqueHandle shutdownEvent_;
  DWORD expectedMilliseconds_ = 0;
};
