#include "app/SystemDetails.h"

#include <lmcons.h>

#include "log/Log.h"
#include "platform/ProcAddress.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"

namespace {

std::wstring LocaleName(LCID locale) {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  if (::GetLocaleInfoW(locale, LOCALE_SNAME, name, LOCALE_NAME_MAX_LENGTH) == 0) return {};
  return name;
}

}  // namespace

std::wstring GetOperatingSystemName(DWORD majorVersion, DWORD minorVersion, bool workstation) {
  if (majorVersion == 10) return workstation ? L"Windows 10" : L"Windows 10 Server";
  if (majorVersion == 6) {
    switch (minorVersion) {
      case 3: return workstation ? L"Windows 8.1" : L"Windows Server 2012 R2";
      case 2: return workstation ? L"Windows 8" : L"Windows Server 2012";
      case 1: return workstation ? L"Windows 7" : L"Windows Server 2008 R2";
      case 0: return workstation ? L"Windows Vista" : L"Windows Server 2008";
      default: break;
    }
  }
  // Deliberate text ("UnKnown"): kept as written.
  return L"UnKnown OS";
}

std::wstring GetEditionName(DWORD productType) {
  switch (productType) {
    case 1: return L"Ultimate Edition";
    case 2: return L"Home Basic";
    case 3: return L"Home Premium";
    case 4: return L"Enterprise";
    case 6: return L"Business";
    case 7: return L"Standard Server";
    case 8: return L"Datacenter";
    case 10: return L"Enterprise Server";
    case 11: return L"Starter";
    case 12: return L"Datacenter Core";
    case 17: return L"Web Server";
    case 18: return L"Cluster Server";
    case 48: return L"Professional";
    default: return {};
  }
}

SystemDetails CollectSystemDetails() {
  SystemDetails details;
  wchar_t user[UNLEN + 1] = {};
  DWORD userLength = UNLEN + 1;
  if (::GetUserNameW(user, &userLength)) details.userName = user;
  details.systemLanguage = ::GetSystemDefaultLangID();
  details.userLanguage = ::GetUserDefaultLangID();
  details.systemLocaleName = LocaleName(LOCALE_SYSTEM_DEFAULT);
  details.userLocaleName = LocaleName(LOCALE_USER_DEFAULT);

  platform::UniqueModule kernel = platform::LoadSystemLibrary(L"kernel32.dll");
  SYSTEM_INFO system = {};
  using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
  if (auto getNative = platform::GetProc<GetNativeSystemInfoFn>(kernel.Get(), "GetNativeSystemInfo")) {
    getNative(&system);
  } else {
    ::GetSystemInfo(&system);
  }
  details.is64Bit = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                    system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;

  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
    details.majorVersion = version.dwMajorVersion;
    details.minorVersion = version.dwMinorVersion;
    details.workstation = version.wProductType == VER_NT_WORKSTATION;
    details.servicePack = version.szCSDVersion;
    using GetProductInfoFn = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);
    if (auto getProductInfo = platform::GetProc<GetProductInfoFn>(kernel.Get(), "GetProductInfo")) {
      DWORD productType = 0;
      if (getProductInfo(version.dwMajorVersion, version.dwMinorVersion, version.wServicePackMajor,
                         version.wServicePackMinor, &productType)) {
        details.productType = productType;
      }
    }
  }
  return details;
}

std::wstring FormatSystemDetails(const SystemDetails& details) {
  const std::wstring separator = L"\n" + std::wstring(103, L'=') + L"\n";
  // Deliberate text (its blanks and tabs): kept as written.
  std::wstring block = platform::Format(
      L"\t\tSystem Details...\n\t\t\t\tMajor Version  : %d\n\t\t\t\tMinor Version  : %d\n\t\t\t\tOS             : %s "
      L"%s %s\n\t\t\t\tArchitecture   : %s\n\t\t\t\tSystem locale  : %s (%d) - Default\n\t\t\t\tUser locale    : %s "
      L"(%d)\n\t\t\t\tUser           : %s",
      static_cast<int>(details.majorVersion), static_cast<int>(details.minorVersion),
      GetOperatingSystemName(details.majorVersion, details.minorVersion, details.workstation).c_str(),
      GetEditionName(details.productType).c_str(), details.servicePack.c_str(),
      details.is64Bit ? L"64-bit" : L"32-bit", details.systemLocaleName.c_str(),
      static_cast<int>(details.systemLanguage), details.userLocaleName.c_str(), static_cast<int>(details.userLanguage),
      details.userName.c_str());
  return separator + block + separator;
}

void LogSystemDetails() { LogInformation(FormatSystemDetails(CollectSystemDetails())); }
