#include "platform/TaskThread.h"

namespace platform {

CTask::~CTask() { WaitForEnd(); }

CTask& CTask::operator=(CTask&& other) noexcept {
  if (this != &other) {
    WaitForEnd();
    state_ = std::move(other.state_);
  }
  return *this;
}

HANDLE CTask::Done() const { return state_ ? state_->done.Get() : nullptr; }

DWORD CTask::Result() const { return state_ ? state_->result : 0; }

void CTask::WaitForEnd() {
  if (state_) ::WaitForSingleObject(state_->done.Get(), INFINITE);
}

CTaskThread::~CTaskThread() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (!thread_) return;
    ending_ = true;
  }
  ::SetEvent(wake_.Get());
  ::WaitForSingleObject(thread_.Get(), INFINITE);
}

bool CTaskThread::Prepare() {
  std::lock_guard<std::mutex> guard(lock_);
  if (thread_) return true;
  if (!wake_) wake_.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!wake_) return false;
  thread_.Reset(::CreateThread(nullptr, 0, &CTaskThread::ThreadMain, this, 0, nullptr));
  return static_cast<bool>(thread_);
}

CTask CTaskThread::Run(LPTHREAD_START_ROUTINE procedure, void* parameter) {
  CTask task;
  if (procedure == nullptr || !Prepare()) return task;
  auto state = std::make_shared<CTask::State>();
  state->procedure = procedure;
  state->parameter = parameter;
  state->done.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!state->done) return task;
  {
    std::lock_guard<std::mutex> guard(lock_);
    queue_.push_back(state);
  }
  ::SetEvent(wake_.Get());
  task.state_ = std::move(state);
  return task;
}

DWORD WINAPI CTaskThread::ThreadMain(void* self) {
  static_cast<CTaskThread*>(self)->RunQueue();
  return 0;
}

void CTaskThread::RunQueue() {
  for (;;) {
    ::WaitForSingleObject(wake_.Get(), INFINITE);
    // One wake-up may stand for several procedures handed over meanwhile.
    for (;;) {
      std::shared_ptr<CTask::State> next;
      {
        std::lock_guard<std::mutex> guard(lock_);
        if (queue_.empty()) {
          if (ending_) return;
          break;
        }
        next = std::move(queue_.front());
        queue_.pop_front();
      }
      next->result = next->procedure(next->parameter);
      // Setting the event orders the result before any reader that waited for it.
      ::SetEvent(next->done.Get());
    }
  }
}

CTaskThread& SharedTaskThread() {
  static CTaskThread thread;
  return thread;
}

}  // namespace platform
