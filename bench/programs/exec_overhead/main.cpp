// Installs N small packages through the install executor and the same
// packages with "msiexec /i <package> /qn" one after the other, several
// rounds in alternating order, removing them between runs, and prints both
// times and their ratio (executor / msiexec).
//
//   bench_exec_overhead.exe <package folder> [N] [rounds]

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RecordingEventDispatcher.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/SetupConfigData.h"
#include "config/SetupConfigParser.h"
#include "engine/InstallExecutor.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "platform/UniqueResource.h"

namespace {

// Bench01..Bench10 carry the codes ...B1 to ...BA (tests/packages/small).
std::wstring Code(int n) { return platform::Format(L"{6B1D0C3A-2000-4000-8000-0000000000B%X}", n); }
std::wstring Package(const std::wstring& folder, int n) { return platform::Format(L"%sBench%02d.msi", folder.c_str(), n); }

void RemoveAll(int count) {
  MsiSetExternalUIStub(nullptr, 0, nullptr);
  MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  for (int n = 1; n <= count; ++n) {
    (void)MsiConfigureProductExStub(Code(n).c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"");
  }
}

bool AllInstalled(int count) {
  for (int n = 1; n <= count; ++n) {
    wchar_t buffer[256] = {};
    DWORD size = 256;
    if (MsiGetProductInfoStub(Code(n).c_str(), INSTALLPROPERTY_INSTALLEDPRODUCTNAME, buffer, &size) != 0) return false;
  }
  return true;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool RunExecutor(const std::wstring& configPath, const std::wstring& workFolder) {
  CSetupConfigData record;
  CSetupConfigParser parser(record, record);
  if (!parser.StartParse(configPath)) return false;
  IProductGroupList* groups = record.GetProductGroupList();
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    group->SetSkipped(false);
    IProductList* list = group->GetProductList();
    list->ResetIteration();
    while (IProductAttributes* product = list->GetNextProduct()) product->SetSkipped(false);
  }
  record.SetSourcePath(workFolder);
  enginetest::RecordingEventDispatcher dispatcher;
  CInstallExecutor executor(record, &dispatcher);
  int result = executor.Execute();
  if (result != 0) {
    for (const std::wstring& line : dispatcher.Log().Starting(L"SetProductRebootState(")) {
      std::fwprintf(stderr, L"%ls\n", line.c_str());
    }
  }
  return result == 0;
}

bool RunMsiexec(const std::wstring& folder, int count) {
  const std::wstring msiexec = platform::SystemFilePath(L"msiexec.exe");
  for (int n = 1; n <= count; ++n) {
    std::wstring command = L"\"" + msiexec + L"\" /i \"" + Package(folder, n) + L"\" /qn";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(msiexec.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      return false;
    }
    platform::UniqueHandle process(info.hProcess);
    platform::UniqueHandle thread(info.hThread);
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.Get(), &code);
    if (code != 0) return false;
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: exec_overhead_bench <package folder> [N] [rounds]\n");
    return 2;
  }
  std::wstring folder = argv[1];
  if (folder.back() != L'\\') folder += L'\\';
  const int count = argc > 2 ? _wtoi(argv[2]) : 10;
  const int rounds = argc > 3 ? _wtoi(argv[3]) : 3;
  LoadMsiLibrary();
  platform::ComInitializer com;

  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring work = std::wstring(temp) + L"exec_overhead\\";
  ::CreateDirectoryW(work.c_str(), nullptr);
  std::string products;
  for (int n = 1; n <= count; ++n) {
    products += platform::WideToUtf8(platform::Format(
        L"<Product Sequence=\"%d\" Type=\"MSI\" ProductName=\"Bench%02d\" Location=\"%s\" UninstallCommand=\"%s\"/>", n,
        n, Package(folder, n).c_str(), Code(n).c_str()));
  }
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SetupConfig><General><RegisterableSetup Value=\"false\"/>"
                    "<Logfile Name=\"" + platform::WideToUtf8(work) + "Setup.log\" Level=\"DEVELOPERINFO\" "
                    "Mode=\"OVERWRITE\" MaxLengthOfFile=\"5\"/></General><Brand Name=\"Bench\"><ImageFiles>"
                    "<Image Name=\"Banner\" FilePath=\"b.bmp\"/></ImageFiles></Brand><ProductList>"
                    "<ProductGroup DisplayName=\"Bench\" Sequence=\"1\">" + products + "</ProductGroup></ProductList>"
                    "</SetupConfig>\n";
  std::wstring configPath = work + L"SetupConfig.xml";
  {
    platform::UniqueFileHandle file(::CreateFileW(configPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.Get(), xml.data(), static_cast<DWORD>(xml.size()), &written, nullptr)) return 1;
  }

  RemoveAll(count);
  double executorTotal = 0;
  double msiexecTotal = 0;
  for (int round = 0; round < rounds; ++round) {
    for (int pass = 0; pass < 2; ++pass) {
      // Alternate which one goes first, so neither always meets a warmer system.
      bool executorTurn = (round % 2 == 0) == (pass == 0);
      LARGE_INTEGER start, end;
      ::QueryPerformanceCounter(&start);
      bool ok = executorTurn ? RunExecutor(configPath, work) : RunMsiexec(folder, count);
      ::QueryPerformanceCounter(&end);
      if (!ok || !AllInstalled(count)) {
        std::fwprintf(stderr, L"%ls run failed in round %d\n", executorTurn ? L"executor" : L"msiexec", round + 1);
        RemoveAll(count);
        return 1;
      }
      double seconds = Seconds(start, end);
      (executorTurn ? executorTotal : msiexecTotal) += seconds;
      std::wprintf(L"round %d %-8ls %d packages: %.3f s\n", round + 1, executorTurn ? L"executor" : L"msiexec", count,
                   seconds);
      RemoveAll(count);
    }
  }
  std::wprintf(L"executor total: %.3f s\nmsiexec total:  %.3f s\n", executorTotal, msiexecTotal);
  std::wprintf(L"ratio: %.3f\n", executorTotal / msiexecTotal);
  return 0;
}
