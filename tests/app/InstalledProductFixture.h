#pragma once
// Tests that need a product installed by the real Windows Installer of the
// test prefix: ExecTypeV1.msi and ExecTypeV2.msi are one product in two
// packages. The fixture removes the product before and after each test, and
// builds configuration records whose WiX-source product is that product.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/ProductAttributes.h"
#include "config/SetupConfigData.h"

namespace apptest {

inline const wchar_t kExecTypeProductCode[] = L"{6B1D0C3A-1F00-4000-8000-0000000000B1}";
inline const wchar_t kExecTypePackageCodeV1[] = L"{6B1D0C3A-1F00-4000-8000-0000000000D1}";
inline const wchar_t kExecTypePackageCodeV2[] = L"{6B1D0C3A-1F00-4000-8000-0000000000D2}";

// A record whose WiX-source product has this package code and type; its
// uninstall command names the exec-type product.
struct RecordWithWixSource {
  RecordWithWixSource(const std::wstring& packageCode, int productType);
  std::unique_ptr<CSetupConfigData> record = std::make_unique<CSetupConfigData>();
  std::unique_ptr<CProductAttributes> product;
};

// Runs the system's msiexec.exe with these arguments; returns its exit code.
DWORD RunMsiexec(const std::wstring& arguments);

class InstalledProductTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Installs ExecTypeV<version>.msi silently; asserts success.
  void InstallVersion(int version);
};

}  // namespace apptest
