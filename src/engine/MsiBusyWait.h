#pragma once
// Waits until no other Windows Installer operation holds "Global\_MSIExecute".
// A worker thread tries to own the mutex for the configured time and only
// reports how that went; the calling (user-interface) thread waits for it
// while pumping messages and, when the wait ran out, asks the user through
// the event dispatcher whether to try again; a "retry" stands for a minute of
// further attempts, each at least a second after the one before. The question is a window
// in the wizard, so it is never asked from the worker.

#include <windows.h>

#include <string>

class IEventDispatcher;
class ISetupConfigData;

extern const wchar_t kMsiExecuteMutexName[];

class CMsiBusyWait {
 public:
  CMsiBusyWait(ISetupConfigData& record, IEventDispatcher* dispatcher);

  // True when the mutex could be owned (the product may run), false when the
  // user gave up (the product is skipped). Call on the user-interface thread.
  [[nodiscard]] bool Wait();

  // The retry question, localized when the record's WiX strings have one.
  [[nodiscard]] std::wstring RetryMessage() const;

 private:
  static DWORD WINAPI ThreadProcedureToCheckMutex(void* parameter);
  // One attempt, on the worker: acquired, or the configured wait ran out.
  DWORD CheckMutex();
  // Runs one attempt on a worker and waits for it pumping messages; the
  // worker's exit code.
  [[nodiscard]] DWORD RunAttempt();
  // Asks the retry question; true for another attempt.
  [[nodiscard]] bool AskRetry();
  // Waits, pumping messages, until the minimum spacing after the attempt
  // that started at `attemptStarted` (tick count) has passed.
  static void PauseBeforeNextAttempt(ULONGLONG attemptStarted);

  ISetupConfigData& record_;
  IEventDispatcher* dispatcher_;
  // The waiting line: written on the first wait, then at most once a period.
  bool waitLogged_ = false;
  ULONGLONG lastWaitLog_ = 0;
};
