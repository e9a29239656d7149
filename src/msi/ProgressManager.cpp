#include "msi/ProgressManager.h"

#include "log/Log.h"
#include "msi/IEventMapper.h"

namespace {
constexpr DWORD kDefaultStepMilliseconds = 1500;
constexpr int kLastSimulatedPercent = 89;
}  // namespace

CProgressManager::CProgressManager(IEventMapper& sink)
    : sink_(sink), shutdownEvent_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

CProgressManager::~CProgressManager() {
  Stop();
  Join();
}

HANDLE CProgressManager::Start(DWORD expectedMilliseconds) {
  Join();  // a previous run's thread is finished before a new one starts
  expectedMilliseconds_ = expectedMilliseconds;
  sink_.SetProgressRange(0, 100);
  if (shutdownEvent_) ::ResetEvent(shutdownEvent_.Get());
  thread_.Reset(::CreateThread(nullptr, 0, &CProgressManager::ThreadProc, this, 0, nullptr));
  if (!thread_) {
    LogDebug(L"The Return value of the Progress manager thread is %d", static_cast<int>(::GetLastError()));
    return nullptr;
  }
  return thread_.Get();
}

void CProgressManager::Stop() {
  if (shutdownEvent_) ::SetEvent(shutdownEvent_.Get());
}

void CProgressManager::Join() {
  if (thread_) ::WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Reset();
}

DWORD WINAPI CProgressManager::ThreadProc(void* parameter) {
  static_cast<CProgressManager*>(parameter)->Run();
  return 0;
}

void CProgressManager::Run() {
  LogDebug(L"Inside Thread Proc. The thread to update the progress bar");
  int duration = static_cast<int>(expectedMilliseconds_);
  DWORD step = duration <= 0 ? kDefaultStepMilliseconds : static_cast<DWORD>(duration / 100);
  if (step == 0) step = 1;
  int count = 0;
  // The shutdown event doubles as the sleep, so a stop is seen at once.
  while (::WaitForSingleObject(shutdownEvent_.Get(), step) == WAIT_TIMEOUT) {
    ++count;
    if (count < kLastSimulatedPercent + 1) sink_.SetProgressPos(count);
  }
  LogDebug(L"Breaking from progress manager thread");
  sink_.SetProgressPos(100);
  LogDebug(L"The progressbar shutdown event is set; exiting the progress manager thread.");
  LogDebug(L"End Thread Proc, The thread to update the progress bar");
}
