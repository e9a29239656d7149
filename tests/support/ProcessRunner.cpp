#include "support/ProcessRunner.h"

#include <tlhelp32.h>


namespace testsupport {

std::wstring Quote(const std::wstring& path) { return L"\"" + path + L"\""; }

bool RunningProcess::IsRunning() const {
  return process_.IsValid() && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

ProcessResult RunningProcess::Wait(DWORD timeoutMs) {
  ProcessResult result;
  if (!process_) return result;
  result.started = true;
  if (::WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_TIMEOUT) {
    result.timedOut = true;
    ::TerminateProcess(process_.Get(), 258);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
  ::GetExitCodeProcess(process_.Get(), &result.exitCode);
  return result;
}

RunningProcess StartProcess(const std::wstring& commandLine, const std::wstring& workingFolder) {
  std::wstring mutableLine = commandLine;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
    return {};
  }
  platform::UniqueHandle thread(info.hThread);
  return RunningProcess(platform::UniqueHandle(info.hProcess), info.dwProcessId);
}

ProcessResult RunAndCapture(const std::wstring& commandLine, DWORD timeoutMs, const std::wstring& workingFolder) {
  ProcessResult result;
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  platform::UniqueHandle readEnd;
  platform::UniqueHandle writeEnd;
  HANDLE readRaw = nullptr;
  HANDLE writeRaw = nullptr;
  if (!::CreatePipe(&readRaw, &writeRaw, &inherit, 0)) return result;
  readEnd.Reset(readRaw);
  writeEnd.Reset(writeRaw);
  ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

  std::wstring mutableLine = commandLine;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd.Get();
  startup.hStdError = writeEnd.Get();
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, &mutableLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
    return result;
  }
  platform::UniqueHandle thread(info.hThread);
  RunningProcess process(platform::UniqueHandle(info.hProcess), info.dwProcessId);
  writeEnd.Reset();  // only the child holds the write end now, so reading ends with it

  // Poll rather than block: grandchildren may keep the write end open after
  // the child itself has ended.
  auto drain = [&readEnd, &result] {
    DWORD available = 0;
    while (::PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char buffer[4096];
      DWORD got = 0;
      if (!::ReadFile(readEnd.Get(), buffer, sizeof(buffer), &got, nullptr) || got == 0) break;
      result.output.append(buffer, got);
    }
  };
  result.started = true;
  DWORD waited = 0;
  while (::WaitForSingleObject(process.Handle(), 10) == WAIT_TIMEOUT) {
    drain();
    waited += 10;
    if (waited >= timeoutMs) {
      result.timedOut = true;
      ::TerminateProcess(process.Handle(), 258);
      ::WaitForSingleObject(process.Handle(), 5000);
      break;
    }
  }
  drain();
  ::GetExitCodeProcess(process.Handle(), &result.exitCode);
  return result;
}

}  // namespace testsupport

namespace testsupport {

namespace {

std::wstring LongPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD length = ::GetLongPathNameW(path.c_str(), buffer, MAX_PATH * 2);
  return length > 0 && length < MAX_PATH * 2 ? std::wstring(buffer, length) : path;
}

}  // namespace

RunningProcess WaitForProcessOf(const std::wstring& imagePath, DWORD timeoutMs) {
  const std::wstring wanted = LongPath(imagePath);
  const size_t slash = imagePath.find_last_of(L'\\');
  const std::wstring fileName = slash == std::wstring::npos ? imagePath : imagePath.substr(slash + 1);
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  do {
    platform::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    if (snapshot && ::Process32FirstW(snapshot.Get(), &entry)) {
      do {
        if (::lstrcmpiW(entry.szExeFile, fileName.c_str()) != 0) continue;
        platform::UniqueHandle process(
            ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        if (!process) continue;
        wchar_t image[MAX_PATH * 2] = {};
        DWORD size = MAX_PATH * 2;
        if (::QueryFullProcessImageNameW(process.Get(), 0, image, &size) && ::lstrcmpiW(LongPath(image).c_str(), wanted.c_str()) == 0) {
          return RunningProcess(std::move(process), entry.th32ProcessID);
        }
      } while (::Process32NextW(snapshot.Get(), &entry));
    }
    ::Sleep(20);
  } while (::GetTickCount64() < deadline);
  return RunningProcess();
}

}  // namespace testsupport
