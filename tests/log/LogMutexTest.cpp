// The global log mutex as other processes meet it. A thread of this test
// stands in for the other process: a mutex belongs to a thread, so for the
// writer's keeper it is as foreign as a thread of another program.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "log/LogFileWriter.h"
#include "platform/UniqueResource.h"

namespace logtest {
namespace {

using setuplog::CLogFileWriter;

// Takes the global mutex on its own thread and keeps it until told to let go.
class ForeignOwner {
 public:
  // `mutexWait`: how long the thread waits for the mutex.
  explicit ForeignOwner(DWORD mutexWait)
      : mutexWait_(mutexWait),
        taken_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        letGo_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_.Reset(::CreateThread(nullptr, 0, &ForeignOwner::Main, this, 0, nullptr));
  }
  ~ForeignOwner() {
    ::SetEvent(letGo_.Get());
    if (thread_) ::WaitForSingleObject(thread_.Get(), INFINITE);
  }
  ForeignOwner(const ForeignOwner&) = delete;
  ForeignOwner& operator=(const ForeignOwner&) = delete;

  // The wait result of taking the mutex, or WAIT_TIMEOUT when not taken within `milliseconds`.
  DWORD WaitUntilTaken(DWORD milliseconds) {
    if (::WaitForSingleObject(taken_.Get(), milliseconds) != WAIT_OBJECT_0) return WAIT_TIMEOUT;
    return result_;
  }
  void LetGo() { ::SetEvent(letGo_.Get()); }

 private:
  static DWORD WINAPI Main(void* parameter) {
    auto* self = static_cast<ForeignOwner*>(parameter);
    platform::UniqueHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, CLogFileWriter::kMutexName));
    self->result_ = mutex ? ::WaitForSingleObject(mutex.Get(), self->mutexWait_) : WAIT_FAILED;
    ::SetEvent(self->taken_.Get());
    ::WaitForSingleObject(self->letGo_.Get(), INFINITE);
    if (self->result_ == WAIT_OBJECT_0 || self->result_ == WAIT_ABANDONED) ::ReleaseMutex(mutex.Get());
    return 0;
  }

  DWORD mutexWait_;
  platform::UniqueHandle taken_;
  platform::UniqueHandle letGo_;
  platform::UniqueHandle thread_;
  DWORD result_ = WAIT_FAILED;
};

struct LineWriter {
  CLogFileWriter* writer;
  const wchar_t* text;
  static DWORD WINAPI Main(void* parameter) {
    auto* self = static_cast<LineWriter*>(parameter);
    self->writer->WriteLine(self->text);
    return 0;
  }
};

using LogMutex = LogTest;

TEST_F(LogMutex, AnotherWriterGetsTheMutexSoonAfterABurstOfLines) {
  CLogFileWriter writer(scratch_ + L"burst.log", 1, 0, {});
  ASSERT_EQ(writer.Open(), 1);
  for (int line = 0; line < 50; ++line) writer.WriteLine(L"a line of the burst");

  // The writer stays open and idle: it must not keep the others out.
  ForeignOwner other(10000);
  EXPECT_EQ(other.WaitUntilTaken(20000), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST_F(LogMutex, ClosingTheLogGivesTheMutexBackAtOnce) {
  // Another process's handle keeps the named mutex in existence.
  platform::UniqueHandle otherHandle;
  {
    CLogFileWriter writer(scratch_ + L"closed.log", 1, 0, {});
    ASSERT_EQ(writer.Open(), 1);
    otherHandle.Reset(::OpenMutexW(SYNCHRONIZE, FALSE, CLogFileWriter::kMutexName));
    ASSERT_TRUE(otherHandle.IsValid());
    writer.WriteLine(L"the last line");
  }
  // Not even a moment's wait: nothing of the closed writer holds it any more.
  ForeignOwner other(0);
  EXPECT_EQ(other.WaitUntilTaken(20000), static_cast<DWORD>(WAIT_OBJECT_0));
  const LogFileContent content = ReadLogFile(scratch_ + L"closed.log");
  ASSERT_EQ(content.lines.size(), 3u);
  EXPECT_NE(content.lines[2].find(L"logging stopped"), std::wstring::npos);
}

TEST_F(LogMutex, ALineWaitsWhileAnotherWriterHoldsTheMutex) {
  const std::wstring path = scratch_ + L"held.log";
  CLogFileWriter writer(path, 1, 0, {});
  ASSERT_EQ(writer.Open(), 1);
  writer.WriteLine(L"before");

  ForeignOwner other(10000);
  ASSERT_EQ(other.WaitUntilTaken(20000), static_cast<DWORD>(WAIT_OBJECT_0));
  LineWriter late{&writer, L"after the other writer"};
  platform::UniqueHandle lineThread(::CreateThread(nullptr, 0, &LineWriter::Main, &late, 0, nullptr));
  ASSERT_TRUE(lineThread.IsValid());
  EXPECT_EQ(::WaitForSingleObject(lineThread.Get(), 300), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the line was written while another writer held the mutex";
  EXPECT_TRUE(LinesContaining(ReadLogFile(path), L"after the other writer").empty());

  other.LetGo();
  ASSERT_EQ(::WaitForSingleObject(lineThread.Get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(LinesContaining(ReadLogFile(path), L"after the other writer").size(), 1u);
}

TEST_F(LogMutex, LinesOfWritersTakingTurnsFollowOneAnother) {
  // Two writers of one file, each with its own keeper: each line waits for the
  // other's holding to end, and must land after the other's lines, not where
  // this writer's own last line ended.
  const std::wstring path = scratch_ + L"turns.log";
  CLogFileWriter first(path, 0, 0, {});
  CLogFileWriter second(path, 0, 0, {});
  ASSERT_EQ(first.Open(), 1);
  ASSERT_EQ(second.Open(), 1);
  std::vector<std::wstring> expected;
  for (int turn = 0; turn < 4; ++turn) {
    for (CLogFileWriter* writer : {&first, &second}) {
      const std::wstring text = (writer == &first ? L"first writer, turn " : L"second writer, turn ") +
                                std::to_wstring(turn) + L", a line long enough to show any overlap";
      writer->WriteLine(text);
      // And a second line in the same holding.
      writer->WriteLine(text + L" (again)");
      expected.push_back(text);
      expected.push_back(text + L" (again)");
    }
  }
  std::vector<std::wstring> written;
  for (const std::wstring& line : ReadLogFile(path).lines) {
    const size_t text = line.find(L"writer, turn ");
    if (text != std::wstring::npos) written.push_back(line.substr(line.find(L"\t ") + 2));
  }
  ASSERT_EQ(written.size(), expected.size());
  for (size_t index = 0; index < expected.size(); ++index) {
    EXPECT_NE(written[index].find(expected[index]), std::wstring::npos) << written[index];
    EXPECT_EQ(written[index].size(), expected[index].size()) << written[index];
  }
}

}  // namespace
}  // namespace logtest
