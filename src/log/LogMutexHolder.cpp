#include "log/LogMutexHolder.h"

#include <algorithm>

namespace setuplog {

namespace {

bool Owns(DWORD waitResult) {
  // An abandoned mutex is ours now; its previous owner died mid-line at worst.
  return waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED;
}

// How often a line waiting for the keeper checks that the keeper still runs:
// a process that is ending kills it without notice.
constexpr DWORD kKeeperCheckMilliseconds = 500;

}  // namespace

CLogMutexHolder::CLogMutexHolder(HANDLE mutex) : mutex_(mutex) { ::InitializeCriticalSection(&lock_); }

CLogMutexHolder::~CLogMutexHolder() {
  ::EnterCriticalSection(&lock_);
  stopping_ = true;
  ::WakeAllConditionVariable(&changed_);
  ::LeaveCriticalSection(&lock_);
  // The keeper gives the mutex back before it ends; when the process is ending
  // it is already gone and its handle signalled.
  if (keeper_) (void)::WaitForSingleObject(keeper_.Get(), INFINITE);
  keeper_.Reset();
  ::DeleteCriticalSection(&lock_);
}

DWORD WINAPI CLogMutexHolder::KeeperMain(void* parameter) {
  static_cast<CLogMutexHolder*>(parameter)->KeeperLoop();
  return 0;
}

void CLogMutexHolder::KeeperLoop() {
  ::EnterCriticalSection(&lock_);
  keeperRunning_ = true;
  for (;;) {
    if (held_) {
      // Lines are written with the lock entered, so the mutex never goes back
      // in the middle of one.
      const ULONGLONG now = ::GetTickCount64();
      const ULONGLONG deadline = std::min(lastUse_ + kIdleMilliseconds, heldSince_ + kMaxHoldMilliseconds);
      if (stopping_ || now >= deadline) {
        (void)::ReleaseMutex(mutex_);
        held_ = false;
        continue;
      }
      (void)::SleepConditionVariableCS(&changed_, &lock_, static_cast<DWORD>(deadline - now));
      continue;
    }
    if (stopping_) break;
    if (waiters_ == 0) {
      (void)::SleepConditionVariableCS(&changed_, &lock_, INFINITE);
      continue;
    }
    // Another process may hold the mutex for a while: lines of this process
    // wait, but the keeper's lock stays free meanwhile.
    ::LeaveCriticalSection(&lock_);
    const DWORD result = ::WaitForSingleObject(mutex_, INFINITE);
    ::EnterCriticalSection(&lock_);
    if (Owns(result)) {
      held_ = true;
      ++holdings_;
      heldSince_ = lastUse_ = ::GetTickCount64();
    } else {
      acquireFailed_ = true;
    }
    ::WakeAllConditionVariable(&changed_);
  }
  ::LeaveCriticalSection(&lock_);
}

bool CLogMutexHolder::EnsureKeeper() {
  if (keeper_) return true;
  if (keeperFailed_) return false;
  keeper_.Reset(::CreateThread(nullptr, 0, &CLogMutexHolder::KeeperMain, this, 0, nullptr));
  keeperFailed_ = !keeper_;
  return !keeperFailed_;
}

bool CLogMutexHolder::KeeperEnded() const { return ::WaitForSingleObject(keeper_.Get(), 0) != WAIT_TIMEOUT; }

bool CLogMutexHolder::AcquireThroughKeeper() {
  if (stopping_ || acquireFailed_ || !EnsureKeeper() || !keeperRunning_) return false;
  ++waiters_;
  ::WakeAllConditionVariable(&changed_);
  while (!held_ && !acquireFailed_) {
    if (!::SleepConditionVariableCS(&changed_, &lock_, kKeeperCheckMilliseconds) && KeeperEnded()) {
      keeperFailed_ = true;
      break;
    }
  }
  --waiters_;
  return held_;
}

CLogMutexHolder::Scope::Scope(CLogMutexHolder& holder) : holder_(holder) {
  ::EnterCriticalSection(&holder_.lock_);
  if (holder_.mutex_ == nullptr || holder_.held_ || holder_.AcquireThroughKeeper()) return;
  // No keeper: the mutex is taken for this line alone, as a single line's
  // writer would.
  ownedHere_ = Owns(::WaitForSingleObject(holder_.mutex_, INFINITE));
}

unsigned long long CLogMutexHolder::Scope::Holding() const {
  return !ownedHere_ && holder_.held_ ? holder_.holdings_ : 0;
}

CLogMutexHolder::Scope::~Scope() {
  holder_.lastUse_ = ::GetTickCount64();
  if (ownedHere_) (void)::ReleaseMutex(holder_.mutex_);
  ::LeaveCriticalSection(&holder_.lock_);
}

}  // namespace setuplog
