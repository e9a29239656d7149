#include "platform/MessagePump.h"

namespace platform {

namespace {

thread_local int g_depth = 0;

class DepthScope {
 public:
  DepthScope() { ++g_depth; }
  ~DepthScope() { --g_depth; }
  DepthScope(const DepthScope&) = delete;
  DepthScope& operator=(const DepthScope&) = delete;
};

// Dispatches what is waiting; false when WM_QUIT was among it (its code in `quitCode`).
bool DispatchWaitingMessages(WPARAM& quitCode) {
  bool quit = false;
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit = true;
      quitCode = message.wParam;
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return !quit;
}

}  // namespace

DWORD WaitPumpingMessages(const HANDLE* handles, DWORD count, DWORD timeoutMs) {
  if (count == 0 || count >= MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  DepthScope depth;
  bool quitSeen = false;
  WPARAM quitCode = 0;
  const ULONGLONG start = ::GetTickCount64();
  DWORD result = WAIT_FAILED;
  for (;;) {
    DWORD remaining = INFINITE;
    if (timeoutMs != INFINITE) {
      const ULONGLONG elapsed = ::GetTickCount64() - start;
      if (elapsed >= timeoutMs) {
        // Past the deadline a queue that never runs dry must not keep us
        // here: one last look at the handles decides.
        result = ::WaitForMultipleObjects(count, handles, FALSE, 0);
        break;
      }
      remaining = static_cast<DWORD>(timeoutMs - elapsed);
    }
    // MWMO_INPUTAVAILABLE: messages that arrived before this call, or that a
    // dispatched procedure peeked at without removing, still wake the wait.
    const DWORD wait = ::MsgWaitForMultipleObjectsEx(count, handles, remaining, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (wait == WAIT_OBJECT_0 + count) {
      WPARAM code = 0;
      if (!DispatchWaitingMessages(code)) {
        quitSeen = true;
        quitCode = code;
      }
      continue;
    }
    result = wait;
    break;
  }
  if (quitSeen) {
    const DWORD error = ::GetLastError();
    ::PostQuitMessage(static_cast<int>(quitCode));
    ::SetLastError(error);
  }
  return result;
}

int PumpingDepth() { return g_depth; }

}  // namespace platform
