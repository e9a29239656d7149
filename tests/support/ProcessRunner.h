#pragma once
// Starts a program the way a user or a script would and collects what it did.

#include <windows.h>

#include <string>

#include "platform/UniqueResource.h"

namespace testsupport {

struct ProcessResult {
  bool started = false;
  bool timedOut = false;
  DWORD exitCode = 0;
  std::string output;  // standard output and error bytes, when captured
};

class RunningProcess {
 public:
  RunningProcess() = default;
  RunningProcess(platform::UniqueHandle process, DWORD processId) : process_(std::move(process)), id_(processId) {}
  [[nodiscard]] bool IsValid() const { return process_.IsValid(); }
  [[nodiscard]] DWORD Id() const { return id_; }
  [[nodiscard]] HANDLE Handle() const { return process_.Get(); }
  // Waits for the end; on time-out the process is killed and timedOut set.
  ProcessResult Wait(DWORD timeoutMs);
  [[nodiscard]] bool IsRunning() const;

 private:
  platform::UniqueHandle process_;
  DWORD id_ = 0;
};

// Starts `commandLine` (program path first, quoted as needed) without waiting.
RunningProcess StartProcess(const std::wstring& commandLine, const std::wstring& workingFolder = L"");

// Starts `commandLine`, captures its standard output and error through a pipe
// and waits for the end.
ProcessResult RunAndCapture(const std::wstring& commandLine, DWORD timeoutMs, const std::wstring& workingFolder = L"");

// Waits until a process of the program at `imagePath` runs (one that another
// program started) and returns it; invalid when none appeared in time.
RunningProcess WaitForProcessOf(const std::wstring& imagePath, DWORD timeoutMs);

// Quotes a path for a command line.
std::wstring Quote(const std::wstring& path);

}  // namespace testsupport
