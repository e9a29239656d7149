#include "log/LogText.h"

#include "platform/StringUtil.h"

namespace setuplog {

const char kUtf16Bom[2] = {'\xFF', '\xFE'};

namespace {
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size() + 8);
  for (wchar_t c : text) {
    if (c == L'\n') result += L'\r';
    result += c;
  }
  return result;
}
}  // namespace

std::string EncodeUtf16Text(const std::wstring& text) {
  std::wstring lines = WithCrLf(text);
  std::string bytes;
  bytes.reserve(lines.size() * 2);
  for (wchar_t c : lines) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

std::string EncodeAnsiText(const std::wstring& text) { return platform::WideToAnsi(WithCrLf(text)); }

bool WriteAllBytes(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(bytes.size() - done);
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

std::wstring FormatDateBanner(const wchar_t* format, const SYSTEMTIME& time) {
  return platform::Format(format, time.wDay, time.wMonth, time.wYear, time.wHour, time.wMinute, time.wSecond);
}

}  // namespace setuplog
