// Installs a bundle of N products with "Setup.exe /si" and the same packages
// one after the other with "msiexec /i <package> /qn", several rounds in
// alternating order, removing everything between runs, and prints both times
// and their ratio (Setup.exe / msiexec).
//
//   bench_silent_overhead.exe <bundle folder> [N] [rounds]
// The bundle folder holds Setup.exe and SetupData (bench/silent-overhead
// assembles it): SetupData\Packages\HalvorskStudio.msi and Bench01..Bench<N-1>.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"

namespace {

struct Package {
  std::wstring path;
  std::wstring code;
};

std::vector<Package> Packages(const std::wstring& bundle, int count) {
  std::vector<Package> packages = {
      {bundle + L"SetupData\\Packages\\HalvorskStudio.msi", L"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}"}};
  for (int n = 1; n < count; ++n) {
    packages.push_back({platform::Format(L"%sSetupData\\Packages\\Bench%02d.msi", bundle.c_str(), n),
                        platform::Format(L"{6B1D0C3A-2000-4000-8000-0000000000B%X}", n)});
  }
  return packages;
}

void RemoveAll(const std::vector<Package>& packages) {
  MsiSetExternalUIStub(nullptr, 0, nullptr);
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  for (const Package& package : packages) {
    (void)MsiConfigureProductExStub(package.code.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"");
  }
}

bool AllInstalled(const std::vector<Package>& packages) {
  for (const Package& package : packages) {
    wchar_t buffer[256] = {};
    DWORD size = 256;
    if (MsiGetProductInfoStub(package.code.c_str(), INSTALLPROPERTY_INSTALLEDPRODUCTNAME, buffer, &size) != 0) {
      return false;
    }
  }
  return true;
}

bool RunProcess(const std::wstring& program, std::wstring commandLine, const std::wstring& folder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return false;
  }
  platform::UniqueHandle process(info.hProcess);
  platform::UniqueHandle thread(info.hThread);
  ::WaitForSingleObject(process.Get(), INFINITE);
  DWORD code = 1;
  ::GetExitCodeProcess(process.Get(), &code);
  return code == 0;
}

bool RunSetup(const std::wstring& bundle) {
  const std::wstring setup = bundle + L"Setup.exe";
  return RunProcess(setup, L"\"" + setup + L"\" /si", bundle);
}

bool RunMsiexec(const std::vector<Package>& packages) {
  const std::wstring msiexec = platform::SystemFilePath(L"msiexec.exe");
  for (const Package& package : packages) {
    if (!RunProcess(msiexec, L"\"" + msiexec + L"\" /i \"" + package.path + L"\" /qn", L"")) return false;
  }
  return true;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: bench_silent_overhead <bundle folder> [N] [rounds]\n");
    return 2;
  }
  std::wstring bundle = argv[1];
  if (bundle.back() != L'\\') bundle += L'\\';
  const int count = argc > 2 ? _wtoi(argv[2]) : 10;
  const int rounds = argc > 3 ? _wtoi(argv[3]) : 3;
  if (count < 1 || count > 10 || rounds < 1) {
    std::fwprintf(stderr, L"N must be 1..10 and rounds at least 1\n");
    return 2;
  }
  LoadMsiLibrary();
  const std::vector<Package> packages = Packages(bundle, count);

  RemoveAll(packages);
  double setupTotal = 0;
  double msiexecTotal = 0;
  for (int round = 0; round < rounds; ++round) {
    for (int pass = 0; pass < 2; ++pass) {
      // Alternate which one goes first, so neither always meets a warmer system.
      const bool setupTurn = (round % 2 == 0) == (pass == 0);
      LARGE_INTEGER start, end;
      ::QueryPerformanceCounter(&start);
      const bool ok = setupTurn ? RunSetup(bundle) : RunMsiexec(packages);
      ::QueryPerformanceCounter(&end);
      if (!ok || !AllInstalled(packages)) {
        std::fwprintf(stderr, L"%ls run failed in round %d\n", setupTurn ? L"Setup.exe /si" : L"msiexec", round + 1);
        RemoveAll(packages);
        return 1;
      }
      const double seconds = Seconds(start, end);
      (setupTurn ? setupTotal : msiexecTotal) += seconds;
      std::wprintf(L"round %d %-13ls %d products: %.3f s\n", round + 1, setupTurn ? L"Setup.exe /si" : L"msiexec",
                   count, seconds);
      RemoveAll(packages);
    }
  }
  std::wprintf(L"Setup.exe /si total: %.3f s\nmsiexec total:       %.3f s\n", setupTotal, msiexecTotal);
  std::wprintf(L"ratio: %.3f\n", setupTotal / msiexecTotal);
  return 0;
}
