#pragma once
// The one wait of the user-interface thread: it waits for handles while the
// thread's windows stay alive.
//
// What it dispatches: every message of the calling thread's queue, posted or
// sent, input included (mouse clicks and keys reach the windows), through
// TranslateMessage and DispatchMessageW; IsDialogMessage is not called, so
// keyboard navigation between a modeless dialog's controls pauses. A WM_QUIT
// taken from the queue is held and posted again when the wait ends, so the
// outer message loop still ends the program.
//
// Why it matters to the wizard: the engine runs inside a button click
// (Install, Retry) and waits here, so a second click on the same button, or
// on Cancel, is dispatched while the first one is still running. A window
// procedure that must not re-enter the engine asks IsPumpingMessages() (or
// PumpingDepth() for the nesting level) and refuses, or keeps its controls
// disabled while the engine runs.

#include <windows.h>

namespace platform {

// Waits until one of `handles` is signalled or `timeoutMs` (INFINITE allowed)
// has passed since the call, dispatching messages meanwhile; messages arriving
// all the time never push the deadline out. Returns WAIT_OBJECT_0 + index of
// the signalled handle (WAIT_ABANDONED_0 + index for an abandoned mutex),
// WAIT_TIMEOUT, or WAIT_FAILED with the Windows error in GetLastError (an
// invalid handle, more than MAXIMUM_WAIT_OBJECTS - 1 handles).
[[nodiscard]] DWORD WaitPumpingMessages(const HANDLE* handles, DWORD count, DWORD timeoutMs);

[[nodiscard]] inline DWORD WaitPumpingMessages(HANDLE handle, DWORD timeoutMs) {
  return WaitPumpingMessages(&handle, 1, timeoutMs);
}

// How many WaitPumpingMessages calls are running on the calling thread: 0
// outside one, 1 inside a window procedure it dispatched to, 2 when that
// procedure waits again, and so on.
[[nodiscard]] int PumpingDepth();
[[nodiscard]] inline bool IsPumpingMessages() { return PumpingDepth() > 0; }

}  // namespace platform
