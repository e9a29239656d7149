#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "BundleEntryFixture.h"
#include "app/CommandLineParser.h"
#include "app/ExecutionType.h"
#include "app/StartupChecks.h"
#include "config/ConfigTestSupport.h"
#include "platform/MessageBox.h"
#include "config/IWixLocalizationList.h"

namespace {

using apptest::BundleEntryTest;

class StartupValuesTest : public BundleEntryTest {
 protected:
  void SetUp() override {
    BundleEntryTest::SetUp();
    record_->SetSetupFolder(L"C:\\Media\\");
    record_->SetMaintenanceExePath(L"Setup\\Maintenance\\Setup.exe");
    WriteString(L"ExePathValue", L"D:\\Earlier\\");
    WriteString(L"INSTALLDIR", L"C:\\Program Files\\Acme\\");
    WriteString(L"BRAND", L"Stored");
  }

  void Apply(const std::wstring& options) {
    CCommandLineParser parser(record_.get());
    platform::ParseCommandLine(L"Setup.exe " + options, parser);
    modeltest::LogCapture log;
    ApplyStartupValues(*record_, parser);
    log_ = log.Text();
  }

  std::wstring log_;
};

TEST_F(StartupValuesTest, InstalledBundleTakesBrandAndFolderFromItsEntry) {
  record_->SetExecutionType(SETUPEXECTYPE_MAINTENANCE);
  Apply(L"/RESTORE /NESTED");
  EXPECT_EQ(record_->GetBrand(), L"Stored");
  EXPECT_EQ(record_->GetInstalledLocation(), L"C:\\Program Files\\Acme\\");
  EXPECT_EQ(record_->GetSourcePath(), L"C:\\Media\\");  // not started from Add/Remove Programs
  EXPECT_EQ(record_->GetMaintenanceExeFolder(), L"Setup.exe");
  EXPECT_TRUE(record_->IsRestoreMode());
  EXPECT_TRUE(record_->IsNested());
  EXPECT_FALSE(record_->IsLaunchedFromARP());
  EXPECT_NE(log_.find(L"INFORMATION:\tThe Brand is updated from registry and set to Stored."), std::wstring::npos)
      << log_;
}

TEST_F(StartupValuesTest, StartedFromAddRemoveProgramsKeepsTheStoredSourcePath) {
  record_->SetExecutionType(SETUPEXECTYPE_MAINTENANCE);
  Apply(L"/arp");
  EXPECT_TRUE(record_->IsLaunchedFromARP());
  EXPECT_EQ(record_->GetSourcePath(), L"D:\\Earlier\\");
  EXPECT_FALSE(record_->IsRestoreMode());
  EXPECT_NE(log_.find(L"Setup Is launched from Add/Remove Program."), std::wstring::npos) << log_;
}

TEST_F(StartupValuesTest, FirstInstallationIgnoresTheEntryAndLogsAGivenBrand) {
  record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
  record_->SetMaintenanceExePath(L"Setup.exe");
  Apply(L"/B Given");
  EXPECT_EQ(record_->GetBrand(), L"Given");
  EXPECT_EQ(record_->GetInstalledLocation(), L"");
  EXPECT_EQ(record_->GetSourcePath(), L"C:\\Media\\");
  EXPECT_EQ(record_->GetMaintenanceExeFolder(), L"Setup.exe");
  EXPECT_NE(log_.find(L"INFORMATION:\tBrand is set to Given."), std::wstring::npos) << log_;
  EXPECT_EQ(log_.find(L"Brand is updated from registry"), std::wstring::npos) << log_;
}

struct SourcePathCase {
  const char* name;
  int maxUnicode;
  bool fromArp;
  const wchar_t* path;
  bool accepted;
};

class SourcePathCharacters : public ::testing::TestWithParam<SourcePathCase> {
 protected:
  void SetUp() override {
    platform::SetMessageBoxHandler([this](HWND, const std::wstring& text, const std::wstring& caption, UINT flags) {
      boxes_.push_back({text, caption, flags});
      return IDOK;
    });
  }
  void TearDown() override { platform::SetMessageBoxHandler({}); }

  struct Box {
    std::wstring text;
    std::wstring caption;
    UINT flags;
  };
  std::vector<Box> boxes_;
  CSetupConfigData record_;
};

TEST_P(SourcePathCharacters, RefusesOnlyCharactersAboveTheLimit) {
  const SourcePathCase& c = GetParam();
  record_.SetSourcePathMaxUnicode(c.maxUnicode);
  record_.SetLaunchedFromARP(c.fromArp);
  modeltest::LogCapture log;
  EXPECT_EQ(CheckSourcePathCharacters(c.path, record_), c.accepted);
  std::wstring text = log.Text();
  EXPECT_NE(text.find(L"DEBUG:\t\tSource Path Unicode compatibility verification started."), std::wstring::npos);
  if (c.accepted) {
    EXPECT_TRUE(boxes_.empty());
    return;
  }
  std::wstring expected = std::wstring(L"Cannot start installation. Source path ") + c.path +
                          L" contains unsupported characters. Remove the unsupported characters and restart the "
                          L"setup.";
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, expected);
  EXPECT_EQ(boxes_[0].caption, L"Setup");
  EXPECT_EQ(boxes_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_NE(text.find(L"ERROR:\t\t" + expected), std::wstring::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SourcePathCharacters,
    ::testing::Values(SourcePathCase{"UmlautAbove127", 127, false, L"C:\\Setup\u00e4\\", false},
                      SourcePathCase{"UmlautWithin255", 255, false, L"C:\\Setup\u00e4\\", true},
                      SourcePathCase{"AsciiWithin127", 127, false, L"C:\\Setup\\", true},
                      SourcePathCase{"FromAddRemovePrograms", 127, true, L"C:\\Setup\u00e4\\", true},
                      SourcePathCase{"NoLimitSet", 0, false, L"C:\\\u65e5\u672c\\", true},
                      SourcePathCase{"CjkAbove255", 255, false, L"C:\\\u65e5\u672c\\", false}),
    [](const ::testing::TestParamInfo<SourcePathCase>& info) { return std::string(info.param.name); });

TEST_F(SourcePathCharacters, TheBundleTextReplacesTheBuiltInOne) {
  record_.SetSourcePathMaxUnicode(127);
  ASSERT_TRUE(record_.GetOrCreateWixLocalizationList()->AddLocalization(
      L"ErrorMessageSourcePathInvalidChars", L"Pfad [1] ist ungültig: [1]"));
  EXPECT_FALSE(CheckSourcePathCharacters(L"C:\\\u00e4\\", record_));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, L"Pfad C:\\\u00e4\\ ist ungültig: C:\\\u00e4\\");
}

struct BundleKeyCase {
  const char* name;
  const wchar_t* key;
  bool registerable;
  bool accepted;
  const wchar_t* logged;  // part of the ERROR line; empty when accepted
};
void PrintTo(const BundleKeyCase& c, std::ostream* os) { *os << c.name; }

class BundleKeyCheck : public ::testing::TestWithParam<BundleKeyCase> {};

// The key is checked before any product runs: a bundle that registers
// itself needs a name, and a name must stay one key under the Uninstall root.
TEST_P(BundleKeyCheck, AcceptsOnlyAPlainNameOrNoneForAnUnregisteredBundle) {
  const BundleKeyCase& c = GetParam();
  CSetupConfigData record;
  record.SetBootstrapperRegistry(c.key);
  record.SetRegisterableSetup(c.registerable);
  modeltest::LogCapture log;
  EXPECT_EQ(CheckBundleKey(record, true), c.accepted);
  const std::wstring text = log.Text();
  if (c.accepted) {
    EXPECT_EQ(text.find(L"ERROR:"), std::wstring::npos) << text;
  } else {
    EXPECT_NE(text.find(std::wstring(L"ERROR:\t\t") + c.logged), std::wstring::npos) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BundleKeyCheck,
    ::testing::Values(
        BundleKeyCase{"Plain", L"SetupTestPlainBundleKey", true, true, L""},
        BundleKeyCase{"VendorSlashSuite", L"SetupTestVendor/Suite", true, true, L""},
        BundleKeyCase{"EmptyForARegisteredBundle", L"", true, false,
                      L"BootstrapperRegistry in SetupConfig.xml is empty"},
        BundleKeyCase{"EmptyForAnUnregisteredBundle", L"", false, true, L""},
        BundleKeyCase{"ClimbingWithBackslashes", L"..\\..\\Run", true, false,
                      L"BootstrapperRegistry \"..\\..\\Run\" in SetupConfig.xml is not a usable"},
        BundleKeyCase{"ProductCode", L"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}", true, false,
                      L"BootstrapperRegistry \"{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}\" in SetupConfig.xml is not "
                      L"a usable Add/Remove Programs entry name"}),
    [](const ::testing::TestParamInfo<BundleKeyCase>& info) { return std::string(info.param.name); });

TEST(ProcessorCheck, AnX64BundleNeedsAnX64Processor) {
  EXPECT_FALSE(IsPlatformSupportedByProcessor(L"x64", PROCESSOR_ARCHITECTURE_INTEL));
  EXPECT_FALSE(IsPlatformSupportedByProcessor(L"x64", PROCESSOR_ARCHITECTURE_ARM));
  EXPECT_TRUE(IsPlatformSupportedByProcessor(L"x64", PROCESSOR_ARCHITECTURE_AMD64));
  EXPECT_TRUE(IsPlatformSupportedByProcessor(L"x86", PROCESSOR_ARCHITECTURE_INTEL));
  EXPECT_TRUE(IsPlatformSupportedByProcessor(L"x86", PROCESSOR_ARCHITECTURE_AMD64));
  EXPECT_TRUE(IsPlatformSupportedByProcessor(L"", PROCESSOR_ARCHITECTURE_INTEL));
  // The test machine is a 64-bit Wine on x86-64.
  EXPECT_EQ(GetNativeProcessorArchitecture(), PROCESSOR_ARCHITECTURE_AMD64);
}

}  // namespace
