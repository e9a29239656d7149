// What the wizard costs on top of the engine: a bundle installed through the
// wizard's pages — timed from the click on Install to the exit page being
// shown, so that the user's page turns do not count — against "Setup.exe /si"
// of the same bundle, timed from process start to exit. Several rounds in
// alternating order, everything removed between runs; prints the medians and
// their ratio (wizard / silent).
//
//   bench_wizard_install.exe <bundle folder> <msi count> <exe count> [rounds]
// The bundle folder is laid out by bench/lib/bench-bundle.sh.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../BenchCommon.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/ProcessRunner.h"
#include "support/WindowDriver.h"

namespace {

using bench::ExeRuns;
using bench::Median;
using bench::Seconds;

constexpr DWORD kPageTimeoutMs = 60000;
constexpr wchar_t kMainCode[] = L"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}";

std::vector<std::wstring> ProductCodes(int msiCount) {
  std::vector<std::wstring> codes = {kMainCode};
  for (int n = 1; n < msiCount; ++n) codes.push_back(platform::Format(L"{6B1D0C3A-2000-4000-8000-0000000000B%X}", n));
  return codes;
}

void RemoveAll(const std::vector<std::wstring>& codes) {
  for (const std::wstring& code : codes) {
    (void)MsiConfigureProductExStub(code.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"");
  }
}

bool AllInstalled(const std::vector<std::wstring>& codes) {
  for (const std::wstring& code : codes) {
    wchar_t buffer[256] = {};
    DWORD size = 256;
    if (MsiGetProductInfoStub(code.c_str(), INSTALLPROPERTY_INSTALLEDPRODUCTNAME, buffer, &size) != 0) return false;
  }
  return true;
}

bool ClickWhenEnabled(HWND dialog, const std::wstring& id) {
  const ULONGLONG deadline = ::GetTickCount64() + kPageTimeoutMs;
  for (;;) {
    testsupport::ControlInfo control;
    if (testsupport::FindControl(dialog, id, control) && control.visible && control.enabled) {
      return testsupport::Click(control.window);
    }
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(5);
  }
}

// Seconds from the click on Install to the exit page; negative on failure.
double RunWizard(const std::wstring& bundle) {
  const std::wstring setup = bundle + L"Setup.exe";
  testsupport::RunningProcess process =
      testsupport::StartProcess(testsupport::Quote(setup) + L" INSTALLDIR=\"C:\\BenchFloor\\Studio\"", bundle);
  if (!process.IsValid()) return -1;
  testsupport::WindowDriver driver(process.Id(), process.Handle());
  struct Step {
    const wchar_t* page;
    std::vector<const wchar_t*> clicks;
  };
  const std::vector<Step> pages = {{L"WelcomeDlg", {L"Next"}},
                                   {L"LicenseAgreementDlg", {L"LicenseAcceptedCheckBox", L"Next"}},
                                   {L"UserInfoDlg", {L"Next"}},
                                   {L"CustomizeDlg", {L"Next"}},
                                   {L"VerifyReadyDlg", {}}};
  testsupport::DialogWindow page;
  for (const Step& step : pages) {
    if (!driver.WaitForPage(step.page, kPageTimeoutMs, page)) {
      std::fwprintf(stderr, L"page %ls did not come\n", step.page);
      (void)process.Wait(0);
      return -1;
    }
    for (const wchar_t* control : step.clicks) {
      if (!ClickWhenEnabled(page.window, control)) return (void)process.Wait(0), -1;
    }
  }
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  if (!ClickWhenEnabled(page.window, L"Install")) return (void)process.Wait(0), -1;
  testsupport::DialogWindow exitPage;
  const bool ended = driver.WaitForPage(L"ExitDlg", 10 * kPageTimeoutMs, exitPage);
  ::QueryPerformanceCounter(&end);
  if (!ended || !ClickWhenEnabled(exitPage.window, L"Finish")) return (void)process.Wait(0), -1;
  const testsupport::ProcessResult result = process.Wait(kPageTimeoutMs);
  if (result.timedOut || result.exitCode != 0) return -1;
  return Seconds(start, end);
}

double RunSilent(const std::wstring& bundle) {
  const std::wstring setup = bundle + L"Setup.exe";
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  testsupport::RunningProcess process = testsupport::StartProcess(testsupport::Quote(setup) + L" /si", bundle);
  if (!process.IsValid()) return -1;
  const testsupport::ProcessResult result = process.Wait(10 * kPageTimeoutMs);
  ::QueryPerformanceCounter(&end);
  if (result.timedOut || result.exitCode != 0) return -1;
  return Seconds(start, end);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fwprintf(stderr, L"usage: bench_wizard_install <bundle folder> <msi count> <exe count> [rounds]\n");
    return 2;
  }
  std::wstring bundle = argv[1];
  if (bundle.back() != L'\\') bundle += L'\\';
  const int msiCount = _wtoi(argv[2]);
  const int exeCount = _wtoi(argv[3]);
  const int rounds = argc > 4 ? _wtoi(argv[4]) : 5;
  if (msiCount < 1 || msiCount > 10 || exeCount < 0 || rounds < 1) {
    std::fwprintf(stderr, L"msi count must be 1..10, exe count at least 0 and rounds at least 1\n");
    return 2;
  }
  LoadMsiLibrary();
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  const std::vector<std::wstring> codes = ProductCodes(msiCount);
  RemoveAll(codes);
  std::vector<double> wizardTimes;
  std::vector<double> silentTimes;
  for (int round = 0; round < rounds; ++round) {
    for (int pass = 0; pass < 2; ++pass) {
      // Alternate which one goes first, so neither always meets a warmer system.
      const bool wizardTurn = (round % 2 == 0) == (pass == 0);
      const int runsBefore = ExeRuns(bundle);
      const double seconds = wizardTurn ? RunWizard(bundle) : RunSilent(bundle);
      const wchar_t* name = wizardTurn ? L"wizard" : L"Setup.exe /si";
      if (seconds < 0 || !AllInstalled(codes) || ExeRuns(bundle) - runsBefore != exeCount) {
        std::fwprintf(stderr, L"%ls run failed in round %d (see %lsLogs\\Setup.log)\n", name, round + 1,
                      bundle.c_str());
        RemoveAll(codes);
        return 1;
      }
      (wizardTurn ? wizardTimes : silentTimes).push_back(seconds);
      std::wprintf(L"round %d %-13ls %d MSI + %d EXE products: %.3f s\n", round + 1, name, msiCount, exeCount, seconds);
      RemoveAll(codes);
    }
  }
  const double wizard = Median(wizardTimes);
  const double silent = Median(silentTimes);
  std::wprintf(L"wizard (Install to exit page) median: %.3f s\nSetup.exe /si median:                %.3f s\n", wizard,
               silent);
  std::wprintf(L"ratio: %.3f\n", wizard / silent);
  return 0;
}
