#pragma once
// The small application frame: one application object per process; the
// process entry constructs it, calls InitInstance and then ExitInstance, whose
// result is the process exit code.

#include <windows.h>

#include <string>

#include "platform/CommandLineInfo.h"

namespace platform {

class CWinAppBase {
 public:
  CWinAppBase();
  virtual ~CWinAppBase();
  CWinAppBase(const CWinAppBase&) = delete;
  CWinAppBase& operator=(const CWinAppBase&) = delete;

  // Start-up; a return of 0 means "do not continue" (the frame then shuts down).
  virtual int InitInstance() = 0;
  // Shutdown; returns the process exit code.
  virtual int ExitInstance() = 0;

  // Hands the process command line to `info`, token by token.
  void ParseCommandLine(CCommandLineInfoBase& info);

  // The command line as the process received it; tests may replace it.
  [[nodiscard]] const std::wstring& GetCommandLineText() const { return commandLine_; }
  void SetCommandLineText(std::wstring commandLine) { commandLine_ = std::move(commandLine); }
  // The arguments after the program name, as typed.
  [[nodiscard]] std::wstring GetArgumentsText() const;

  [[nodiscard]] HINSTANCE GetInstanceHandle() const { return instance_; }

  // The application object of this process, or null.
  static CWinAppBase* GetCurrent();

 protected:
  // Base initialisation and shutdown of the frame.
  bool BaseInitInstance();
  int BaseExitInstance(int exitCode);

 private:
  HINSTANCE instance_;
  std::wstring commandLine_;
};

// Runs `app` through InitInstance and ExitInstance; returns the exit code.
int RunApplication(CWinAppBase& app);

}  // namespace platform
