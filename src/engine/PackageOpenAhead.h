#pragma once
// Opens the main package for the initializer pass on a worker thread while
// the main thread goes on with other work (a silent first installation reads
// its WiX sources meanwhile). Opening a package costs Windows Installer a
// good part of a second session's start; done alongside, it is hidden.
//
// Nothing is logged or shown on the worker: it only records what the launch
// would have found (why the file cannot be opened, whether it fits this
// processor) and the handles it opened. Whatever did not succeed there is
// done again by the launcher itself, with its messages, in their place.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/TaskThread.h"
#include "platform/UniqueResource.h"

class CPackageOpenAhead {
 public:
  // What the worker found for one package location.
  struct Result {
    std::wstring location;
    // Why the file cannot be opened at all; empty when it can.
    std::wstring problem;
    bool forThisProcessor = false;
    // Both set when the package opened; then the database is the one the
    // package session was opened on.
    platform::UniqueMsiHandle database;
    platform::UniqueMsiHandle package;
  };

  CPackageOpenAhead() = default;
  // Waits for the worker: its handles are closed here if nobody took them.
  ~CPackageOpenAhead();
  CPackageOpenAhead(const CPackageOpenAhead&) = delete;
  CPackageOpenAhead& operator=(const CPackageOpenAhead&) = delete;

  // Starts opening `location` with the installer's full user interface level
  // (the initializer pass's). False when no worker could be started: nothing
  // is opened ahead then. A second start while one is pending does nothing.
  [[nodiscard]] bool Start(const std::wstring& location);
  // Waits until the worker is done; at once when none runs.
  void Wait();
  // Waits, then hands over what was found for `location` (compared without
  // regard to case); null when nothing was started for it. Once only.
  [[nodiscard]] std::unique_ptr<Result> Take(const std::wstring& location);

 private:
  static DWORD WINAPI WorkerMain(void* self);
  void Open();

  // Runs on the process's task thread, which is usually running already.
  platform::CTask worker_;
  std::unique_ptr<Result> result_;
};
