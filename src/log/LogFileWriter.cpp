#include "log/LogFileWriter.h"

#include <windows.h>

#include <utility>

#include "log/Log.h"
#include "log/LogRollOver.h"
#include "log/LogText.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"
#include "platform/StringUtil.h"

namespace setuplog {

const wchar_t CLogFileWriter::kMutexName[] = L"Global\\BootstrapperLogging__";

namespace {

constexpr long long kMegabyte = 1048576;
// Deliberate text (the double blanks in both banners): kept as written.
const wchar_t kStartBanner[] = L"===== logging started: %02d/%02d/%04d  %02d:%02d:%02d  ======\n";
const wchar_t kStopBanner[] = L"===== logging stopped: %02d/%02d/%04d  %02d:%02d:%02d  ======\n";

bool IsDirectory(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates every missing folder of the file's path, from the root down.
// Failures are left to the file open, which reports them with its own error.
void CreateFolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return;
  std::wstring folder = path.substr(0, slash + 1);
  if (IsDirectory(folder)) return;
  std::wstring current;
  bool first = true;
  for (const std::wstring& part : platform::Split(path.substr(0, slash), L"\\")) {
    if (!first) current += L'\\';
    first = false;
    current += part;
    if (part.empty() || (current.size() == 2 && current[1] == L':')) continue;
    if (IsDirectory(current)) continue;
    if (::CreateDirectoryW(current.c_str(), nullptr)) ::SetFileAttributesW(current.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

bool GetFileId(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) { return ::GetFileInformationByHandle(file, &info) != 0; }

}  // namespace

CLogFileWriter::CLogFileWriter(std::wstring path, int mode, int maxLengthOfFile, OpenFailureTexts failureTexts)
    : path_(std::move(path)),
      mode_(mode),
      maxSize_((maxLengthOfFile <= 0 ? 10 : maxLengthOfFile) * kMegabyte),
      failureTexts_(std::move(failureTexts)) {}

CLogFileWriter::~CLogFileWriter() {
  if (!holder_) return;
  {
    CLogMutexHolder::Scope lock(*holder_);
    if (file_) {
      SYSTEMTIME now = {};
      ::GetLocalTime(&now);
      (void)WriteText(FormatDateBanner(kStopBanner, now), lock.Holding());
      file_.Reset();
    }
  }
  holder_.reset();
}

bool CLogFileWriter::IsUsableLogPath(const std::wstring& path) {
  const bool local = path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
  const bool share = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
  if (!local && !share) return false;
  // A device name stays a device in any folder ("C:\\Logs\\NUL.log" is NUL).
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  name = platform::ToUpper(platform::Trim(name.substr(0, name.find(L'.'))));
  static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* device : kDevices) {
    if (name == device) return false;
  }
  if (name.size() == 4 && (name.compare(0, 3, L"COM") == 0 || name.compare(0, 3, L"LPT") == 0) && name[3] >= L'0' &&
      name[3] <= L'9') {
    return false;
  }
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  unsigned char start[4] = {};
  DWORD read = 0;
  if (!::ReadFile(file.Get(), start, sizeof start, &read, nullptr)) return false;
  if (read == 0) return true;
  return read == sizeof start && start[0] == 0xFF && start[1] == 0xFE && (start[2] == '=' || start[2] == '[') &&
         start[3] == 0;
}

int CLogFileWriter::Open() {
  if (!mutex_) {
    mutex_.Reset(::OpenMutexW(SYNCHRONIZE, FALSE, kMutexName));
    if (!mutex_) mutex_.Reset(::CreateMutexW(nullptr, FALSE, kMutexName));
  }
  // Without a mutex (it could be neither opened nor created) lines are still
  // written, only unserialised.
  if (!holder_) holder_ = std::make_unique<CLogMutexHolder>(mutex_.Get());
  // Held from folder creation to the banner so an overwriting open never cuts
  // into a line that another process is writing.
  CLogMutexHolder::Scope lock(*holder_);
  if (!IsUsableLogPath(path_)) {
    const std::wstring temp = platform::TempFolder();
    if (!temp.empty()) {
      refusedPath_ = path_;
      const std::wstring folder = temp + (temp.back() == L'\\' ? L"" : L"\\");
      path_ = folder + L"Setup.log";
      // Other installers write a "Setup.log" there too: theirs is left alone.
      if (!IsUsableLogPath(path_)) path_ = folder + platform::Format(L"Setup_%lu.log", ::GetCurrentProcessId());
    }
  }
  CreateFolderOf(path_);
  if (mode_ != 0 && mode_ != 1) mode_ = 1;
  if (!file_ && !OpenFile()) {
    ShowOpenFailure(::GetLastError());
    return 0;
  }
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  (void)WriteText(FormatDateBanner(kStartBanner, now), lock.Holding());
  if (!refusedPath_.empty()) {
    (void)WriteText(platform::Format(
        L"[%02d:%02d:%02d:%03d]:\t WARNING:\tThe log file %s is not a setup log or not a usable file path; it is "
        L"left as it is and the log is written to %s.\n",
        now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, refusedPath_.c_str(), path_.c_str()),
        lock.Holding());
  }
  return 1;
}

bool CLogFileWriter::OpenFile() {
  // Shared for writing and deleting, unlike a deny-write stream: a nested
  // child setup must be able to open the same log while its parent holds it,
  // and a roll-over must be able to rename it. Whole lines are kept by writing
  // each one at the end of the file under the global mutex.
  DWORD disposition = mode_ == 1 ? CREATE_ALWAYS : OPEN_ALWAYS;
  file_.Reset(::CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  endKnownIn_ = 0;
  return file_.IsValid();
}

void CLogFileWriter::ShowOpenFailure(unsigned long error) const {
  std::wstring message = failureTexts_.errorMsg1 + L"\n";
  if (error != 0) message += platform::SystemErrorText(error);
  message += L"\n" + failureTexts_.errorMsg2;
  platform::ShowMessageBox(nullptr, message, L"Setup", MB_OK | MB_ICONERROR);
}

bool CLogFileWriter::WriteText(const std::wstring& text, unsigned long long holding) {
  std::string bytes = EncodeUtf16Text(text);
  // Within one holding of the mutex no other process writes: after our own
  // line the handle still stands at the end, and the file is not empty. Going
  // to the end costs a trip to the kernel per line, as much as the writing.
  if (holding == 0 || holding != endKnownIn_) {
    LARGE_INTEGER zero = {};
    LARGE_INTEGER end = {};
    if (!::SetFilePointerEx(file_.Get(), zero, &end, FILE_END)) {
      endKnownIn_ = 0;
      return false;
    }
    if (end.QuadPart == 0) bytes.insert(0, kUtf16Bom, sizeof kUtf16Bom);
  }
  const bool written = WriteAllBytes(file_.Get(), bytes);
  endKnownIn_ = written ? holding : 0;
  return written;
}

void CLogFileWriter::WriteLine(const std::wstring& text) {
  if (!holder_) return;
  CLogMutexHolder::Scope lock(*holder_);
  if (!file_) return;
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  (void)WriteText(platform::Format(L"[%02d:%02d:%02d:%03d]:\t %s\n", now.wHour, now.wMinute, now.wSecond,
                                   now.wMilliseconds, text.c_str()),
                  lock.Holding());
  if (++linesSinceCheck_ > kCheckInterval) {
    linesSinceCheck_ = 0;
    CheckRollOver();
  }
}

// Another process may have rolled the file over since this one opened it;
// the handle then names the renamed file, which must not be rolled again.
bool CLogFileWriter::HandleStillNamesPath() const {
  platform::UniqueFileHandle current(::CreateFileW(path_.c_str(), 0,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION ours = {};
  BY_HANDLE_FILE_INFORMATION named = {};
  if (!current) return false;
  if (!GetFileId(file_.Get(), ours) || !GetFileId(current.Get(), named)) return true;
  return ours.dwVolumeSerialNumber == named.dwVolumeSerialNumber && ours.nFileIndexHigh == named.nFileIndexHigh &&
         ours.nFileIndexLow == named.nFileIndexLow;
}

void CLogFileWriter::CheckRollOver() {
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file_.Get(), &size) || size.QuadPart <= maxSize_) return;

  int renameError = 0;
  if (HandleStillNamesPath()) {
    // Rare enough to go to the end the long way.
    (void)WriteText(kRollOverMarker, 0);
    file_.Reset();
    renameError = RenameToRolledName(path_);
  } else {
    file_.Reset();
  }
  if (!OpenFile()) ShowOpenFailure(::GetLastError());

  // Logged once the file is open again, so the line lands in the log instead
  // of being dropped while no file is open.
  std::wstring failure = RenameFailureText(renameError);
  if (!failure.empty()) LogDebug(failure);
}

}  // namespace setuplog
