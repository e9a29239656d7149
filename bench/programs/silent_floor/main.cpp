// The floor of a silent installation: a bare program that installs the
// bundle's Windows Installer packages one after the other in its one process
// straight through msi.dll (no user interface, the same properties Setup.exe
// passes) and starts each EXE product once with its command line — against
// "Setup.exe /si" of the same bundle. Both are started as programs and timed
// from their start to their end, several rounds in alternating order,
// everything removed between runs; prints the medians and their ratio
// (Setup.exe / floor). The same installations done inside this process (no
// program start, msi.dll already loaded) are printed too, for reference.
//
//   bench_silent_floor.exe <bundle folder> <msi count> <exe count> [rounds]
//   bench_silent_floor.exe /floor <bundle folder> <msi count> <exe count>
// The bundle folder holds Setup.exe and SetupData (bench/silent-floor
// assembles it): SetupData\Packages\HalvorskStudio.msi, Bench01..Bench<msi-1>
// and Exe1..Exe<exe count>.exe, an EXE product that appends one line to
// Logs\exe-runs.txt per run. "/floor" is the bare program itself.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "../BenchCommon.h"

namespace {

using bench::ExeRuns;
using bench::Median;
using bench::Seconds;

constexpr wchar_t kMainCode[] = L"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}";
// What the bundle's SilentConfig.xml gives the main package.
constexpr wchar_t kMainProperties[] = L"INSTALLDIR=\"C:\\BenchFloor\\Studio\\\"";

struct Package {
  std::wstring path;
  std::wstring code;
  std::wstring properties;
};

std::vector<Package> Packages(const std::wstring& bundle, int count) {
  std::vector<Package> packages = {{bundle + L"SetupData\\Packages\\HalvorskStudio.msi", kMainCode, kMainProperties}};
  for (int n = 1; n < count; ++n) {
    packages.push_back({platform::Format(L"%sSetupData\\Packages\\Bench%02d.msi", bundle.c_str(), n),
                        platform::Format(L"{6B1D0C3A-2000-4000-8000-0000000000B%X}", n), L""});
  }
  return packages;
}

std::wstring ExeCommand(const std::wstring& bundle, int n) {
  return platform::Format(L"\"%sSetupData\\Packages\\Exe%d.exe\" /marker:%sLogs\\exe-runs.txt /name:Exe%d /exit:0",
                          bundle.c_str(), n, bundle.c_str(), n);
}

void RemoveAll(const std::vector<Package>& packages) {
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
  if (!::CreateProcessW(program.empty() ? nullptr : program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
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

bool RunFloor(const std::wstring& bundle, const std::vector<Package>& packages, int exeCount) {
  for (const Package& package : packages) {
    const UINT result = MsiInstallProductStub(package.path.c_str(), package.properties.c_str());
    if (result != ERROR_SUCCESS) {
      std::fwprintf(stderr, L"installing %ls gave %u\n", package.path.c_str(), result);
      return false;
    }
  }
  for (int n = 1; n <= exeCount; ++n) {
    if (!RunProcess(L"", ExeCommand(bundle, n), bundle)) {
      std::fwprintf(stderr, L"the EXE product %d did not end well\n", n);
      return false;
    }
  }
  return true;
}

bool RunFloorProgram(const std::wstring& bundle, int msiCount, int exeCount) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  // Without its trailing backslash, which would escape the closing quote.
  const std::wstring folder = bundle.substr(0, bundle.size() - 1);
  return RunProcess(self, platform::Format(L"\"%s\" /floor \"%s\" %d %d", self, folder.c_str(), msiCount, exeCount),
                    bundle);
}

// The bare program: what it must do and nothing more.
int FloorMain(std::wstring bundle, int msiCount, int exeCount) {
  if (bundle.back() != L'\\') bundle += L'\\';
  LoadMsiLibrary();
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  return RunFloor(bundle, Packages(bundle, msiCount), exeCount) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 5 && std::wstring(argv[1]) == L"/floor") return FloorMain(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
  if (argc < 4) {
    std::fwprintf(stderr, L"usage: bench_silent_floor <bundle folder> <msi count> <exe count> [rounds]\n");
    return 2;
  }
  std::wstring bundle = argv[1];
  if (bundle.back() != L'\\') bundle += L'\\';
  const int msiCount = _wtoi(argv[2]);
  const int exeCount = _wtoi(argv[3]);
  const int rounds = argc > 4 ? _wtoi(argv[4]) : 11;
  if (msiCount < 1 || msiCount > 10 || exeCount < 0 || rounds < 1) {
    std::fwprintf(stderr, L"msi count must be 1..10, exe count at least 0 and rounds at least 1\n");
    return 2;
  }
  LoadMsiLibrary();
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  const std::vector<Package> packages = Packages(bundle, msiCount);

  RemoveAll(packages);
  enum Kind { kSetup, kFloor, kInProcess };
  const wchar_t* const names[] = {L"Setup.exe /si", L"floor", L"in-process"};
  std::vector<double> times[3];
  for (int round = 0; round < rounds; ++round) {
    // Alternate which one goes first, so neither always meets a warmer system.
    const Kind order[2][3] = {{kSetup, kFloor, kInProcess}, {kFloor, kSetup, kInProcess}};
    for (Kind kind : order[round % 2]) {
      const int runsBefore = ExeRuns(bundle);
      LARGE_INTEGER start, end;
      ::QueryPerformanceCounter(&start);
      const bool ok = kind == kSetup   ? RunSetup(bundle)
                      : kind == kFloor ? RunFloorProgram(bundle, msiCount, exeCount)
                                       : RunFloor(bundle, packages, exeCount);
      ::QueryPerformanceCounter(&end);
      const bool installed = AllInstalled(packages);
      const int exeRuns = ExeRuns(bundle) - runsBefore;
      if (!ok || !installed || exeRuns != exeCount) {
        // After the rounds already printed, so the failure shows where it happened.
        std::fflush(stdout);
        std::fwprintf(stderr, L"%ls run failed in round %d: %ls, packages %ls, %d of %d EXE products ran\n",
                      names[kind], round + 1, ok ? L"ended well" : L"reported a failure",
                      installed ? L"all installed" : L"not all installed", exeRuns, exeCount);
        RemoveAll(packages);
        return 1;
      }
      const double seconds = Seconds(start, end);
      times[kind].push_back(seconds);
      std::wprintf(L"round %d %-13ls %d MSI + %d EXE products: %.3f s\n", round + 1, names[kind], msiCount, exeCount,
                   seconds);
      RemoveAll(packages);
    }
  }
  const double setup = Median(times[kSetup]);
  const double floor = Median(times[kFloor]);
  std::wprintf(L"in this process (no program start) median: %.3f s\n", Median(times[kInProcess]));
  std::wprintf(L"Setup.exe /si median: %.3f s\nfloor program median: %.3f s\n", setup, floor);
  std::wprintf(L"ratio: %.3f\n", setup / floor);
  return 0;
}
