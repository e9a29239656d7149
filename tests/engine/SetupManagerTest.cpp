// The setup manager end to end on a real main package: launcher, captured
// initializer, initial condition, execution, summary, exit code and the
// bundle's Add/Remove Programs entry, for installation, repair, removal and
// minor upgrade; refused packages and initial conditions that stop a run.

#include <gtest/gtest.h>

#include "PackageCodes.h"
#include "SetupManagerFixture.h"
#include "config/ExecutionType.h"
#include "config/IProductGroupList.h"
#include "engine/DiskSpaceCheck.h"
#include "engine/SetupExecutorBase.h"
#include "msi/InstalledProduct.h"
#include "msi/MSIManager.h"
#include "platform/MessageBox.h"
#include "registry/ArpTestSupport.h"
#include "support/TestPaths.h"

namespace enginetest {
namespace {

using arptest::ReadAllValues;
using arptest::Sz;

std::wstring ProductInfo(const std::wstring& code, const wchar_t* property) {
  std::wstring value;
  return GetProductInfoText(code, property, value) == ERROR_SUCCESS ? value : std::wstring();
}

TEST_F(SetupManagerTest, InstallRunsLauncherInitializerAndExecutorAndWritesTheEntry) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  installedByTest_.push_back(kMainCode);
  SetupStartData start;
  start.commandLineProperties[L"INSTALLDIR"] = InstallFolder();
  start.commandLineProperties[L"PUBLICPROP"] = L"from the command line";
  int exitCode = -1;
  CSetupManager::Hooks hooks;
  hooks.onExitCode = [&exitCode](int code) { exitCode = code; };
  auto manager = MakeManager(true, start, hooks);

  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  // The initializer properties and the command line reached the session.
  CMSIManager& session = *manager->GetMSIManager();
  EXPECT_EQ(session.GetProperty(L"BOOTSTRAPPER", false), L"1");
  EXPECT_EQ(session.GetProperty(L"SETUPBUNDLE", false), L"1");
  EXPECT_EQ(session.GetProperty(L"BRAND", false), L"Acme");
  EXPECT_EQ(session.GetProperty(L"PUBLICPROP", false), L"from the command line");
  // The package's own costing ran in the initializer: INSTALLDIR is a resolved directory.
  EXPECT_EQ(session.GetProperty(L"INSTALLDIR", false), InstallFolder());
  // The sequence stopped before ExecuteAction: nothing is installed yet.
  EXPECT_TRUE(InstalledProductName(kMainCode).empty());

  int blocked = 0;
  ASSERT_EQ(manager->PrepareExecution(blocked), 1);
  EXPECT_EQ(blocked, 0);
  EXPECT_EQ(manager->Execute(SETUPEXECTYPE_INSTALLATION), 0);
  EXPECT_EQ(manager->GetExitCode(), 0);
  EXPECT_EQ(exitCode, 0);

  EXPECT_EQ(InstalledProductName(kMainCode), L"Setup Test Main Main");
  EXPECT_NE(::GetFileAttributesW((InstallFolder() + L"readme.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  // The property string holds the public properties with their session values.
  const std::wstring properties = record_->GetInstallProperties();
  EXPECT_NE(properties.find(L"PUBLICPROP=\"from the command line\""), std::wstring::npos) << properties;
  EXPECT_NE(properties.find(L"INSTALLDIR=\"" + InstallFolder() + L"\""), std::wstring::npos) << properties;
  EXPECT_EQ(properties.find(L"privateProp"), std::wstring::npos) << properties;

  auto values = ReadAllValues(BundleEntryPath(), registry::View::Default);
  EXPECT_EQ(values[L"DisplayName"], Sz(kBundleTitle));
  EXPECT_EQ(values[L"INSTALLDIR"], Sz(InstallFolder()));
  EXPECT_EQ(values[L"InstallLocation"], Sz(InstallFolder()));
  EXPECT_EQ(values[L"UninstallString"], Sz(L"\"" + InstallFolder() + L"Setup\\Setup.exe\" /arp"));
  EXPECT_EQ(values[L"BRAND"], Sz(L"Acme"));
  // Copied from the entry Windows Installer wrote for the main product.
  EXPECT_EQ(values[L"DisplayVersion"], Sz(L"1.0.0"));
  EXPECT_EQ(values[L"Publisher"], Sz(L"Setup Main Publisher"));
  EXPECT_EQ(values[L"HelpLink"], Sz(L"http://help.example.test/main"));
  EXPECT_EQ(values[L"Readme"], Sz(L""));

  const std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"The installation of the setup has been completed successfully!!"), std::wstring::npos);
  EXPECT_NE(log.find(L"Setup ended with (0) Errors , (0) Warnings and (0) Informations"), std::wstring::npos);
  EXPECT_NE(log.find(L"The setup exit code is 0"), std::wstring::npos);
  EXPECT_NE(log.find(L"its user interface actions run without one"), std::wstring::npos);
}

TEST_F(SetupManagerTest, RepairAndRemovalRunTheirCommandLinesAndRemovalDeletesTheEntry) {
  ASSERT_EQ(InstallThroughManager("SetupMainV1"), 0);
  ASSERT_TRUE(arptest::KeyExists(BundleEntryPath(), registry::View::Default));
  // A file of the product goes missing; the repair brings it back.
  ASSERT_TRUE(::DeleteFileW((InstallFolder() + L"readme.txt").c_str()));

  record_->SetExecutionType(SETUPEXECTYPE_REPAIR);
  record_->SetUIMode(false);
  record_->SetInstalledLocation(InstallFolder());
  {
    auto repair = MakeManager(true);
    ASSERT_EQ(repair->LaunchInitializer(&dispatcher_), 1);
    // Outside the wizard the maintenance launcher asks the package for a repair.
    EXPECT_EQ(repair->GetMSIManager()->GetProperty(L"REINSTALL", false), L"ALL");
    EXPECT_EQ(repair->GetMSIManager()->GetProperty(L"REINSTALLMODE", false), L"pecms");
    int missing = 0;
    ASSERT_EQ(repair->PrepareExecution(missing), 1);
    EXPECT_EQ(repair->Execute(SETUPEXECTYPE_REPAIR), 0);
  }
  EXPECT_NE(::GetFileAttributesW((InstallFolder() + L"readme.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(arptest::KeyExists(BundleEntryPath(), registry::View::Default));

  record_->SetExecutionType(SETUPEXECTYPE_REMOVE);
  {
    auto removal = MakeManager(true);
    ASSERT_EQ(removal->LaunchInitializer(&dispatcher_), 1);
    EXPECT_EQ(removal->GetMSIManager()->GetProperty(L"REMOVE", false), L"ALL");
    int blocked = 0;
    ASSERT_EQ(removal->PrepareExecution(blocked), 1);
    EXPECT_EQ(removal->Execute(SETUPEXECTYPE_REMOVE), 0);
  }
  EXPECT_TRUE(InstalledProductName(kMainCode).empty());
  EXPECT_FALSE(arptest::KeyExists(BundleEntryPath(), registry::View::Default));

  const std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"REINSTALL=ALL REINSTALLMODE=pecms"), std::wstring::npos);
  EXPECT_NE(log.find(L"The repair of the setup has been completed successfully!!"), std::wstring::npos);
  EXPECT_NE(log.find(L"The remove of the setup has been completed successfully!!"), std::wstring::npos);
}

TEST_F(SetupManagerTest, MinorUpgradeReinstallsTheNewPackageAndRewritesTheEntry) {
  ASSERT_EQ(InstallThroughManager("SetupMainV1"), 0);
  ASSERT_EQ(ProductInfo(kMainCode, L"PackageCode"), kMainV1PackageCode);

  ASSERT_TRUE(LoadMainBundle("SetupMainV2", kMainCode, SETUPEXECTYPE_MINORUPGRADE));
  record_->SetUIMode(false);
  SetupStartData start;
  start.commandLineProperties[L"INSTALLDIR"] = InstallFolder();
  auto manager = MakeManager(true, start);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  int blocked = 0;
  ASSERT_EQ(manager->PrepareExecution(blocked), 1);
  EXPECT_EQ(manager->Execute(SETUPEXECTYPE_MINORUPGRADE), 0);

  EXPECT_EQ(ProductInfo(kMainCode, L"PackageCode"), kMainV2PackageCode);
  EXPECT_EQ(ProductInfo(kMainCode, L"VersionString"), L"1.0.1");
  auto values = ReadAllValues(BundleEntryPath(), registry::View::Default);
  EXPECT_EQ(values[L"DisplayVersion"], Sz(L"1.0.1"));
  EXPECT_EQ(values[L"DisplayName"], Sz(kBundleTitle));
  const std::wstring log = log_->Text();
  EXPECT_NE(log.find(L"The Minor upgrade of the setup has been completed successfully!!"), std::wstring::npos);
}

TEST_F(SetupManagerTest, HiddenNamesAreKnownBeforeAnyPropertyIsSetOrLogged) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  SetupStartData start;
  start.commandLineProperties[L"SECRET"] = L"TopSecret4711";
  start.commandLineProperties[L"PUBLICPROP"] = L"visible";
  auto manager = MakeManager(true, start);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  // The session has the real value; only the log is masked.
  EXPECT_EQ(manager->GetMSIManager()->GetProperty(L"SECRET", false), L"TopSecret4711");
  std::wstring passedOn = L"PASSWORD=TopSecret4711";
  manager->GetMSIManager()->MaskHiddenProperties(passedOn);
  EXPECT_EQ(passedOn, L"PASSWORD=*****");

  const std::wstring log = log_->Text();
  const size_t found = log.find(L"Hidden property found: name is SECRET");
  const size_t secret = log.find(L"PROPERTY CHANGE: Modifying 'SECRET' property. Its new value: '*****'.");
  ASSERT_NE(found, std::wstring::npos);
  ASSERT_NE(secret, std::wstring::npos);
  EXPECT_LT(found, secret);
  EXPECT_NE(log.find(L"PROPERTY CHANGE: Modifying 'PUBLICPROP' property. Its new value: 'visible'."),
            std::wstring::npos);
  EXPECT_EQ(log.find(L"TopSecret4711"), std::wstring::npos);
}

TEST_F(SetupManagerTest, PackageForAnotherProcessorIsRefused) {
  ASSERT_TRUE(LoadMainBundle("SetupMainArm", kMainArmCode, SETUPEXECTYPE_INSTALLATION));
  std::vector<std::wstring> boxes;
  platform::SetMessageBoxHandler([&boxes](HWND, const std::wstring& text, const std::wstring& caption, UINT) {
    boxes.push_back(caption + L"|" + text);
    return IDOK;
  });
  auto manager = MakeManager(true);
  const int launched = manager->LaunchInitializer(&dispatcher_);
  platform::SetMessageBoxHandler({});
  EXPECT_EQ(launched, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], std::wstring(kBundleTitle) +
                          L" Setup|This installation package is not supported by this processor type. Contact your "
                          L"product vendor.");
  EXPECT_NE(log_->Text().find(L"Error in lauching the Initializer. Exiting the setup.."), std::wstring::npos);
}

TEST_F(SetupManagerTest, ExecutionTypesWithoutLauncherFailTheLaunch) {
  for (int type : {SETUPEXECTYPE_MODIFY, SETUPEXECTYPE_MAJORUPGRADE}) {
    ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, type));
    auto manager = MakeManager(true);
    EXPECT_EQ(manager->LaunchInitializer(&dispatcher_), 0) << type;
  }
}

struct InstallDirCase {
  const char* name;
  const wchar_t* value;
};
void PrintTo(const InstallDirCase& c, std::ostream* os) { *os << c.name; }

class UnusableInstallDir : public SetupManagerTest, public ::testing::WithParamInterface<InstallDirCase> {};

// Only an absolute local folder takes an installation; anything else stops
// the run before any product, whatever set the property.
TEST_P(UnusableInstallDir, StopsBeforeAnyProduct) {
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  auto manager = MakeManager(true);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  manager->GetMSIManager()->SetProperty(L"INSTALLDIR", GetParam().value, false);
  int blocked = 0;
  EXPECT_EQ(manager->PrepareExecution(blocked), 0);
  EXPECT_EQ(blocked, 0);
  EXPECT_TRUE(InstalledProductName(kMainCode).empty());
  EXPECT_NE(log_->Text().find(L"Install directory is not configured correctly. Exiting the setup"),
            std::wstring::npos);
}

INSTANTIATE_TEST_SUITE_P(Values, UnusableInstallDir,
                         ::testing::Values(InstallDirCase{"Empty", L""},
                                           InstallDirCase{"ClimbingRelative", L"..\\..\\..\\windows"},
                                           InstallDirCase{"Relative", L"Program Files\\Acme\\"},
                                           InstallDirCase{"DriveRelative", L"C:Acme\\"},
                                           InstallDirCase{"Device", L"\\\\.\\PhysicalDrive0"},
                                           InstallDirCase{"LongPathPrefix", L"\\\\?\\C:\\Acme\\"},
                                           InstallDirCase{"Share", L"\\\\server\\share\\Acme\\"},
                                           InstallDirCase{"ClimbingAbsolute", L"C:\\Acme\\..\\..\\Windows\\"}),
                         [](const ::testing::TestParamInfo<InstallDirCase>& info) { return std::string(info.param.name); });

struct DiskCase {
  const char* name;
  ULONGLONG freeBytes;
  int expectedPrepared;
  int expectedBlocked;
};

class SetupManagerDiskTest : public SetupManagerTest, public ::testing::WithParamInterface<DiskCase> {};

TEST_P(SetupManagerDiskTest, FreeSpaceMustHoldTheBundleAndFeatureNeeds) {
  // 3072 MB of products (the total the product property update keeps) and
  // 5000 bytes of features on the drive.
  ASSERT_TRUE(LoadMainBundle("SetupMainV1", kMainCode, SETUPEXECTYPE_INSTALLATION));
  record_->GetProductGroupList()->SetTotalSpaceRequired(3072);
  std::wstring askedDrive, costedDrive;
  CSetupManager::Hooks hooks;
  hooks.freeSpaceQuery = [&](const std::wstring& drive, ULONGLONG& freeBytes) {
    askedDrive = drive;
    freeBytes = GetParam().freeBytes;
    return true;
  };
  hooks.featureDriveCost = [&](const std::wstring& drive) -> ULONGLONG {
    costedDrive = drive;
    return 5000;
  };
  SetupStartData start;
  start.commandLineProperties[L"INSTALLDIR"] = InstallFolder();
  auto manager = MakeManager(true, start, hooks);
  ASSERT_EQ(manager->LaunchInitializer(&dispatcher_), 1);
  int blocked = 0;
  EXPECT_EQ(manager->PrepareExecution(blocked), GetParam().expectedPrepared);
  EXPECT_EQ(blocked, GetParam().expectedBlocked);
  EXPECT_EQ(askedDrive, InstallFolder().substr(0, 2) + L"\\");
  EXPECT_EQ(costedDrive, InstallFolder().substr(0, 2));
}

constexpr ULONGLONG kDiskNeed = 3072ull * 1048576 + 5000;

INSTANTIATE_TEST_SUITE_P(Disk, SetupManagerDiskTest,
                         ::testing::Values(DiskCase{"FarTooLittle", 1000, 0, 1},
                                           // Room for 3072 KB is not room for 3072 MB.
                                           DiskCase{"RoomForKilobytesOnly", 3072ull * 1024 * 2, 0, 1},
                                           DiskCase{"OneByteShort", kDiskNeed - 1, 0, 1},
                                           DiskCase{"ExactlyTheNeed", kDiskNeed, 1, 0},
                                           DiskCase{"OneByteMore", kDiskNeed + 1, 1, 0}),
                         [](const ::testing::TestParamInfo<DiskCase>& info) { return std::string(info.param.name); });

struct ShortDriveCase {
  const char* name;
  std::vector<DriveSpace> drives;
  std::wstring expectedShort;
};

class ShortDriveTest : public ::testing::TestWithParam<ShortDriveCase> {};

TEST_P(ShortDriveTest, NamesTheFirstDriveWithTooLittleRoom) {
  EXPECT_EQ(FindShortDrive(GetParam().drives), GetParam().expectedShort);
}

INSTANTIATE_TEST_SUITE_P(
    Drives, ShortDriveTest,
    ::testing::Values(ShortDriveCase{"None", {}, L""},
                      ShortDriveCase{"EqualIsEnough", {{L"C:", 100, 100}}, L""},
                      ShortDriveCase{"OneByteShort", {{L"C:", 100, 99}}, L"C:"},
                      ShortDriveCase{"SecondShort", {{L"C:", 100, 500}, {L"D:", 10, 9}, {L"E:", 10, 0}}, L"D:"},
                      ShortDriveCase{"NothingNeeded", {{L"C:", 0, 0}}, L""}),
    [](const ::testing::TestParamInfo<ShortDriveCase>& info) { return std::string(info.param.name); });

TEST(SpaceRequiredUnit, CountsMegabytesWithoutWrapping) {
  EXPECT_EQ(SpaceRequiredToBytes(1), 1048576ull);
  EXPECT_EQ(SpaceRequiredToBytes(5000), 5000ull * 1048576);
  EXPECT_EQ(SpaceRequiredToBytes(-3), 0ull);
}

}  // namespace
}  // namespace enginetest
