#include "log/LogManager.h"

#include "platform/MessageBox.h"

namespace setuplog {

namespace {
class CNullLogger : public CLog {
 public:
  void Write(int, const std::wstring&) override {}
};
class CMessageBoxLogger : public CLog {
 public:
  void Write(int level, const std::wstring& text) override {
    if (level == 1) platform::ShowMessageBox(nullptr, text, L"Setup", MB_OK | MB_ICONERROR);
  }
};
}  // namespace

CLogManager& CLogManager::GetInstance() {
  static CLogManager manager;
  return manager;
}

CLogManager::CLogManager() : sink_(std::make_unique<CNullLogger>()) {}

int CLogManager::SetSinkType(int type) {
  if (type == sinkType_) return 0;
  sinkType_ = type;
  sink_.reset();
  if (type == 0) sink_ = std::make_unique<CMessageBoxLogger>();
  else sink_ = std::make_unique<CNullLogger>();
  return 1;
}

void CLogManager::Write(int level, const std::wstring& text) {
  if (level > 3 && level_ <= 3) return;
  if (sink_) sink_->Write(level, text);
}

void CLogManager::CloseSink() { sink_.reset(); }

}  // namespace setuplog
