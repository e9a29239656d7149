#include "platform/AdminOnlyFile.h"

#include <sddl.h>

namespace platform {

const wchar_t kAdminOnlyFileSddl[] = L"D:P(A;;FA;;;SY)(A;;FA;;;BA)";

UniqueFileHandle CreateAdminOnlyFile(const std::wstring& path) {
  PSECURITY_DESCRIPTOR raw = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdminOnlyFileSddl, SDDL_REVISION_1, &raw, nullptr)) {
    return UniqueFileHandle();
  }
  UniqueLocalMemory descriptor(raw);
  if (!::DeleteFileW(path.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND) return UniqueFileHandle();
  SECURITY_ATTRIBUTES attributes = {};
  attributes.nLength = sizeof(attributes);
  attributes.lpSecurityDescriptor = raw;
  attributes.bInheritHandle = FALSE;
  return UniqueFileHandle(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace platform
