#include "log/LogManager.h"

#include "log/ConsoleLogger.h"
#include "log/FileLogger.h"
#include "log/Log.h"
#include "log/MessageBoxLogger.h"
#include "log/NullLogger.h"
#include "platform/StringUtil.h"

namespace setuplog {

CLogManager& CLogManager::GetInstance() {
  static CLogManager manager;
  return manager;
}

CLogManager::CLogManager() : sink_(std::make_unique<CNullLogger>()) {}

int CLogManager::SetSinkType(int type) {
  if (type == sinkType_) return 0;
  sinkType_ = type;
  sink_.reset();
  switch (type) {
    case kSinkMessageBox:
      sink_ = std::make_unique<CMessageBoxLogger>();
      return 1;
    case kSinkFile:
      return OpenFileSink();
    case kSinkDebugger:
      sink_ = std::make_unique<CConsoleLogger>();
      return 1;
    default:
      sink_ = std::make_unique<CNullLogger>();
      return 1;
  }
}

int CLogManager::OpenFileSink() {
  std::wstring path;
  int mode = 0;
  int maxLengthOfFile = 0;
  if (details_ != nullptr) {
    path = details_->GetName();
    std::wstring level = platform::ToUpper(details_->GetLevel());
    if (level == L"DEVELOPERINFO") SetLevel(kLevelDebug);
    else if (level == L"USERINFO") SetLevel(kLevelInformation);
    mode = details_->GetMode();
    maxLengthOfFile = details_->GetMaxLengthOfFile();
  }
  auto sink = std::make_unique<CFileLogger>(path, mode, maxLengthOfFile, bundleKey_, failureTexts_);
  int opened = sink->Open();
  sink_ = std::move(sink);
  return opened;
}

void CLogManager::Write(int level, const std::wstring& text) {
  if (level > kLevelInformation && GetLevel() <= kLevelInformation) return;
  if (sink_) sink_->Write(level, text);
}

void CLogManager::CloseSink() { sink_.reset(); }

}  // namespace setuplog
