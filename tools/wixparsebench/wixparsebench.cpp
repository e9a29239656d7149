// wixparsebench <wixui folder> [rounds]
// Reads every .wxs of the folder with WixUI_en-us.wxl into the WiX UI model,
// and loads the same files with the XML parser alone; prints both times and
// their ratio. The best of the rounds counts for each, so one slow round of
// the machine does not decide.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "xml/Parser.h"
#include "config/SetupConfigData.h"
#include "log/LogManager.h"
#include "platform/StringUtil.h"
#include "ui/style/DialogUnitConverter.h"
#include "wix/WixDataManager.h"
#include "wix/WixLocalizationReader.h"
#include "wix/WixSourceReader.h"

namespace {

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<std::wstring> SourceFiles(const std::wstring& folder) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"*.wxs").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files.push_back(found.cFileName);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(files.begin(), files.end());
  return files;
}

// Loads each file and walks nothing: the cost every reader pays.
bool LoadOnly(const std::wstring& folder, const std::vector<std::wstring>& files) {
  for (const std::wstring& file : files) {
    CXmlNode root;
    std::wstring error;
    if (!CParser::LoadXmlFile(folder + file, root, error)) return false;
  }
  return true;
}

bool ParseAll(const std::wstring& folder, const std::vector<std::wstring>& files, const CDialogUnitConverter& converter,
              int& dialogs) {
  CSetupConfigData record;
  CWixDataManager model(record);
  CWixLocalizationReader strings(record, record);
  if (!strings.ReadWixLocalizationFile(folder + L"WixUI_en-us.wxl")) return false;
  CWixSourceReader reader(record, record, model, converter);
  for (const std::wstring& file : files) {
    if (reader.ParseWixFile(folder + file) != 1) return false;
  }
  (void)reader.CompleteParse();
  dialogs = model.GetDialogCount();
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: wixparsebench <wixui folder> [rounds]\n");
    return 2;
  }
  std::wstring folder = argv[1];
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  int rounds = argc > 2 ? std::max(1, platform::ToInt(argv[2])) : 7;
  // No log sink: the bench measures reading, not logging.
  (void)setuplog::CLogManager::GetInstance().SetSinkType(3);

  std::vector<std::wstring> files = SourceFiles(folder);
  if (files.empty()) {
    std::fwprintf(stderr, L"no .wxs files in %ls\n", folder.c_str());
    return 1;
  }
  std::vector<std::wstring> loaded = files;
  loaded.push_back(L"WixUI_en-us.wxl");
  CDialogUnitConverter converter;
  if (!converter.Measure()) {
    std::fwprintf(stderr, L"cannot measure the screen\n");
    return 1;
  }
  // One untimed pass of each warms the file cache and the parser.
  int dialogs = 0;
  if (!LoadOnly(folder, loaded) || !ParseAll(folder, files, converter, dialogs)) {
    std::fwprintf(stderr, L"reading the library failed\n");
    return 1;
  }
  double bestLoad = 1e9, bestParse = 1e9;
  for (int round = 0; round < rounds; ++round) {
    LARGE_INTEGER a, b, c;
    ::QueryPerformanceCounter(&a);
    if (!LoadOnly(folder, loaded)) return 1;
    ::QueryPerformanceCounter(&b);
    if (!ParseAll(folder, files, converter, dialogs)) return 1;
    ::QueryPerformanceCounter(&c);
    bestLoad = std::min(bestLoad, Seconds(a, b));
    bestParse = std::min(bestParse, Seconds(b, c));
  }
  std::wprintf(L"files: %d sources + 1 localization, %d dialogs, best of %d rounds\n",
               static_cast<int>(files.size()), dialogs, rounds);
  std::wprintf(L"xml load only: %.1f ms\n", bestLoad * 1000.0);
  std::wprintf(L"wix parse: %.1f ms\n", bestParse * 1000.0);
  std::wprintf(L"ratio: %.2f\n", bestParse / bestLoad);
  return 0;
}
