#include <windows.h>

#include "app/SetupBootstrapperApp.h"
#include "platform/SystemPaths.h"
#include "platform/WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything can load a DLL: Setup.exe runs elevated from folders
  // others can write to. Nothing can report a failure yet (the log does not
  // exist), and every DLL of ours is loaded by full path regardless.
  (void)platform::RestrictDllSearchToSystemFolder();
  CSetupBootstrapperApp app;
  return platform::RunApplication(app);
}
