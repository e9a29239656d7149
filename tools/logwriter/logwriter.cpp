// logwriter.exe PATH ID COUNT [START_EVENT [MAX_MB [READY_EVENT]]]
// Opens the setup log file sink on PATH (append mode, roll-over size MAX_MB,
// default 0 meaning 10) and writes COUNT lines "writer ID line N ..." at
// INFORMATION level. With READY_EVENT it sets that named event once the log is
// open, so the starter knows when to let it go. With START_EVENT it first waits
// for that named event, so several writers can be released at the same moment.
// Exit code: 0 written, 1 bad arguments, 2 the log could not be opened,
// 3 the start event never came (or the ready event could not be set).

#include <windows.h>

#include <cstdio>
#include <string>

#include "log/ILogFileDetails.h"
#include "log/Log.h"
#include "log/LogManager.h"
#include "platform/MessageBox.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"

namespace {

class CWriterLogFileDetails final : public ILogFileDetails {
 public:
  CWriterLogFileDetails(std::wstring path, int maxLengthOfFile)
      : path_(std::move(path)), maxLengthOfFile_(maxLengthOfFile) {}
  std::wstring GetName() const override { return path_; }
  std::wstring GetLevel() const override { return L"DEVELOPERINFO"; }
  int GetMode() const override { return 0; }
  int GetMaxLengthOfFile() const override { return maxLengthOfFile_; }
  std::wstring GetFileName() const override { return path_.substr(path_.find_last_of(L'\\') + 1); }
  std::wstring GetFolder() const override { return path_.substr(0, path_.find_last_of(L'\\') + 1); }

 private:
  std::wstring path_;
  int maxLengthOfFile_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fwprintf(stderr, L"usage: logwriter PATH ID COUNT [START_EVENT [MAX_MB [READY_EVENT]]]\n");
    return 1;
  }
  // Nobody watches this process's windows: report message boxes on stderr.
  platform::SetMessageBoxHandler([](HWND, const std::wstring& text, const std::wstring& caption, UINT) {
    std::fwprintf(stderr, L"message box [%ls]: %ls\n", caption.c_str(), text.c_str());
    return IDOK;
  });

  CWriterLogFileDetails details(argv[1], argc > 5 ? platform::ToInt(argv[5]) : 0);
  std::wstring id = argv[2];
  int count = platform::ToInt(argv[3]);

  auto& manager = setuplog::CLogManager::GetInstance();
  manager.SetLogFileDetails(&details);
  if (manager.SetSinkType(setuplog::CLogManager::kSinkFile) != 1) return 2;

  if (argc > 6 && argv[6][0] != L'\0') {
    platform::UniqueHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[6]));
    if (!ready || !::SetEvent(ready.Get())) return 3;
  }
  if (argc > 4 && argv[4][0] != L'\0') {
    platform::UniqueHandle start(::OpenEventW(SYNCHRONIZE, FALSE, argv[4]));
    if (!start || ::WaitForSingleObject(start.Get(), 60000) != WAIT_OBJECT_0) return 3;
  }

  // A long tail makes a torn line visible: it must arrive whole after its number.
  std::wstring tail(64, id.empty() ? L'x' : id[0]);
  for (int line = 0; line < count; ++line) {
    LogInformation(L"writer %s line %06d %s end", id.c_str(), line, tail.c_str());
  }
  manager.CloseSink();
  manager.SetLogFileDetails(nullptr);
  return 0;
}
