#include "log/MessageBoxLogger.h"

#include "log/Log.h"
#include "platform/MessageBox.h"

namespace setuplog {

void CMessageBoxLogger::Write(int level, const std::wstring& text) {
  if (level != kLevelError) return;
  platform::ShowMessageBox(nullptr, text, L"Setup", MB_OK | MB_ICONERROR);
}

}  // namespace setuplog
