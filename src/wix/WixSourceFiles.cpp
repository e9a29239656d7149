#include "wix/WixSourceFiles.h"

#include <windows.h>

#include <vector>

#include "log/Log.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"

namespace {

struct LibraryFile {
  const wchar_t* variable;
  const wchar_t* file;  // relative to the folder of the library's sources
};

// The preprocessor variables of the standard WiX UI library and the files it
// ships for them (checked against the library's Bitmaps folder).
constexpr LibraryFile kLibraryFiles[] = {
    {L"$(var.bannerBmp)", L"Bitmaps\\bannrbmp.bmp"},   {L"$(var.dialogBmp)", L"Bitmaps\\dlgbmp.bmp"},
    {L"$(var.exclamationIco)", L"Bitmaps\\exclamic.ico"}, {L"$(var.infoIco)", L"Bitmaps\\info.ico"},
    {L"$(var.newIco)", L"Bitmaps\\New.ico"},           {L"$(var.upIco)", L"Bitmaps\\Up.ico"},
    {L"$(var.licenseRtf)", L"License.rtf"},
};

// A license or picture of megabytes is an authoring mistake, not a text to show.
constexpr LONGLONG kMaxTextFileBytes = 16 * 1024 * 1024;

}  // namespace

std::wstring AbsoluteFolderOf(const std::wstring& path) {
  DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) {
    LogWarning(L"The path %s cannot be made absolute (error %lu).", path.c_str(), ::GetLastError());
    return {};
  }
  std::vector<wchar_t> buffer(needed + 1);
  DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) {
    LogWarning(L"The path %s cannot be made absolute (error %lu).", path.c_str(), ::GetLastError());
    return {};
  }
  std::wstring full(buffer.data(), length);
  const size_t slash = full.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : full.substr(0, slash + 1);
}

std::wstring ResolveLibraryFileVariables(const std::wstring& text, const std::wstring& sourcePath) {
  if (text.find(L"$(var.") == std::wstring::npos) return text;
  std::wstring result = text;
  std::wstring folder;
  for (const LibraryFile& entry : kLibraryFiles) {
    if (result.find(entry.variable) == std::wstring::npos) continue;
    if (folder.empty()) folder = AbsoluteFolderOf(sourcePath);
    if (folder.empty()) return result;
    (void)platform::ReplaceAll(result, entry.variable, folder + entry.file);
  }
  return result;
}

bool HoldsUnboundVariable(const std::wstring& path) {
  for (const wchar_t* opening : {L"$(", L"!("}) {
    const size_t at = path.find(opening);
    if (at != std::wstring::npos && path.find(L')', at) != std::wstring::npos) return true;
  }
  return false;
}

bool IsAbsoluteFilePath(const std::wstring& path) {
  return (path.size() > 2 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
         platform::StartsWith(path, L"\\\\");
}

bool ReadEightBitTextFile(const std::wstring& path, std::wstring& text) {
  text.clear();
  platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    LogWarning(L"The text file %s could not be opened (error %lu).", path.c_str(), ::GetLastError());
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxTextFileBytes) {
    LogWarning(L"The text file %s is not readable or larger than 16 MB.", path.c_str());
    return false;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!::ReadFile(file.Get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &read, nullptr) || read == 0) {
      LogWarning(L"The text file %s could not be read (error %lu).", path.c_str(), ::GetLastError());
      return false;
    }
    done += read;
  }
  text.reserve(bytes.size());
  for (char c : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return true;
}
