// Time from process start to the first visible wizard page of Setup.exe
// (started without options on a bundle whose wizard is a standard WiX UI
// dialog set), against bench_minimal_dialog.exe showing one dialog with as
// many controls as that page has, measured the same way: from CreateProcess
// to the window being visible, found by polling. The two alternate, several
// rounds; prints the medians of both, the working set of each at that moment
// and ends with "ratio: <wizard / minimal>".
//
//   bench_wizard_start.exe [set] [rounds] [timeout seconds]
// The set is one of the WiX UI sets (default InstallDir); the bundle is laid
// out beside the build's bin folder and removed at the end.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "xml/Parser.h"
#include "xml/XmlNode.h"
#include "platform/ProcAddress.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"
#include "support/WixSetBundle.h"

namespace {

constexpr DWORD kPollMs = 2;

struct Measurement {
  bool shown = false;
  double seconds = 0;
  SIZE_T workingSet = 0;
  std::wstring failure;  // why the window never became visible
};

std::wstring ClassOf(HWND window) {
  wchar_t buffer[64] = {};
  const int length = ::GetClassNameW(window, buffer, 64);
  return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring AtomProperty(HWND window, const wchar_t* property) {
  const ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::GetPropW(window, property)));
  if (atom == 0) return {};
  wchar_t buffer[256] = {};
  const UINT length = ::GlobalGetAtomNameW(atom, buffer, 256);
  return std::wstring(buffer, length);
}

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->windows.push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  WindowSearch search{processId, {}};
  ::EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

// The wizard's page: a visible child dialog of a top-level dialog, carrying
// the WiX dialog id as the "SetupDialogId" atom.
HWND FindWizardPage(DWORD processId, const std::wstring& dialogId) {
  for (HWND top : TopLevelWindowsOf(processId)) {
    if (ClassOf(top) != L"#32770") continue;
    HWND page = nullptr;
    while ((page = ::FindWindowExW(top, page, L"#32770", nullptr)) != nullptr) {
      if (::IsWindowVisible(page) && AtomProperty(page, L"SetupDialogId") == dialogId) return page;
    }
  }
  return nullptr;
}

// The minimal program's dialog, visible and with all its controls.
HWND FindMinimalDialog(DWORD processId, int controls) {
  for (HWND top : TopLevelWindowsOf(processId)) {
    if (ClassOf(top) != L"#32770" || !::IsWindowVisible(top)) continue;
    int children = 0;
    for (HWND child = ::GetWindow(top, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
      ++children;
    }
    if (children == controls) return top;
  }
  return nullptr;
}

SIZE_T WorkingSet(HANDLE process) {
  using GetMemoryInfo = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
  static const GetMemoryInfo getInfo =
      platform::GetProc<GetMemoryInfo>(::GetModuleHandleW(L"kernel32.dll"), "K32GetProcessMemoryInfo");
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (getInfo == nullptr || !getInfo(process, &counters, sizeof(counters))) return 0;
  return counters.WorkingSetSize;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Starts the program, polls until `find` sees its window, then cancels it
// (and ends it when it does not go).
Measurement Measure(const std::wstring& program, std::wstring commandLine, const std::wstring& folder,
                    const std::function<HWND(DWORD)>& find, DWORD timeoutMs) {
  Measurement result;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    result.failure = platform::Format(L"%s could not be started (error %lu)", program.c_str(), ::GetLastError());
    return result;
  }
  platform::UniqueHandle process(info.hProcess);
  platform::UniqueHandle thread(info.hThread);
  HWND window = nullptr;
  for (;;) {
    window = find(info.dwProcessId);
    ::QueryPerformanceCounter(&end);
    if (window != nullptr) break;
    if (::WaitForSingleObject(process.Get(), kPollMs) == WAIT_OBJECT_0) {
      DWORD code = 0;
      ::GetExitCodeProcess(process.Get(), &code);
      result.failure = platform::Format(L"ended with exit code %lu after %.2f s without showing it", code,
                                        Seconds(start, end));
      return result;
    }
    if (Seconds(start, end) * 1000 > timeoutMs) {
      result.failure = platform::Format(L"did not show it within %lu s", timeoutMs / 1000);
      break;
    }
  }
  if (window != nullptr) {
    result.shown = true;
    result.seconds = Seconds(start, end);
    result.workingSet = WorkingSet(process.Get());
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  // A wizard answers Cancel with its confirmation: nobody answers it here.
  if (::WaitForSingleObject(process.Get(), window != nullptr ? 2000 : 0) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.Get(), 1);
    ::WaitForSingleObject(process.Get(), 5000);
  }
  return result;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Controls of the page in the set's WiX source: the minimal program shows as many.
int ControlCount(const std::wstring& dialogId) {
  CXmlNode root;
  std::wstring error;
  if (!CParser::LoadXmlFile(testsupport::WixUiLibraryFolder() + dialogId + L".wxs", root, error)) return 0;
  int count = 0;
  if (auto dialogs = root.SelectNodes(L"Fragment/UI/Dialog")) {
    for (const CXmlNode& dialog : *dialogs) {
      if (dialog.GetAttribute(L"Id") != dialogId) continue;
      if (auto controls = dialog.SelectNodes(L"Control")) count = static_cast<int>(controls->size());
    }
  }
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::string setName = argc > 1 ? platform::WideToUtf8(argv[1]) : "InstallDir";
  const int rounds = argc > 2 ? _wtoi(argv[2]) : 5;
  const DWORD timeoutMs = static_cast<DWORD>(argc > 3 ? _wtoi(argv[3]) : 60) * 1000;
  const testsupport::WixUiSet* set = nullptr;
  for (const testsupport::WixUiSet& candidate : testsupport::WixUiSets()) {
    if (setName == candidate.name) set = &candidate;
  }
  if (set == nullptr || rounds < 1 || timeoutMs == 0) {
    std::fwprintf(stderr, L"usage: bench_wizard_start [Minimal|InstallDir|FeatureTree|Mondo|Advanced] [rounds] "
                          L"[timeout seconds]\n");
    return 2;
  }
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) {
    std::fwprintf(stderr, L"wizard-start: %ls\n", missing.c_str());
    return 2;
  }
  platform::ComInitializer com;
  const int controls = ControlCount(set->firstDialog);
  testsupport::WixSetBundle bundle(*set, L"bench_wizard_start");
  if (!bundle.Problem().empty() || controls == 0) {
    std::fwprintf(stderr, L"wizard-start: %ls\n",
                  controls == 0 ? L"the first page's WiX source has no controls" : bundle.Problem().c_str());
    return 2;
  }
  const std::wstring minimal = testsupport::BinFolder() + L"bench_minimal_dialog.exe";
  const std::wstring firstDialog = set->firstDialog;
  std::wprintf(L"WixUI_%hs bundle, first page %ls (%d controls); %d rounds\n", set->name, firstDialog.c_str(),
               controls, rounds);

  std::vector<double> wizardTimes, minimalTimes, wizardSets, minimalSets;
  std::wstring wizardFailure;
  for (int round = 0; round < rounds; ++round) {
    for (int pass = 0; pass < 2; ++pass) {
      // Alternate which one goes first, so neither always meets a warmer system.
      const bool wizardTurn = (round % 2 == 0) == (pass == 0);
      if (wizardTurn && !wizardFailure.empty()) continue;
      const Measurement m =
          wizardTurn
              ? Measure(bundle.SetupExe(), L"\"" + bundle.SetupExe() + L"\"", bundle.Folder(),
                        [&firstDialog](DWORD id) { return FindWizardPage(id, firstDialog); }, timeoutMs)
              : Measure(minimal, L"\"" + minimal + L"\" " + std::to_wstring(controls), L"",
                        [controls](DWORD id) { return FindMinimalDialog(id, controls); }, timeoutMs);
      if (!m.shown) {
        if (!wizardTurn) {
          std::fflush(stdout);
          std::fwprintf(stderr, L"wizard-start: bench_minimal_dialog.exe %ls\n", m.failure.c_str());
          return 1;
        }
        wizardFailure = m.failure;
        std::wprintf(L"round %d %-8ls page %ls never became visible: Setup.exe %ls\n", round + 1, L"wizard",
                     firstDialog.c_str(), m.failure.c_str());
        continue;
      }
      (wizardTurn ? wizardTimes : minimalTimes).push_back(m.seconds);
      (wizardTurn ? wizardSets : minimalSets).push_back(static_cast<double>(m.workingSet) / (1024.0 * 1024.0));
      std::wprintf(L"round %d %-8ls %.3f s, working set %.1f MB\n", round + 1, wizardTurn ? L"wizard" : L"minimal",
                   m.seconds, static_cast<double>(m.workingSet) / (1024.0 * 1024.0));
    }
  }
  std::wprintf(L"minimal dialog: median %.3f s, working set %.1f MB\n", Median(minimalTimes), Median(minimalSets));
  if (!wizardFailure.empty()) {
    std::wprintf(L"wizard: no time: the page %ls never became visible (Setup.exe %ls)\n", firstDialog.c_str(),
                 wizardFailure.c_str());
    std::fflush(stdout);
    std::fwprintf(stderr, L"wizard-start: Setup.exe showed no page %ls, so there is no ratio\n", firstDialog.c_str());
    return 1;
  }
  std::wprintf(L"wizard:         median %.3f s, working set %.1f MB\n", Median(wizardTimes), Median(wizardSets));
  std::wprintf(L"ratio: %.3f\n", Median(wizardTimes) / Median(minimalTimes));
  return 0;
}
