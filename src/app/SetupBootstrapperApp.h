#pragma once
#include "platform/WinApp.h"
class CSetupBootstrapperApp : public platform::CWinAppBase {
 public:
  int InitInstance() override { return 0; }
  int ExitInstance() override { return 0; }
};
