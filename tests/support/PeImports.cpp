#include "support/PeImports.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace testsupport {

namespace {

template <typename T>
bool ReadAt(const std::string& bytes, size_t offset, T& value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

// Maps a relative virtual address to its offset in the file through the section table.
bool RvaToOffset(const std::string& bytes, size_t sectionTable, WORD sectionCount, DWORD rva, size_t& offset) {
  for (WORD i = 0; i < sectionCount; ++i) {
    IMAGE_SECTION_HEADER section;
    if (!ReadAt(bytes, sectionTable + i * sizeof(IMAGE_SECTION_HEADER), section)) return false;
    const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
    if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
      offset = static_cast<size_t>(rva - section.VirtualAddress) + section.PointerToRawData;
      return offset < bytes.size();
    }
  }
  return false;
}

bool ReadName(const std::string& bytes, size_t offset, std::string& name) {
  if (offset >= bytes.size()) return false;
  const size_t end = bytes.find('\0', offset);
  if (end == std::string::npos) return false;
  name = bytes.substr(offset, end - offset);
  return !name.empty();
}

struct Layout {
  size_t sectionTable = 0;
  WORD sectionCount = 0;
};

// Walks an array of descriptors of type T (ending with an all-zero one) and
// collects the DLL name each points to through `nameRva`.
template <typename T>
bool ReadNames(const std::string& bytes, const Layout& layout, DWORD tableRva, DWORD T::*nameRva,
               std::vector<std::string>& names) {
  if (tableRva == 0) return true;
  size_t offset = 0;
  if (!RvaToOffset(bytes, layout.sectionTable, layout.sectionCount, tableRva, offset)) return false;
  for (;; offset += sizeof(T)) {
    T descriptor;
    if (!ReadAt(bytes, offset, descriptor)) return false;
    if (descriptor.*nameRva == 0) return true;
    size_t nameOffset = 0;
    std::string name;
    if (!RvaToOffset(bytes, layout.sectionTable, layout.sectionCount, descriptor.*nameRva, nameOffset) ||
        !ReadName(bytes, nameOffset, name)) {
      return false;
    }
    names.push_back(name);
  }
}

}  // namespace

PeImports ReadPeImports(const std::string& bytes) {
  PeImports result;
  IMAGE_DOS_HEADER dos;
  if (!ReadAt(bytes, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew <= 0) return result;
  const size_t ntOffset = static_cast<size_t>(dos.e_lfanew);
  DWORD signature = 0;
  IMAGE_FILE_HEADER file;
  WORD magic = 0;
  if (!ReadAt(bytes, ntOffset, signature) || signature != IMAGE_NT_SIGNATURE ||
      !ReadAt(bytes, ntOffset + sizeof(DWORD), file)) {
    return result;
  }
  const size_t optionalOffset = ntOffset + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
  if (!ReadAt(bytes, optionalOffset, magic)) return result;

  IMAGE_DATA_DIRECTORY imports = {};
  IMAGE_DATA_DIRECTORY delayImports = {};
  DWORD directoryCount = 0;
  if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    IMAGE_OPTIONAL_HEADER64 optional;
    if (!ReadAt(bytes, optionalOffset, optional)) return result;
    result.is64Bit = true;
    directoryCount = optional.NumberOfRvaAndSizes;
    imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    delayImports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
  } else if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    IMAGE_OPTIONAL_HEADER32 optional;
    if (!ReadAt(bytes, optionalOffset, optional)) return result;
    directoryCount = optional.NumberOfRvaAndSizes;
    imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    delayImports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
  } else {
    return result;
  }
  if (directoryCount <= IMAGE_DIRECTORY_ENTRY_IMPORT) imports = {};
  if (directoryCount <= IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT) delayImports = {};

  Layout layout;
  layout.sectionTable = optionalOffset + file.SizeOfOptionalHeader;
  layout.sectionCount = file.NumberOfSections;
  result.valid =
      ReadNames(bytes, layout, imports.VirtualAddress, &IMAGE_IMPORT_DESCRIPTOR::Name, result.dlls) &&
      ReadNames(bytes, layout, delayImports.VirtualAddress, &IMAGE_DELAYLOAD_DESCRIPTOR::DllNameRVA,
                result.delayLoaded);
  return result;
}

const std::vector<std::string>& KnownDllNames() {
  // The KnownDLLs key lists of Windows Vista, 7, 8.1, 10 and 11 all hold these
  // (later versions add more, Vista and 7 hold a few that later ones dropped).
  static const std::vector<std::string> names = {
      "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "gdi32.dll",    "imagehlp.dll", "imm32.dll",
      "kernel32.dll", "msctf.dll",   "msvcrt.dll",   "normaliz.dll", "nsi.dll",      "ole32.dll",
      "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",   "setupapi.dll", "shell32.dll",  "shlwapi.dll",
      "user32.dll",   "wldap32.dll", "ws2_32.dll",   "ntdll.dll"};
  return names;
}

}  // namespace testsupport
