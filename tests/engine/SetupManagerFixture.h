#pragma once
// A bundle around the setup manager's main package (tests/packages/setupmain):
// the main product as the bundle's WixSource and main product, an own
// Add/Remove Programs key name per test (removed again), and the product
// uninstalled at the end when a test installed it.

#include <memory>
#include <string>

#include "ExecutorFixture.h"
#include "engine/SetupManager.h"
#include "msi/MSIManager.h"

namespace enginetest {

inline const std::wstring kMainCode = L"{6B1D0C3A-1F00-4000-8000-00000005E701}";
inline const std::wstring kMainUICode = L"{6B1D0C3A-1F00-4000-8000-00000005E702}";
inline const std::wstring kMainArmCode = L"{6B1D0C3A-1F00-4000-8000-00000005E703}";
inline const std::wstring kMainV1PackageCode = L"{6B1D0C3A-1F04-4000-8000-00000005E7A1}";
inline const std::wstring kMainV2PackageCode = L"{6B1D0C3A-1F04-4000-8000-00000005E7A2}";
inline const wchar_t kBundleTitle[] = L"Setup Test Bundle";

class SetupManagerTest : public ExecutorTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads a bundle whose main product is the package `packageName` with
  // `productCode`, for the execution type; `extraProducts` adds products to its group.
  [[nodiscard]] bool LoadMainBundle(const std::string& packageName, const std::wstring& productCode,
                                    int executionType, const std::string& extraProducts = "",
                                    const std::string& productAttributes = "");
  // A setup manager for the loaded bundle; the dispatcher hands out its session.
  [[nodiscard]] std::unique_ptr<CSetupManager> MakeManager(bool silent, SetupStartData start = {},
                                                           CSetupManager::Hooks hooks = {});
  // Installs the main package through a setup manager, silently; the run result.
  [[nodiscard]] int InstallThroughManager(const std::string& packageName);

  // Uninstall key of the bundle's entry (full path below HKLM).
  [[nodiscard]] std::wstring BundleEntryPath() const;
  [[nodiscard]] std::wstring InstallFolder() const { return folder_ + L"App\\"; }

  std::wstring bundleKey_;
};

}  // namespace enginetest
