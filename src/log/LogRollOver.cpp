#include "log/LogRollOver.h"

#include <cerrno>
#include <cstdio>

#include "log/Log.h"
#include "log/LogText.h"
#include "platform/MessageBox.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"

namespace setuplog {

const wchar_t kRollOverMarker[] = L" *** rolling over to next log file ***\n";

namespace {

constexpr LONGLONG kPackageLogLimit = 10LL * 1024 * 1024;

// Package logs come in either encoding; the marker must match the file's.
bool StartsWithUtf16Bom(HANDLE file) {
  LARGE_INTEGER start = {};
  if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
  char head[2] = {};
  DWORD read = 0;
  return ::ReadFile(file, head, 2, &read, nullptr) && read == 2 && head[0] == kUtf16Bom[0] && head[1] == kUtf16Bom[1];
}

}  // namespace

std::wstring BuildRolledFileName(const std::wstring& path, const SYSTEMTIME& localTime) {
  size_t dot = path.find_last_of(L'.');
  std::wstring stem = dot == std::wstring::npos ? path : path.substr(0, dot);
  std::wstring extension = dot == std::wstring::npos ? std::wstring() : path.substr(dot + 1);
  std::wstring name = platform::Format(L"%s_%02d%02d%04d_%02d%02d%02d.%s", stem.c_str(), localTime.wDay,
                                       localTime.wMonth, localTime.wYear, localTime.wHour, localTime.wMinute,
                                       localTime.wSecond, extension.c_str());
  if (name.size() > MAX_PATH - 1) name.resize(MAX_PATH - 1);
  return name;
}

int RenameToRolledName(const std::wstring& path) {
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  std::wstring rolled = BuildRolledFileName(path, now);
  // The C library's rename, so the failure comes as its error number.
  if (::_wrename(path.c_str(), rolled.c_str()) == 0) return 0;
  int error = errno;
  platform::ShowMessageBox(nullptr, L"Unable to rename the log file.", L"Setup", MB_OK | MB_ICONWARNING);
  return error == 0 ? -1 : error;
}

std::wstring RenameFailureText(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
      return L"Unable to rename the log file.File access error";
    case EEXIST:
      return L"Unable to rename the log file.File already present";
    case EINVAL:
      return L"Unable to rename the log file.Invalid file name";
    default:
      return {};
  }
}

void RollOverFile(const std::wstring& path) {
  // An existing file only: a package log that is not there has nothing to roll.
  platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    LogInformation(L"Unable to open the file name %s. The file is not available", path.c_str());
    return;
  }
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= kPackageLogLimit) return;

  bool utf16 = StartsWithUtf16Bom(file.Get());
  LARGE_INTEGER zero = {};
  if (::SetFilePointerEx(file.Get(), zero, nullptr, FILE_END)) {
    (void)WriteAllBytes(file.Get(), utf16 ? EncodeUtf16Text(kRollOverMarker) : EncodeAnsiText(kRollOverMarker));
  }
  file.Reset();

  int error = RenameToRolledName(path);
  if (error != 0) {
    std::wstring text = RenameFailureText(error);
    if (!text.empty()) LogDebug(text);
  }
}

}  // namespace setuplog
