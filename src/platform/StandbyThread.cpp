#include "platform/StandbyThread.h"

#include <memory>

namespace platform {

CStandbyThread::~CStandbyThread() {
  if (!thread_) return;
  // No procedure: the thread ends as soon as it is let go.
  ::SetEvent(work_->go.Get());
  ::WaitForSingleObject(thread_.Get(), INFINITE);
}

bool CStandbyThread::Prepare() {
  if (thread_) return true;
  auto work = std::make_unique<Work>();
  work->go.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!work->go) return false;
  thread_.Reset(::CreateThread(nullptr, 0, &CStandbyThread::StandbyMain, work.get(), 0, nullptr));
  if (!thread_) return false;
  work_ = work.release();
  return true;
}

UniqueHandle CStandbyThread::Start(LPTHREAD_START_ROUTINE procedure, void* parameter) {
  if (!thread_) return UniqueHandle(::CreateThread(nullptr, 0, procedure, parameter, 0, nullptr));
  work_->procedure = procedure;
  work_->parameter = parameter;
  // The event orders the writes above before the thread reads them; from here
  // on the work belongs to the thread alone.
  ::SetEvent(work_->go.Get());
  work_ = nullptr;
  return std::move(thread_);
}

DWORD WINAPI CStandbyThread::StandbyMain(void* work) {
  std::unique_ptr<Work> mine(static_cast<Work*>(work));
  ::WaitForSingleObject(mine->go.Get(), INFINITE);
  if (mine->procedure == nullptr) return 0;
  return mine->procedure(mine->parameter);
}

}  // namespace platform
