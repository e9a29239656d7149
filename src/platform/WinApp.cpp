#include "platform/WinApp.h"

namespace platform {

namespace {
CWinAppBase* g_currentApp = nullptr;
}

CWinAppBase::CWinAppBase() : instance_(::GetModuleHandleW(nullptr)), commandLine_(::GetCommandLineW()) {
  g_currentApp = this;
}

CWinAppBase::~CWinAppBase() {
  if (g_currentApp == this) g_currentApp = nullptr;
}

CWinAppBase* CWinAppBase::GetCurrent() { return g_currentApp; }

void CWinAppBase::ParseCommandLine(CCommandLineInfoBase& info) { platform::ParseCommandLine(commandLine_, info); }

std::wstring CWinAppBase::GetArgumentsText() const {
  // Skip the program name exactly as the splitter reads it, then the blanks after it.
  size_t i = 0;
  bool inQuotes = false;
  while (i < commandLine_.size()) {
    wchar_t c = commandLine_[i];
    if (c == L'"') inQuotes = !inQuotes;
    else if (!inQuotes && (c == L' ' || c == L'\t')) break;
    ++i;
  }
  while (i < commandLine_.size() && (commandLine_[i] == L' ' || commandLine_[i] == L'\t')) ++i;
  return commandLine_.substr(i);
}

bool CWinAppBase::BaseInitInstance() { return true; }

int CWinAppBase::BaseExitInstance(int exitCode) { return exitCode; }

int RunApplication(CWinAppBase& app) {
  // InitInstance always reports "do not continue": the roads run modally inside it.
  (void)app.InitInstance();
  return app.ExitInstance();
}

}  // namespace platform
