#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "config/ConfigTestSupport.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "support/TestPaths.h"

namespace {

const wchar_t kUnknownProduct[] = L"{6B1D0C3A-1F00-4000-8000-00000000DEAD}";

// Puts the library handle back as it was, whatever a test did to it.
class MsiLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = ReplaceMsiLibraryForTest(platform::UniqueModule()); }
  void TearDown() override { (void)ReplaceMsiLibraryForTest(std::move(saved_)); }

  platform::UniqueModule saved_;
};

struct StubCase {
  const char* name;  // the exported name
  std::function<long long()> call;
  long long notLoaded;
  long long notFound;
  const wchar_t* missingLine;
};

void PrintTo(const StubCase& c, std::ostream* os) { *os << c.name; }

template <typename T>
long long AsNumber(T value) {
  if constexpr (std::is_pointer_v<T>) {
    return static_cast<long long>(reinterpret_cast<intptr_t>(value));
  } else {
    return static_cast<long long>(value);
  }
}

std::wstring EntryPointLine(const wchar_t* function) {
  return std::wstring(L"Unable to get the entry point of ") + function + L" function";
}

// Every wrapper with the arguments a caller might pass; the results must not
// depend on them when the function cannot be reached.
const StubCase kStubCases[] = {
    {"MsiInstallProductW", [] { return AsNumber(MsiInstallProductStub(L"x.msi", L"")); }, 6, 1, nullptr},
    {"MsiApplyPatchW",
     [] { return AsNumber(MsiApplyPatchStub(L"x.msp", nullptr, INSTALLTYPE_DEFAULT, L"")); }, 6, 1, nullptr},
    {"MsiExtractPatchXMLDataW",
     [] {
       DWORD length = 0;
       return AsNumber(MsiExtractPatchXMLDataStub(L"x.msp", 0, nullptr, &length));
     },
     6, 1, nullptr},
    {"MsiEnumPatchesW",
     [] {
       wchar_t patch[39] = {};
       wchar_t transforms[8] = {};
       DWORD length = 8;
       return AsNumber(MsiEnumPatchesStub(kUnknownProduct, 0, patch, transforms, &length));
     },
     6, 1, nullptr},
    {"MsiGetSummaryInformationW",
     [] {
       MSIHANDLE summary = 0;
       return AsNumber(MsiGetSummaryInformationStub(0, L"x.msi", 0, &summary));
     },
     0, 0, nullptr},
    {"MsiSetInternalUI", [] { return AsNumber(MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr)); }, 0, 0, nullptr},
    {"MsiSetExternalUIW", [] { return AsNumber(MsiSetExternalUIStub(nullptr, 0x7FFF, nullptr)); }, 0, 0, nullptr},
    {"MsiConfigureProductExW",
     [] { return AsNumber(MsiConfigureProductExStub(kUnknownProduct, 0, INSTALLSTATE_ABSENT, L"")); }, 1, 1,
     nullptr},
    {"MsiEnableLogW", [] { return AsNumber(MsiEnableLogStub(INSTALLLOGMODE_VERBOSE, L"x.log", 0)); }, 1, 1, nullptr},
    {"MsiOpenPackageW",
     [] {
       MSIHANDLE package = 0;
       return AsNumber(MsiOpenPackageStub(L"x.msi", &package));
     },
     1, 1, nullptr},
    {"MsiCloseHandle", [] { return AsNumber(MsiCloseHandleStub(12345)); }, 1, 1, nullptr},
    {"MsiSetPropertyW", [] { return AsNumber(MsiSetPropertyStub(1, L"NAME", L"value")); }, 1, 1, nullptr},
    {"MsiDoActionW", [] { return AsNumber(MsiDoActionStub(1, L"CostInitialize")); }, 1, 1, nullptr},
    {"MsiOpenDatabaseW",
     [] {
       MSIHANDLE database = 0;
       return AsNumber(MsiOpenDatabaseStub(L"x.msi", reinterpret_cast<LPCWSTR>(MSIDBOPEN_READONLY), &database));
     },
     1, 1, nullptr},
    {"MsiDatabaseOpenViewW",
     [] {
       MSIHANDLE view = 0;
       return AsNumber(MsiDatabaseOpenViewStub(1, L"SELECT * FROM `Property`", &view));
     },
     1, 1, nullptr},
    {"MsiViewExecute", [] { return AsNumber(MsiViewExecuteStub(1, 0)); }, 1, 1, nullptr},
    {"MsiViewFetch",
     [] {
       MSIHANDLE record = 0;
       return AsNumber(MsiViewFetchStub(1, &record));
     },
     1, 1, nullptr},
    {"MsiRecordGetStringW",
     [] {
       DWORD length = 0;
       return AsNumber(MsiRecordGetStringStub(1, 1, nullptr, &length));
     },
     1, 1, nullptr},
    {"MsiRecordGetInteger", [] { return AsNumber(MsiRecordGetIntegerStub(1, 1)); }, 1, 1,
     L"Unable to get the entry point of MsiRecordGetIntegerW function"},
    {"MsiRecordGetFieldCount", [] { return AsNumber(MsiRecordGetFieldCountStub(1)); }, 1, 1, nullptr},
    {"MsiGetFeatureStateW",
     [] {
       INSTALLSTATE installed = INSTALLSTATE_UNKNOWN;
       INSTALLSTATE action = INSTALLSTATE_UNKNOWN;
       return AsNumber(MsiGetFeatureStateStub(1, L"Main", &installed, &action));
     },
     1, 1, nullptr},
    {"MsiSetInstallLevel", [] { return AsNumber(MsiSetInstallLevelStub(1, 100)); }, 1, 1, nullptr},
    {"MsiSetFeatureStateW", [] { return AsNumber(MsiSetFeatureStateStub(1, L"Main", INSTALLSTATE_LOCAL)); }, 1, 1,
     nullptr},
    {"MsiGetPropertyW",
     [] {
       DWORD length = 0;
       return AsNumber(MsiGetPropertyStub(1, L"ProductName", nullptr, &length));
     },
     1, 1, nullptr},
    {"MsiSetExternalUIRecord",
     [] { return AsNumber(MsiSetExternalUIRecordStub(nullptr, 0x7FFF, nullptr, nullptr)); }, 1, 1,
     L"Unable to get the entry point of MsiSetExternalUIRecord function.Check Windows Installer version 3.1 "
     L"availability"},
    {"MsiFormatRecordW",
     [] {
       wchar_t buffer[1024] = {};
       DWORD length = 1024;
       return AsNumber(MsiFormatRecordStub(1, 2, buffer, &length));
     },
     1, 1, nullptr},
    {"MsiGetFeatureCostW",
     [] {
       INT cost = 0;
       return AsNumber(MsiGetFeatureCostStub(1, L"Main", MSICOSTTREE_SELFONLY, INSTALLSTATE_LOCAL, &cost));
     },
     1, 1, nullptr},
    {"MsiEvaluateConditionW", [] { return AsNumber(MsiEvaluateConditionStub(1, L"NOT Installed")); }, 3, 3, nullptr},
    {"MsiDatabaseApplyTransformW", [] { return AsNumber(MsiDatabaseApplyTransformStub(1, L"1031.mst", 0)); }, 1, 1,
     nullptr},
    {"MsiReinstallProductW",
     [] { return AsNumber(MsiReinstallProductStub(kUnknownProduct, REINSTALLMODE_FILEOLDERVERSION)); }, 1, 1,
     nullptr},
    {"MsiGetProductInfoW",
     [] {
       DWORD length = 0;
       return AsNumber(MsiGetProductInfoStub(kUnknownProduct, L"InstalledProductName", nullptr, &length));
     },
     1, 1, nullptr},
    {"MsiViewGetColumnInfo",
     [] {
       MSIHANDLE record = 0;
       return AsNumber(MsiViewGetColumnInfoStub(1, MSICOLINFO_NAMES, &record));
     },
     1, 1, nullptr},
};

class MsiStubFallback : public MsiLibraryTest, public ::testing::WithParamInterface<StubCase> {};

TEST_P(MsiStubFallback, NotLoadedReturnsItsValueAndLogsNothing) {
  ASSERT_FALSE(IsMsiLibraryLoaded());
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(GetParam().call(), GetParam().notLoaded);
  EXPECT_EQ(log.Count(L"Unable to get the entry point"), 0u) << log.Text();
}

// version.dll is a real system library without any installer function, as an
// installer too old for a function would be.
TEST_P(MsiStubFallback, FunctionMissingReturnsItsValueAndLogsOneLine) {
  platform::UniqueModule other = platform::LoadSystemLibrary(L"version.dll");
  ASSERT_TRUE(other);
  (void)ReplaceMsiLibraryForTest(std::move(other));
  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  EXPECT_EQ(GetParam().call(), GetParam().notFound);
  std::wstring expected = GetParam().missingLine != nullptr
                              ? std::wstring(GetParam().missingLine)
                              : EntryPointLine(platform::Utf8ToWide(GetParam().name).c_str());
  EXPECT_EQ(log.Count(L"INFORMATION:\tUnable to get the entry point of "), 1u) << log.Text();
  EXPECT_EQ(log.Count(L"INFORMATION:\t" + expected + L"\r\n"), 1u) << log.Text();
}

INSTANTIATE_TEST_SUITE_P(EveryWrapper, MsiStubFallback, ::testing::ValuesIn(kStubCases),
                         [](const ::testing::TestParamInfo<StubCase>& info) { return std::string(info.param.name); });

TEST_F(MsiLibraryTest, LoadingTwiceLoadsOnceAndFreeingUnloadsAndForgets) {
  LoadMsiLibrary();
  ASSERT_TRUE(IsMsiLibraryLoaded());
  LoadMsiLibrary();
  std::wstring systemMsi = platform::SystemFilePath(L"msi.dll");
  EXPECT_TRUE(platform::EqualsNoCase(GetMsiLibraryPath(), systemMsi)) << GetMsiLibraryPath();
  // A real call through the loaded library: an unknown product is 1605.
  DWORD length = 0;
  wchar_t empty[1] = {};
  EXPECT_EQ(MsiGetProductInfoStub(kUnknownProduct, L"InstalledProductName", empty, &length),
            static_cast<UINT>(ERROR_UNKNOWN_PRODUCT));

  modeltest::LogCapture log;
  ASSERT_TRUE(log.IsActive());
  FreeMsiLibrary();
  EXPECT_FALSE(IsMsiLibraryLoaded());
  // One reference only was taken, so the module is gone from the process.
  EXPECT_EQ(::GetModuleHandleW(systemMsi.c_str()), nullptr);
  FreeMsiLibrary();  // nothing to free: no line
  EXPECT_EQ(log.Count(L"FreeLibrary of MSI failed"), 0u) << log.Text();
  EXPECT_EQ(MsiInstallProductStub(L"x.msi", L""), static_cast<UINT>(ERROR_INVALID_HANDLE));

  LoadMsiLibrary();  // loaded again after a free, as after the installer update
  EXPECT_TRUE(IsMsiLibraryLoaded());
  EXPECT_EQ(MsiGetProductInfoStub(kUnknownProduct, L"InstalledProductName", empty, &length),
            static_cast<UINT>(ERROR_UNKNOWN_PRODUCT));
}

// A Msi.dll planted beside the program or in the current folder must never be
// loaded into an elevated installer; the copy of a program without exports
// would make every lookup fail.
TEST_F(MsiLibraryTest, APlantedMsiDllBesideTheProgramIsNotLoaded) {
  std::wstring planted = testsupport::BinFolder() + L"planted_program.exe";
  ASSERT_NE(::GetFileAttributesW(planted.c_str()), INVALID_FILE_ATTRIBUTES);
  std::wstring scratch = testsupport::MakeScratchFolder(L"plantedmsi");
  std::wstring besideProgram = testsupport::BinFolder() + L"Msi.dll";
  std::wstring inCurrentFolder = scratch + L"Msi.dll";
  ASSERT_TRUE(::CopyFileW(planted.c_str(), besideProgram.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW(planted.c_str(), inCurrentFolder.c_str(), FALSE));
  wchar_t previousCwd[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previousCwd);
  ::SetCurrentDirectoryW(scratch.c_str());

  LoadMsiLibrary();
  std::wstring loadedFrom = GetMsiLibraryPath();
  DWORD length = 0;
  wchar_t empty[1] = {};
  UINT lookup = MsiGetProductInfoStub(kUnknownProduct, L"InstalledProductName", empty, &length);
  FreeMsiLibrary();

  ::SetCurrentDirectoryW(previousCwd);
  ::DeleteFileW(besideProgram.c_str());
  testsupport::RemoveFolder(scratch);
  EXPECT_TRUE(platform::EqualsNoCase(loadedFrom, platform::SystemFilePath(L"msi.dll"))) << loadedFrom;
  EXPECT_EQ(lookup, static_cast<UINT>(ERROR_UNKNOWN_PRODUCT));
}

// Windows Installer handles owned by platform::UniqueMsiHandle are closed
// through the wrapper once the library is bound.
TEST_F(MsiLibraryTest, UniqueMsiHandleIsClosedThroughTheLoadedLibrary) {
  LoadMsiLibrary();
  std::wstring package = testsupport::PackageFolder() + L"Minimal.msi";
  MSIHANDLE raw = 0;
  {
    platform::UniqueMsiHandle database;
    ASSERT_EQ(MsiOpenDatabaseStub(package.c_str(), reinterpret_cast<LPCWSTR>(MSIDBOPEN_READONLY), database.Put()),
              static_cast<UINT>(ERROR_SUCCESS));
    raw = database.Get();
    ASSERT_NE(raw, 0u);
  }
  // Closed already: a second close reports an invalid handle.
  EXPECT_EQ(MsiCloseHandleStub(raw), static_cast<UINT>(ERROR_INVALID_HANDLE));
  FreeMsiLibrary();
}

}  // namespace
