#pragma once
// Runs an "EXE" or "Registry" product as a child process on a worker thread
// while the calling (user-interface) thread keeps pumping messages, applies
// the product's time-out and exit-code rules and logs a status block. The
// worker only starts, waits for and reports on the child; everything that
// reaches the user interface happens on the calling thread.

#include <windows.h>

#include <string>

#include "msi/SetupInstallerBase.h"
#include "platform/TaskThread.h"
#include "platform/UniqueResource.h"

class IEventMapper;

class CExeInstaller : public CSetupInstallerBase {
 public:
  CExeInstaller(ISetupConfigData& record, IEventDispatcher* dispatcher);
  ~CExeInstaller() override;

  [[nodiscard]] DWORD Execute(IProductAttributes& product, const std::wstring& commandLine) override;
  // A running child is never interrupted by the user.
  void Cancel() override {}

  // The process command line: the location (quoted, so a blank in it can never
  // make Windows start a different program) and the command line.
  [[nodiscard]] static std::wstring BuildProcessCommandLine(const std::wstring& location,
                                                            const std::wstring& commandLine);
  // Turns the code into 0 when a "<>N" part of the failure exit code list names it.
  [[nodiscard]] static DWORD ApplyFailureExitCodes(const std::wstring& failureExitCodes, DWORD code);

 private:
  static DWORD WINAPI ThreadProcedureToInstall(void* installer);
  DWORD RunChildProcess();
  void LogStatusBlock(DWORD processExitCode, DWORD code, const std::wstring& description) const;

  // The worker: ThreadProcedureToInstall on the process's task thread, which
  // stays for the next product, so neither its start nor its end is waited for.
  platform::CTask worker_;
  std::wstring processCommandLine_;
  DWORD timeOut_ = 0;
  DWORD processExitCode_ = 0;
  IEventMapper* eventMapper_ = nullptr;
};
