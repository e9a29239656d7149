#include "log/Log.h"

#include "log/LogManager.h"

namespace setuplog {

void WriteLine(int level, const std::wstring& text) { CLogManager::GetInstance().Write(level, text); }

}  // namespace setuplog
