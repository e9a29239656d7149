#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "InstalledProductFixture.h"
#include "app/CommandLineParser.h"
#include "app/ExecutionType.h"
#include "config/ConfigTestSupport.h"
#include "msi/InstalledProduct.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "support/TestPaths.h"

namespace {

using apptest::InstalledProductTest;
using apptest::kExecTypePackageCodeV1;
using apptest::kExecTypePackageCodeV2;
using apptest::kExecTypeProductCode;
using apptest::RecordWithWixSource;

const wchar_t kInstallationMismatch[] =
    L"ERROR:\t\tThe system configuration and the command line execution option does not match. Installation cannot "
    L"progress, the setup is aborted.";
const wchar_t kRepairMismatch[] =
    L"ERROR:\t\tThe system configuration and the command line execution option does not match. The product may not "
    L"have been installed. Repair cannot progress, the setup is aborted.";
const wchar_t kRemoveMismatch[] =
    L"ERROR:\t\tThe system configuration and the command line execution option does not match. The product may not "
    L"have been installed.Remove cannot progress, the setup is aborted.";

TEST(ProductCodes, PackedFormAndProductCodeOfAnUninstallCommand) {
  EXPECT_EQ(PackCode(L"{5EC0A002-0000-4000-8000-0000000000A2}"), L"200A0CE500000004080000000000002A");
  EXPECT_EQ(PackCode(L"{6B1D0C3A-1F00-4000-8000-0000000000B1}"), L"A3C0D1B600F10004080000000000001B");
  EXPECT_EQ(PackCode(L"not a code"), L"");
  EXPECT_EQ(PackCode(L""), L"");
  EXPECT_EQ(ExtractProductCode(L"{5EC0A002-0000-4000-8000-0000000000A2} FOO=1"),
            L"{5EC0A002-0000-4000-8000-0000000000A2}");
  EXPECT_EQ(ExtractProductCode(L"/x {AB} /qn {CD}"), L"{AB}");
  EXPECT_EQ(ExtractProductCode(L"msiexec /x"), L"");
  EXPECT_EQ(ExtractProductCode(L"{unclosed"), L"");
}

struct SilentCase {
  int requested;
  int system;
  int expected;
  const wchar_t* message;  // the mismatch text without the level prefix, or null
};

class SilentDecision : public ::testing::TestWithParam<SilentCase> {};

TEST_P(SilentDecision, FitsTheSystemOrIsRefusedWithItsMessage) {
  std::wstring message = L"stale";
  EXPECT_EQ(DecideSilentExecutionType(GetParam().requested, GetParam().system, message), GetParam().expected);
  EXPECT_EQ(message, GetParam().message != nullptr ? std::wstring(GetParam().message).substr(8) : std::wstring());
}

INSTANTIATE_TEST_SUITE_P(
    RequestedBySystem, SilentDecision,
    ::testing::Values(SilentCase{0, 0, 0, nullptr}, SilentCase{0, 5, 5, nullptr}, SilentCase{0, 7, 7, nullptr},
                      SilentCase{0, 1, 8, kInstallationMismatch}, SilentCase{3, 1, 3, nullptr},
                      SilentCase{3, 0, 8, kRepairMismatch}, SilentCase{3, 7, 8, kRepairMismatch},
                      SilentCase{3, 5, 8, kRepairMismatch}, SilentCase{4, 1, 4, nullptr},
                      SilentCase{4, 0, 8, kRemoveMismatch}, SilentCase{4, 7, 8, kRemoveMismatch},
                      SilentCase{2, 7, 7, nullptr}, SilentCase{1, 0, 0, nullptr}),
    [](const ::testing::TestParamInfo<SilentCase>& info) {
      return "Requested" + std::to_string(info.param.requested) + "System" + std::to_string(info.param.system);
    });

TEST(ExecutionTypeNames, EveryTypeHasItsLogName) {
  const wchar_t* names[] = {L"SETUPEXECTYPE_INSTALLATION", L"SETUPEXECTYPE_MAINTENANCE", L"SETUPEXECTYPE_MODIFY",
                            L"SETUPEXECTYPE_REPAIR",       L"SETUPEXECTYPE_REMOVE",      L"SETUPEXECTYPE_PATCH",
                            L"SETUPEXECTYPE_MAJORUPGRADE", L"SETUPEXECTYPE_MINORUPGRADE"};
  for (int type = 0; type < 8; ++type) EXPECT_EQ(GetExecutionTypeName(type), names[type]);
  EXPECT_EQ(GetExecutionTypeName(8), L"");
}

// Runs DetermineExecutionType for a command line and records what it logged
// and whether the silent failure was signalled.
struct Determined {
  bool result = false;
  int type = 0;
  bool failureSignalled = false;
  std::wstring log;
};

Determined Determine(RecordWithWixSource& setup, const std::wstring& options) {
  Determined outcome;
  CCommandLineParser parser(setup.record.get());
  platform::ParseCommandLine(L"Setup.exe " + options, parser);
  modeltest::LogCapture log;
  EXPECT_TRUE(log.IsActive());
  outcome.result = DetermineExecutionType(*setup.record, parser, [&] { outcome.failureSignalled = true; });
  outcome.type = setup.record->GetExecutionType();
  outcome.log = log.Text();
  return outcome;
}

// The same for a fresh record whose WiX-source product is an MSI with this package code.
Determined DetermineFor(const std::wstring& packageCode, const std::wstring& options) {
  RecordWithWixSource setup(packageCode, kProductTypeMsi);
  return Determine(setup, options);
}

int IdentifyFor(const std::wstring& packageCode, int productType) {
  RecordWithWixSource setup(packageCode, productType);
  return IdentifySystemExecutionType(*setup.record);
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// An installer that cannot answer counts as "installed", and a package code
// it cannot give makes the run a maintenance run with a warning.
TEST(ExecutionTypeWithoutAnswers, UnansweredLookupsGiveMaintenanceWithAWarning) {
  platform::UniqueModule saved = ReplaceMsiLibraryForTest(platform::LoadSystemLibrary(L"version.dll"));
  int type = SETUPEXECTYPE_NOTSET;
  std::wstring text;
  {
    modeltest::LogCapture log;
    type = IdentifyFor(kExecTypePackageCodeV2, kProductTypeMsi);
    text = log.Text();
  }
  (void)ReplaceMsiLibraryForTest(std::move(saved));
  EXPECT_EQ(type, SETUPEXECTYPE_MAINTENANCE);
  EXPECT_TRUE(Contains(text, L"WARNING:\tGetProductInfo failed...")) << text;
}

// A silent run on a configuration without what the run kind is decided from
// says what is missing, whichever option it was given.
TEST(ExecutionTypeConfiguration, AMissingWixSourceProductOrProductCodeIsNamed) {
  for (const wchar_t* options : {L"/si", L"/sx", L"/sf"}) {
    RecordWithWixSource withoutCode(kExecTypePackageCodeV1, kProductTypeMsi);
    withoutCode.product->SetDetails(L"msiexec /x", L"", L"", L"", L"", L"", 0, 0, L"", L"");
    Determined noCode = Determine(withoutCode, options);
    EXPECT_FALSE(noCode.result) << options;
    EXPECT_EQ(noCode.failureSignalled, true) << options;
    EXPECT_TRUE(Contains(noCode.log, L"holds no product code in braces")) << noCode.log;
    EXPECT_FALSE(Contains(noCode.log, L"does not match")) << noCode.log;

    RecordWithWixSource withoutSource(kExecTypePackageCodeV1, kProductTypeMsi);
    withoutSource.record->SetWixSourceProduct(nullptr);
    Determined noSource = Determine(withoutSource, options);
    EXPECT_FALSE(noSource.result) << options;
    EXPECT_TRUE(Contains(noSource.log, L"names no main product with WixSource=\"true\"")) << noSource.log;
    EXPECT_FALSE(Contains(noSource.log, L"does not match")) << noSource.log;
  }
}

TEST_F(InstalledProductTest, NotInstalledIsAnInstallationAndRefusesRepairAndRemoval) {
  EXPECT_EQ(IdentifyFor(kExecTypePackageCodeV1, kProductTypeMsi), SETUPEXECTYPE_INSTALLATION);

  Determined wizard = DetermineFor(kExecTypePackageCodeV1, L"");
  EXPECT_TRUE(wizard.result);
  EXPECT_EQ(wizard.type, SETUPEXECTYPE_INSTALLATION);
  EXPECT_TRUE(Contains(wizard.log, L"Based on system configuration the execution type set is: "
                                   L"SETUPEXECTYPE_INSTALLATION"))
      << wizard.log;

  for (const auto& [option, message] : {std::pair{L"/sf", kRepairMismatch}, std::pair{L"/sx", kRemoveMismatch}}) {
    Determined refused = DetermineFor(kExecTypePackageCodeV1, option);
    EXPECT_FALSE(refused.result) << option;
    EXPECT_EQ(refused.type, SETUPEXECTYPE_NOTSET) << option;
    EXPECT_TRUE(refused.failureSignalled) << option;
    EXPECT_TRUE(Contains(refused.log, L"The system identified execution type is 0")) << refused.log;
    EXPECT_TRUE(Contains(refused.log, message)) << refused.log;
    EXPECT_TRUE(Contains(refused.log, L"DEBUG:\t\tExecution type not set!")) << refused.log;
  }

  Determined installs = DetermineFor(kExecTypePackageCodeV1, L"/si");
  EXPECT_TRUE(installs.result);
  EXPECT_EQ(installs.type, SETUPEXECTYPE_INSTALLATION);
  EXPECT_FALSE(installs.failureSignalled);
}

TEST_F(InstalledProductTest, SamePackageIsMaintenanceOtherPackageMinorUpgradeAndAPatchIsAlwaysAPatch) {
  EXPECT_EQ(IdentifyFor(kExecTypePackageCodeV1, kProductTypeMsp), SETUPEXECTYPE_PATCH);

  InstallVersion(1);
  LoadMsiLibrary();
  // Windows Installer reports the package code braced; the comparison must
  // still find the package it was installed from.
  std::wstring reported;
  ASSERT_EQ(GetProductInfoText(kExecTypeProductCode, L"PackageCode", reported), 0u);
  EXPECT_TRUE(platform::EqualsNoCase(reported, kExecTypePackageCodeV1) ||
              platform::EqualsNoCase(reported, PackCode(kExecTypePackageCodeV1)))
      << reported;

  EXPECT_EQ(IdentifyFor(kExecTypePackageCodeV1, kProductTypeMsi), SETUPEXECTYPE_MAINTENANCE);
  EXPECT_EQ(IdentifyFor(platform::ToLower(kExecTypePackageCodeV1), kProductTypeMsi), SETUPEXECTYPE_MAINTENANCE);
  EXPECT_EQ(IdentifyFor(kExecTypePackageCodeV2, kProductTypeMsi), SETUPEXECTYPE_MINORUPGRADE);
  EXPECT_EQ(IdentifyFor(L"", kProductTypeMsi), SETUPEXECTYPE_MAINTENANCE);
  EXPECT_EQ(IdentifyFor(kExecTypePackageCodeV2, kProductTypeMsp), SETUPEXECTYPE_PATCH);
}

TEST_F(InstalledProductTest, SilentOptionsOnAnInstalledProduct) {
  InstallVersion(1);

  Determined refused = DetermineFor(kExecTypePackageCodeV1, L"/si");
  EXPECT_FALSE(refused.result);
  EXPECT_EQ(refused.type, SETUPEXECTYPE_NOTSET);
  EXPECT_TRUE(refused.failureSignalled);
  EXPECT_TRUE(Contains(refused.log, L"INFORMATION:\tThe system identified execution type is 1")) << refused.log;
  EXPECT_TRUE(Contains(refused.log, kInstallationMismatch)) << refused.log;

  Determined upgrade = DetermineFor(kExecTypePackageCodeV2, L"/si");
  EXPECT_TRUE(upgrade.result);
  EXPECT_EQ(upgrade.type, SETUPEXECTYPE_MINORUPGRADE);
  EXPECT_TRUE(Contains(upgrade.log, L"INFORMATION:\tBased on system configuration the execution type set is: "
                                    L"SETUPEXECTYPE_MINORUPGRADE"))
      << upgrade.log;

  Determined repairRefused = DetermineFor(kExecTypePackageCodeV2, L"/sf");
  EXPECT_FALSE(repairRefused.result);
  EXPECT_TRUE(Contains(repairRefused.log, kRepairMismatch)) << repairRefused.log;

  Determined repairs = DetermineFor(kExecTypePackageCodeV1, L"/sf");
  EXPECT_TRUE(repairs.result);
  EXPECT_EQ(repairs.type, SETUPEXECTYPE_REPAIR);

  Determined removes = DetermineFor(kExecTypePackageCodeV1, L"/sx");
  EXPECT_TRUE(removes.result);
  EXPECT_EQ(removes.type, SETUPEXECTYPE_REMOVE);
  EXPECT_FALSE(removes.failureSignalled);
}

// The main product may have been installed before an intermediate restart;
// the resumed run (with /RESTORE) still finishes the installation.
TEST_F(InstalledProductTest, ResumedRunStaysAnInstallation) {
  InstallVersion(1);
  for (const wchar_t* options : {L"/P /L 1033 /B Pro /RESTORE /si", L"/P /L 1033 /B Pro /RESTORE"}) {
    Determined resumed = DetermineFor(kExecTypePackageCodeV1, options);
    EXPECT_TRUE(resumed.result) << options;
    EXPECT_EQ(resumed.type, SETUPEXECTYPE_INSTALLATION) << options;
    EXPECT_FALSE(resumed.failureSignalled) << options;
    EXPECT_TRUE(Contains(resumed.log, L"The setup resumes an installation after intermediate reboot")) << resumed.log;
  }
  // A removal is not a resumed run, whatever else the command line says.
  Determined removes = DetermineFor(kExecTypePackageCodeV1, L"/sx");
  EXPECT_EQ(removes.type, SETUPEXECTYPE_REMOVE);
}

TEST_F(InstalledProductTest, CachedPackageIsTheCopyWindowsInstallerKeeps) {
  {
    modeltest::LogCapture log;
    ASSERT_TRUE(log.IsActive());
    EXPECT_EQ(GetCachedPackagePath(kExecTypeProductCode), L"");
    EXPECT_EQ(log.Count(L"WARNING:\tNot able to open the key SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\"
                        L"UserData\\S-1-5-18\\Products\\A3C0D1B600F10004080000000000001B\\InstallProperties"),
              1u)
        << log.Text();
  }
  InstallVersion(1);
  std::wstring cached = GetCachedPackagePath(kExecTypeProductCode);
  ASSERT_FALSE(cached.empty());
  // Wine keeps the copy where Windows does: in the Installer folder of Windows.
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_TRUE(platform::StartsWithNoCase(cached, std::wstring(windows) + L"\\Installer\\")) << cached;
  std::string bytes = testsupport::ReadFileBytes(cached);
  ASSERT_GE(bytes.size(), 8u) << platform::WideToUtf8(cached);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));  // a compound file
  EXPECT_EQ(bytes, testsupport::ReadFileBytes(testsupport::PackageFolder() + L"ExecTypeV1.msi"));
}

TEST_F(InstalledProductTest, CachedPackageComesFromTheInstallerAndFromItsDataWithoutIt) {
  InstallVersion(1);
  LoadMsiLibrary();
  // Windows Installer itself names the copy (checked under Wine as well).
  std::wstring fromInstaller;
  ASSERT_EQ(GetProductInfoText(kExecTypeProductCode, INSTALLPROPERTY_LOCALPACKAGE, fromInstaller), 0u);
  ASSERT_FALSE(fromInstaller.empty());
  EXPECT_TRUE(platform::EqualsNoCase(GetCachedPackagePath(kExecTypeProductCode), fromInstaller));
  // The registry fallback names the same file.
  EXPECT_TRUE(platform::EqualsNoCase(ReadCachedPackageFromInstallerData(kExecTypeProductCode), fromInstaller));

  // Without msi.dll the fallback answers.
  platform::UniqueModule library = ReplaceMsiLibraryForTest(platform::UniqueModule());
  modeltest::LogCapture log;
  const std::wstring withoutInstaller = GetCachedPackagePath(kExecTypeProductCode);
  platform::UniqueModule empty = ReplaceMsiLibraryForTest(std::move(library));
  EXPECT_TRUE(platform::EqualsNoCase(withoutInstaller, fromInstaller)) << withoutInstaller;
  EXPECT_NE(log.Text().find(L"reading its product data instead"), std::wstring::npos) << log.Text();
}

}  // namespace
