#pragma once
// Waits until no other Windows Installer operation holds "Global\_MSIExecute":
// a worker thread tries to own the mutex and asks the user, through the event
// dispatcher, whether to retry each time the configured wait runs out. The
// calling thread keeps pumping messages meanwhile.

#include <windows.h>

#include <string>

class IEventDispatcher;
class ISetupConfigData;

extern const wchar_t kMsiExecuteMutexName[];

class CMsiBusyWait {
 public:
  CMsiBusyWait(ISetupConfigData& record, IEventDispatcher* dispatcher);

  // True when the mutex could be owned (the product may run), false when the
  // user gave up (the product is skipped).
  [[nodiscard]] bool Wait();

  // The retry question, localized when the record's WiX strings have one.
  [[nodiscard]] std::wstring RetryMessage() const;

 private:
  static DWORD WINAPI ThreadProcedureToCheckMutex(void* parameter);
  DWORD CheckMutex();

  ISetupConfigData& record_;
  IEventDispatcher* dispatcher_;
};
