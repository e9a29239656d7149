#include "ConfigTestSupport.h"

#include "log/LogManager.h"
#include "support/TestPaths.h"

namespace modeltest {

namespace {
constexpr int kSinkFile = 1;
constexpr int kSinkNone = 3;
}  // namespace

LogCapture::LogCapture() {
  static int serial = 0;
  folder_ = testsupport::MakeScratchFolder(L"configlog" + std::to_wstring(++serial));
  details_ = std::make_unique<CLogFileDetails>(folder_ + L"capture.log", L"DEVELOPERINFO", 1, 10);
  auto& manager = setuplog::CLogManager::GetInstance();
  manager.SetLogFileDetails(details_.get());
  (void)manager.SetSinkType(kSinkNone);
  active_ = manager.SetSinkType(kSinkFile) == 1;
}

LogCapture::~LogCapture() {
  Stop();
  testsupport::RemoveFolder(folder_);
}

void LogCapture::Stop() {
  if (stopped_) return;
  stopped_ = true;
  auto& manager = setuplog::CLogManager::GetInstance();
  manager.CloseSink();
  (void)manager.SetSinkType(kSinkNone);
  manager.SetLogFileDetails(nullptr);
  std::string bytes = testsupport::ReadFileBytes(details_->GetName());
  size_t start = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 0;
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    text_ += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
}

std::wstring LogCapture::Text() {
  Stop();
  return text_;
}

size_t LogCapture::Count(const std::wstring& part) {
  Stop();
  size_t count = 0;
  for (size_t at = text_.find(part); at != std::wstring::npos; at = text_.find(part, at + part.size())) ++count;
  return count;
}

std::wstring ImageFolder() { return testsupport::SharedFolder() + L"wixui\\Bitmaps\\"; }

}  // namespace modeltest
