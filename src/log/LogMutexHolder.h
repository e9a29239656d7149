#pragma once

#include <windows.h>

#include "platform/UniqueResource.h"

namespace setuplog {

// Owns the global log mutex on behalf of this process across a burst of lines.
//
// Every process that writes the log takes the named mutex around each line.
// Taking and giving back a named mutex costs two trips to the kernel (to the
// wine server under Wine), far more than writing the line. A mutex belongs to
// the thread that took it, so a small keeper thread takes it when a line needs
// it and gives it back once this process has written nothing for a moment, or
// has held it for long enough that a waiting process should get its turn. A
// line is still written by the thread that logs it, on disk before the call
// returns, always while this process owns the mutex.
class CLogMutexHolder {
 public:
  // How long the keeper keeps the mutex after the last line, and at most in
  // one go while lines keep coming.
  static constexpr DWORD kIdleMilliseconds = 20;
  static constexpr DWORD kMaxHoldMilliseconds = 200;

  // `mutex` stays owned by the caller and must outlive this object.
  explicit CLogMutexHolder(HANDLE mutex);
  // Gives the mutex back at once and ends the keeper.
  ~CLogMutexHolder();
  CLogMutexHolder(const CLogMutexHolder&) = delete;
  CLogMutexHolder& operator=(const CLogMutexHolder&) = delete;

  // While a Scope lives, this thread alone in the process writes, and the
  // process owns the mutex (unless it could not be taken at all, when lines
  // are written unserialised as before). Scopes nest on one thread.
  class Scope {
   public:
    explicit Scope(CLogMutexHolder& holder);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    // Which unbroken holding of the mutex by this process the line is written
    // in: two lines written in the same one (not 0) have no other process's
    // line between them. 0 when that cannot be told (the mutex was taken for
    // this line alone, or could not be taken).
    [[nodiscard]] unsigned long long Holding() const;

   private:
    CLogMutexHolder& holder_;
    // Taken by this thread itself because no keeper runs.
    bool ownedHere_ = false;
  };

 private:
  static DWORD WINAPI KeeperMain(void* parameter);
  void KeeperLoop();
  [[nodiscard]] bool EnsureKeeper();
  [[nodiscard]] bool KeeperEnded() const;
  // With the lock entered: whether the keeper owns the mutex for us now.
  [[nodiscard]] bool AcquireThroughKeeper();

  HANDLE mutex_;
  CRITICAL_SECTION lock_;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
  platform::UniqueHandle keeper_;
  bool keeperFailed_ = false;
  // Set by the keeper once it runs: a thread starts some milliseconds after it
  // is created, and lines until then take the mutex themselves.
  bool keeperRunning_ = false;
  bool stopping_ = false;
  // Lines waiting for the keeper to take the mutex.
  int waiters_ = 0;
  bool held_ = false;
  // Counts the keeper's takings of the mutex; the current one while held.
  unsigned long long holdings_ = 0;
  bool acquireFailed_ = false;
  ULONGLONG heldSince_ = 0;
  ULONGLONG lastUse_ = 0;
};

}  // namespace setuplog
