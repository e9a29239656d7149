#include <windows.h>

#include "app/SetupBootstrapperApp.h"
#include "platform/WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CSetupBootstrapperApp app;
  return platform::RunApplication(app);
}
