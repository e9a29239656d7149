#include "SetupManagerFixture.h"

#include "PackageCodes.h"
#include "config/ExecutionType.h"
#include "registry/ArpEntry.h"
#include "registry/ArpTestSupport.h"
#include "registry/RegistryUtil.h"

namespace enginetest {

void SetupManagerTest::SetUp() {
  ExecutorTest::SetUp();
  bundleKey_ = arptest::UniqueName(L"SetupManagerBundle");
}

void SetupManagerTest::TearDown() {
  dispatcher_.UseMsiManager(nullptr);
  (void)registry::DeleteKeyTree(BundleEntryPath(), registry::View::Default);
  ExecutorTest::TearDown();
}

std::wstring SetupManagerTest::BundleEntryPath() const { return std::wstring(CArpEntry::kUninstallRoot) + bundleKey_; }

bool SetupManagerTest::LoadMainBundle(const std::string& packageName, const std::wstring& productCode,
                                      int executionType, const std::string& extraProducts,
                                      const std::string& productAttributes) {
  const std::string groups =
      "<ProductGroup Sequence=\"1\" DisplayName=\"Main\">" +
      MsiProduct(1, packageName, productCode, "INSTALLDIR=&quot;[INSTALLDIR]&quot;",
                 "WixSource=\"true\" MainProduct=\"true\" RepairCommand=\"REINSTALL=ALL REINSTALLMODE=pecms\" " +
                     productAttributes) +
      extraProducts + "</ProductGroup>";
  if (!LoadBundle(groups)) return false;
  record_->SetBootstrapperRegistry(bundleKey_);
  record_->SetProductName(kBundleTitle);
  record_->SetMaintenanceExePath(L"Setup\\Setup.exe");
  record_->SetInstallLocation(L"[InstallDir]");
  record_->SetExecutionType(executionType);
  record_->SetRegisterableSetup(true);
  return record_->GetWixSourceProduct() != nullptr;
}

std::unique_ptr<CSetupManager> SetupManagerTest::MakeManager(bool silent, SetupStartData start,
                                                             CSetupManager::Hooks hooks) {
  auto manager = std::make_unique<CSetupManager>(*record_, silent, std::move(start), std::move(hooks));
  dispatcher_.UseMsiManager(manager->GetMSIManager());
  return manager;
}

int SetupManagerTest::InstallThroughManager(const std::string& packageName) {
  if (!LoadMainBundle(packageName, kMainCode, SETUPEXECTYPE_INSTALLATION)) return -1;
  installedByTest_.push_back(kMainCode);
  SetupStartData start;
  start.commandLineProperties[L"INSTALLDIR"] = InstallFolder();
  auto manager = MakeManager(true, start);
  if (manager->LaunchInitializer(&dispatcher_) != 1) return -2;
  int blocked = 0;
  if (manager->PrepareExecution(blocked) != 1) return -3;
  return manager->Execute(SETUPEXECTYPE_INSTALLATION);
}

}  // namespace enginetest
