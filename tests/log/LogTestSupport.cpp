#include "LogTestSupport.h"

#include "log/LogManager.h"
#include "platform/MessageBox.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace logtest {

LogFileContent ReadLogFile(const std::wstring& path) {
  LogFileContent content;
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return content;
  content.exists = true;
  std::string bytes = testsupport::ReadFileBytes(path);
  size_t start = 0;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    content.hasBom = true;
    start = 2;
  }
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    content.text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  size_t from = 0;
  for (;;) {
    size_t end = content.text.find(L"\r\n", from);
    if (end == std::wstring::npos) break;
    content.lines.push_back(content.text.substr(from, end - from));
    from = end + 2;
  }
  if (from < content.text.size()) content.lines.push_back(content.text.substr(from));
  for (size_t i = 0; i < content.text.size(); ++i) {
    if (content.text[i] == L'\n' && (i == 0 || content.text[i - 1] != L'\r')) content.loneLineFeed = true;
  }
  return content;
}

std::vector<std::wstring> LinesContaining(const LogFileContent& content, const std::wstring& part) {
  std::vector<std::wstring> found;
  for (const std::wstring& line : content.lines) {
    if (line.find(part) != std::wstring::npos) found.push_back(line);
  }
  return found;
}

std::vector<std::wstring> FilesMatching(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(data.cFileName);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return names;
}

bool MakeFileOfSize(const std::wstring& path, long long size) {
  platform::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  // A setup log's first bytes: the byte-order mark and the banner's "=".
  if (!::WriteFile(file.Get(), "\xFF\xFE=\0", 4, &written, nullptr)) return false;
  LARGE_INTEGER end;
  end.QuadPart = size;
  return ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get());
}

void LogTest::SetUp() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  scratch_ = testsupport::MakeScratchFolder(std::wstring(name.begin(), name.end()));
  platform::SetMessageBoxHandler([this](HWND, const std::wstring& text, const std::wstring& caption, UINT flags) {
    boxes_.push_back({text, caption, flags});
    return IDOK;
  });
  ResetManager();
}

void LogTest::TearDown() {
  ResetManager();
  platform::SetMessageBoxHandler({});
  testsupport::RemoveFolder(scratch_);
}

int LogTest::OpenFileSink(const ILogFileDetails* details) {
  auto& manager = setuplog::CLogManager::GetInstance();
  manager.SetLogFileDetails(details);
  return manager.SetSinkType(setuplog::CLogManager::kSinkFile);
}

void LogTest::ResetManager() {
  auto& manager = setuplog::CLogManager::GetInstance();
  manager.CloseSink();
  if (manager.GetSinkType() != setuplog::CLogManager::kSinkNone) {
    (void)manager.SetSinkType(setuplog::CLogManager::kSinkNone);
  }
  manager.SetLogFileDetails(nullptr);
  manager.SetLevel(4);
  manager.SetBundleKey(L"");
  manager.SetOpenFailureTexts(L"", L"");
}

}  // namespace logtest
