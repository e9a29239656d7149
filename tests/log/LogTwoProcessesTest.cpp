#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "LogTestSupport.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"

namespace logtest {
namespace {

constexpr int kLinesPerWriter = 3000;
const wchar_t kMarkerLine[] = L" *** rolling over to next log file ***";

platform::UniqueHandle StartWriter(const std::wstring& logPath, const std::wstring& id, const std::wstring& event,
                                   int maxMegabytes, const std::wstring& readyEvent) {
  std::wstring exe = platform::GetModuleFolder() + L"logwriter.exe";
  std::wstring commandLine = platform::Format(L"\"%s\" \"%s\" %s %d %s %d %s", exe.c_str(), logPath.c_str(), id.c_str(),
                                              kLinesPerWriter, event.c_str(), maxMegabytes, readyEvent.c_str());
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return platform::UniqueHandle();
  }
  platform::UniqueHandle thread(process.hThread);
  return platform::UniqueHandle(process.hProcess);
}

struct SharingCase {
  const char* name;
  int maxMegabytes;       // 0: the 10 MiB default, never reached here
  size_t rolledFiles;     // both writers together write about 1.4 MiB
};

class LogTwoProcesses : public LogTest, public ::testing::WithParamInterface<SharingCase> {};

TEST_P(LogTwoProcesses, EveryLineOfBothWritersArrivesWholeAndOnce) {
  const SharingCase& c = GetParam();
  std::wstring path = scratch_ + L"shared.log";
  std::wstring eventName = platform::Format(L"LogTwoProcessesStart_%lu", ::GetCurrentProcessId());
  platform::UniqueHandle start(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
  ASSERT_TRUE(start.IsValid());

  // Each writer sets its own ready event once its log is open.
  std::wstring readyNames[] = {eventName + L"_ReadyA", eventName + L"_ReadyB"};
  platform::UniqueHandle ready[] = {
      platform::UniqueHandle(::CreateEventW(nullptr, TRUE, FALSE, readyNames[0].c_str())),
      platform::UniqueHandle(::CreateEventW(nullptr, TRUE, FALSE, readyNames[1].c_str()))};
  ASSERT_TRUE(ready[0].IsValid());
  ASSERT_TRUE(ready[1].IsValid());

  platform::UniqueHandle writers[] = {StartWriter(path, L"A", eventName, c.maxMegabytes, readyNames[0]),
                                      StartWriter(path, L"B", eventName, c.maxMegabytes, readyNames[1])};
  ASSERT_TRUE(writers[0].IsValid()) << "logwriter.exe missing beside the test executable";
  ASSERT_TRUE(writers[1].IsValid());
  // Both have opened the log before they are let go, so their lines compete. A
  // writer that ends instead (it could not open the log) ends the wait too.
  for (int i = 0; i < 2; ++i) {
    HANDLE readyOrEnded[] = {ready[i].Get(), writers[i].Get()};
    ASSERT_EQ(::WaitForMultipleObjects(2, readyOrEnded, FALSE, 60000), WAIT_OBJECT_0)
        << "writer " << i << " never opened the log";
  }
  ::SetEvent(start.Get());
  for (auto& writer : writers) {
    ASSERT_EQ(::WaitForSingleObject(writer.Get(), 90000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ASSERT_TRUE(::GetExitCodeProcess(writer.Get(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }

  std::vector<std::wstring> files = FilesMatching(scratch_, L"shared_*.log");
  ASSERT_EQ(files.size(), c.rolledFiles);
  files.push_back(L"shared.log");

  const std::wregex line(
      L"\\[\\d\\d:\\d\\d:\\d\\d:\\d{3}\\]:\\t INFORMATION:\\twriter ([AB]) line (\\d{6}) ([AB]{64}) end");
  const std::wregex banner(L"===== logging (started|stopped): .*  ======");
  std::map<std::wstring, std::vector<int>> seen = {{L"A", std::vector<int>(kLinesPerWriter)},
                                                   {L"B", std::vector<int>(kLinesPerWriter)}};
  int banners = 0, markers = 0, switches = 0;
  for (const std::wstring& file : files) {
    LogFileContent content = ReadLogFile(scratch_ + file);
    ASSERT_TRUE(content.hasBom) << platform::WideToUtf8(file);
    EXPECT_FALSE(content.loneLineFeed);
    EXPECT_EQ(content.text.find(L'\xFEFF'), std::wstring::npos) << "a byte order mark inside the file";
    std::wstring previous;
    for (const std::wstring& text : content.lines) {
      std::wsmatch match;
      if (std::regex_match(text, banner)) {
        ++banners;
        continue;
      }
      if (text == kMarkerLine) {
        ++markers;
        continue;
      }
      ASSERT_TRUE(std::regex_match(text, match, line)) << "torn line: " << platform::WideToUtf8(text);
      std::wstring id = match[1].str();
      ASSERT_EQ(match[3].str(), std::wstring(64, id[0])) << platform::WideToUtf8(text);
      int number = platform::ToInt(match[2].str());
      ASSERT_LT(number, kLinesPerWriter);
      ++seen[id][static_cast<size_t>(number)];
      if (!previous.empty() && previous != id) ++switches;
      previous = id;
    }
  }
  EXPECT_EQ(banners, 4);
  // A writer whose handle still names the renamed file must not roll it again.
  EXPECT_EQ(static_cast<size_t>(markers), c.rolledFiles);
  for (auto& [id, counts] : seen) {
    for (int number = 0; number < kLinesPerWriter; ++number) {
      ASSERT_EQ(counts[static_cast<size_t>(number)], 1) << "writer " << platform::WideToUtf8(id) << " line " << number;
    }
  }
  // Not a requirement, but without it the test would prove nothing about sharing.
  RecordProperty("WriterSwitches", switches);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LogTwoProcesses,
                         ::testing::Values(SharingCase{"NoRollOver", 0, 0}, SharingCase{"OneRollOver", 1, 1}),
                         [](const ::testing::TestParamInfo<SharingCase>& info) { return info.param.name; });

}  // namespace
}  // namespace logtest
