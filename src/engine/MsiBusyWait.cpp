#include "engine/MsiBusyWait.h"

#include "config/ISetupConfigData.h"
#include "engine/ProductExitCodes.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "platform/MessagePump.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "config/IWixLocalizationList.h"

const wchar_t kMsiExecuteMutexName[] = L"Global\\_MSIExecute";

namespace {

// The worker's exit codes.
constexpr DWORD kAcquired = 1;
constexpr DWORD kGivenUp = 0;
constexpr DWORD kTimedOut = 2;
// Attempts start at least this far apart: with no wait configured an attempt
// ends at once, and an unattended run answers every question with "retry".
constexpr ULONGLONG kMinAttemptSpacingMs = 1000;
// A "retry" answer stands for this long: within it the attempts go on without
// a new question (an unattended run logs each question as an ERROR line),
// and the waiting line is written at most once per such period.
constexpr ULONGLONG kQuietPeriodMs = 60000;

// Deliberate text (the blanks around "?"): kept as written.
const wchar_t kDefaultRetryMessage[] =
    L"Setup execution cannot continue as another installation is already in progress. Do you want to retry ? "
    L"\n\nRetry will wait and retry the product execution.\nCancel will skip the product execution and continue as "
    L"configured.";

// Owns the mutex for as long as it lives, so it is always released by the
// thread that took it and never left abandoned.
class OwnedMutex {
 public:
  explicit OwnedMutex(platform::UniqueHandle mutex) : mutex_(std::move(mutex)) {}
  ~OwnedMutex() { ::ReleaseMutex(mutex_.Get()); }
  OwnedMutex(const OwnedMutex&) = delete;
  OwnedMutex& operator=(const OwnedMutex&) = delete;

 private:
  platform::UniqueHandle mutex_;
};

}  // namespace

CMsiBusyWait::CMsiBusyWait(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : record_(record), dispatcher_(dispatcher) {}

std::wstring CMsiBusyWait::RetryMessage() const {
  IWixLocalizationList* strings = record_.GetWixLocalizationList();
  if (strings == nullptr || !strings->HasLocalization(L"MSIMutexTimeOutMessage")) return kDefaultRetryMessage;
  std::wstring text = strings->GetLocalizedText(L"MSIMutexTimeOutMessage");
  platform::ReplaceAll(text, L"\\n", L"\n");
  return text;
}

bool CMsiBusyWait::Wait() {
  bool asked = false;
  ULONGLONG lastQuestion = 0;
  for (;;) {
    const ULONGLONG started = ::GetTickCount64();
    const DWORD code = RunAttempt();
    if (code == kAcquired) return true;
    if (code != kTimedOut) return false;
    if (!asked || ::GetTickCount64() - lastQuestion >= kQuietPeriodMs) {
      if (!AskRetry()) return false;
      asked = true;
      lastQuestion = ::GetTickCount64();
    }
    PauseBeforeNextAttempt(started);
  }
}

void CMsiBusyWait::PauseBeforeNextAttempt(ULONGLONG attemptStarted) {
  const ULONGLONG elapsed = ::GetTickCount64() - attemptStarted;
  if (elapsed >= kMinAttemptSpacingMs) return;
  // An event nobody sets: the wait keeps this thread's messages flowing.
  platform::UniqueHandle never(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const DWORD remaining = static_cast<DWORD>(kMinAttemptSpacingMs - elapsed);
  if (!never) {
    ::Sleep(remaining);
    return;
  }
  (void)platform::WaitPumpingMessages(never.Get(), remaining);
}

DWORD CMsiBusyWait::RunAttempt() {
  platform::UniqueHandle thread(::CreateThread(nullptr, 0, &CMsiBusyWait::ThreadProcedureToCheckMutex, this, 0,
                                               nullptr));
  if (!thread) {
    LogError(L"Unable to start the thread that checks the MSI mutex");
    return kGivenUp;
  }
  if (platform::WaitPumpingMessages(thread.Get(), INFINITE) != WAIT_OBJECT_0) {
    // Our own thread handle cannot fail a wait unless the state is broken:
    // wait plainly rather than leave the worker running.
    ::WaitForSingleObject(thread.Get(), INFINITE);
  }
  DWORD code = 0;
  if (!::GetExitCodeThread(thread.Get(), &code)) {
    LogInformation(L"Unable to get the Check Mutex thread exit code");
    code = 0;
  }
  // Deliberate text (the trailing blank): kept as written.
  LogDebug(L"CSetupExecutorBase::CheckForMutex() Check Mutex Thread exit code is %ld ", static_cast<long>(code));
  if (code == kExitStillActive) {
    LogInformation(L"Check Mutex Thread function has finished. Thread state is active");
    code = 0;
  }
  return code;
}

bool CMsiBusyWait::AskRetry() {
  // Retry and cancel in every kind of run, removal included.
  const UINT style = MB_RETRYCANCEL | MB_ICONWARNING | MB_TOPMOST;
  const int answer = dispatcher_ != nullptr ? dispatcher_->ShowErrorDialog(RetryMessage(), style) : IDCANCEL;
  if (answer == IDCANCEL) {
    LogInformation(L"User canceled product installation after waiting for MSI mutex");
    return false;
  }
  LogInformation(L"User clicked on retry.");
  return true;
}

DWORD WINAPI CMsiBusyWait::ThreadProcedureToCheckMutex(void* parameter) {
  if (parameter == nullptr) {
    LogDebug(L"CSetupExecutorBase::ThreadProcedureToCheckMutex() CSetupExecutorBase pointer is NULL.");
    return kExitNotStarted;
  }
  try {
    return static_cast<CMsiBusyWait*>(parameter)->CheckMutex();
  } catch (...) {
    LogError(L"Failed to check MSI mutex. Exception caught...");
    return kGivenUp;
  }
}

DWORD CMsiBusyWait::CheckMutex() {
  const int timeoutSeconds = record_.GetMSIMutexTimeout();
  const DWORD timeoutMs = timeoutSeconds > 0 ? static_cast<DWORD>(timeoutSeconds) * 1000 : 0;
  for (;;) {
    platform::UniqueHandle mutex(::CreateMutexW(nullptr, TRUE, kMsiExecuteMutexName));
    DWORD createError = ::GetLastError();
    if (mutex && createError != ERROR_ALREADY_EXISTS) {
      OwnedMutex owned(std::move(mutex));
      return kAcquired;
    }
    if (!mutex) {
      // The installer service may hold the mutex with rights that refuse a
      // create; waiting needs no more than the right to synchronize.
      mutex.Reset(::OpenMutexW(SYNCHRONIZE, FALSE, kMsiExecuteMutexName));
    }
    const ULONGLONG now = ::GetTickCount64();
    if (!waitLogged_ || now - lastWaitLog_ >= kQuietPeriodMs) {
      LogInformation(L"Waiting for MSI mutex. Wait time out %ld sec", static_cast<long>(timeoutSeconds));
      waitLogged_ = true;
      lastWaitLog_ = now;
    }
    DWORD wait = WAIT_TIMEOUT;
    if (mutex) {
      wait = ::WaitForSingleObject(mutex.Get(), timeoutMs);
    } else {
      // Neither created nor opened: someone holds it beyond reach; wait the
      // configured time before asking, instead of spinning.
      ::Sleep(timeoutMs);
    }
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
      LogInformation(L"Bootstrapper grabbed MSI mutex");
      OwnedMutex owned(std::move(mutex));
      return kAcquired;
    }
    if (wait == WAIT_TIMEOUT) return kTimedOut;
    // Any other outcome: start again with a fresh handle.
  }
}
