// DLLs planted beside Setup.exe under the names of system DLLs it uses
// (statically, at run time, or on a crash) are never loaded: the elevated
// process takes them from the system folder only. Wine is told to prefer
// "native" copies of msi.dll and dbghelp.dll ("msi,dbghelp=n,b"), which makes
// it search the application folder first, the way Windows does for any DLL
// that is not a known DLL.
//
// version.dll is planted too but left to Wine's default: Wine's own user32.dll
// imports version.dll, so with a native-first override every program that
// shows a window loads a planted copy through user32 (Windows' user32 is a
// known DLL and imports no version.dll). That override would test Wine, not
// Setup.exe; Setup.exe's own import of version.dll is ruled out by the
// import-table test (tests/app/ImportTableTest.cpp).

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "SilentBundle.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"
#include "support/TestedBuild.h"

namespace e2etest {
namespace {

const wchar_t* const kPlantedNames[] = {L"version.dll", L"msi.dll", L"dbghelp.dll"};

// Tells Wine to prefer "native" copies of the planted DLLs for one program
// (by its file name) for as long as it lives. The override goes into the
// prefix's registry (AppDefaults\<program>\DllOverrides): Wine reads
// WINEDLLOVERRIDES from the Unix environment it was started with only, so
// setting it in a Windows process's environment does not reach its children.
class ScopedPreferNative {
 public:
  ScopedPreferNative(const std::wstring& program, std::initializer_list<const wchar_t*> dlls)
      : key_(L"Software\\Wine\\AppDefaults\\" + program) {
    platform::UniqueHKey overrides;
    const std::wstring path = key_ + L"\\DllOverrides";
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, overrides.Put(),
                          nullptr) != ERROR_SUCCESS) {
      return;
    }
    const wchar_t value[] = L"native,builtin";
    for (const wchar_t* name : dlls) {
      if (::RegSetValueExW(overrides.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value)) !=
          ERROR_SUCCESS) {
        return;
      }
    }
    set_ = true;
  }
  ~ScopedPreferNative() { ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
  ScopedPreferNative(const ScopedPreferNative&) = delete;
  ScopedPreferNative& operator=(const ScopedPreferNative&) = delete;
  [[nodiscard]] bool IsSet() const { return set_; }

 private:
  std::wstring key_;
  bool set_ = false;
};

// Plants the marker DLL under each name into `folder`.
void PlantDlls(const std::wstring& folder) {
  const std::string dll = testsupport::ReadFileBytes(testsupport::TestedBinFolder() + L"planted_dll.dll");
  ASSERT_FALSE(dll.empty());
  for (const wchar_t* name : kPlantedNames) ASSERT_TRUE(testsupport::WriteFileBytes(folder + name, dll));
}

// The planted DLLs that some process loaded, with the command line it recorded.
std::wstring LoadedPlantedDlls(const std::wstring& folder) {
  std::wstring loaded;
  for (const wchar_t* name : kPlantedNames) {
    const std::string marker = testsupport::ReadFileBytes(folder + name + L".loaded");
    if (::GetFileAttributesW((folder + name + L".loaded").c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    loaded += std::wstring(name) + L" by " +
              std::wstring(reinterpret_cast<const wchar_t*>(marker.data()), marker.size() / sizeof(wchar_t)) + L"\n";
  }
  return loaded;
}

TEST(PlantedDlls, AProgramThatSearchesByPlainNameLoadsThem) {
  // The control case: with these overrides Wine does load a planted DLL from
  // a program's folder, so the runs below would see one if Setup.exe let it.
  testsupport::BundleFixture bundle(L"planted-control");
  PlantDlls(bundle.Folder());
  const std::string loader = testsupport::ReadFileBytes(testsupport::TestedBinFolder() + L"dll_loader.exe");
  ASSERT_FALSE(loader.empty());
  ASSERT_TRUE(testsupport::WriteFileBytes(bundle.Folder() + L"dll_loader.exe", loader));
  ScopedPreferNative overrides(L"dll_loader.exe", {L"msi", L"dbghelp"});
  ASSERT_TRUE(overrides.IsSet());
  for (const wchar_t* name : {L"msi.dll", L"dbghelp.dll"}) {
    testsupport::ProcessResult result = testsupport::RunAndCapture(
        testsupport::Quote(bundle.Folder() + L"dll_loader.exe") + L" " + name, 60000, bundle.Folder());
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0u);
  }
  const std::wstring loaded = LoadedPlantedDlls(bundle.Folder());
  EXPECT_NE(loaded.find(L"msi.dll by"), std::wstring::npos) << loaded;
  EXPECT_NE(loaded.find(L"dbghelp.dll by"), std::wstring::npos) << loaded;
}

TEST(PlantedDlls, TheStartUpRestrictionKeepsTheProgramFolderOutOfLaterSearches) {
  // The same program and overrides as the control case, but restricting the
  // search first as Setup.exe's wWinMain does: a load by plain name then
  // finds the system's DLL, never the planted one.
  testsupport::BundleFixture bundle(L"planted-restricted");
  PlantDlls(bundle.Folder());
  const std::string loader = testsupport::ReadFileBytes(testsupport::TestedBinFolder() + L"dll_loader.exe");
  ASSERT_FALSE(loader.empty());
  ASSERT_TRUE(testsupport::WriteFileBytes(bundle.Folder() + L"dll_loader.exe", loader));
  ScopedPreferNative overrides(L"dll_loader.exe", {L"msi", L"dbghelp"});
  ASSERT_TRUE(overrides.IsSet());
  for (const wchar_t* name : {L"msi.dll", L"dbghelp.dll"}) {
    testsupport::ProcessResult result = testsupport::RunAndCapture(
        testsupport::Quote(bundle.Folder() + L"dll_loader.exe") + L" /restrict " + name, 60000, bundle.Folder());
    ASSERT_TRUE(result.started);
    // 0: the system's copy loaded (3 would mean the restriction failed).
    EXPECT_EQ(result.exitCode, 0u) << platform::WideToUtf8(name);
  }
  EXPECT_EQ(LoadedPlantedDlls(bundle.Folder()), L"");
}

TEST(PlantedDlls, ASilentInstallationLoadsNoneOfThem) {
  SilentBundle bundle(L"planted-dlls", {SilentBundle::Studio()},
                      "<Property Id=\"INSTALLDIR\" Value=\"C:\\E2E Planted\\Studio\\\"/>");
  const std::wstring folder = bundle.Bundle().Folder();
  PlantDlls(folder);
  ScopedPreferNative overrides(L"Setup.exe", {L"msi", L"dbghelp"});
  ASSERT_TRUE(overrides.IsSet());

  SilentRun run = bundle.Run(L"/si");
  ASSERT_TRUE(run.result.started);
  ASSERT_FALSE(run.result.timedOut);
  EXPECT_EQ(run.result.exitCode, 0u) << platform::WideToUtf8(bundle.SetupLogText());
  EXPECT_TRUE(run.messageBoxes.empty());
  EXPECT_EQ(InstalledProductName(SilentBundle::kStudioCode), L"Halvorsk Studio 4.2");
  EXPECT_EQ(LoadedPlantedDlls(folder), L"");
}

TEST(PlantedDlls, TheUsageTextRunLoadsNoneOfThem) {
  testsupport::BundleFixture bundle(L"planted-usage");
  PlantDlls(bundle.Folder());
  ScopedPreferNative overrides(L"Setup.exe", {L"msi", L"dbghelp"});
  ASSERT_TRUE(overrides.IsSet());
  testsupport::ProcessResult result = testsupport::RunAndCapture(
      testsupport::Quote(bundle.SetupExe()) + L" /?", 60000, bundle.Folder());
  ASSERT_TRUE(result.started);
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(LoadedPlantedDlls(bundle.Folder()), L"");
}

}  // namespace
}  // namespace e2etest
