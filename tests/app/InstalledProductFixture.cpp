#include "InstalledProductFixture.h"

#include "msi/MsiEntryPoints.h"
#include "platform/SystemPaths.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"

namespace apptest {

RecordWithWixSource::RecordWithWixSource(const std::wstring& packageCode, int productType) {
  product = std::make_unique<CProductAttributes>(L"Exec Type", packageCode, L"1_1", productType, 1,
                                                 L"ExecTypeV1.msi", L"", 0, L"");
  product->SetDetails(std::wstring(kExecTypeProductCode) + L" FOO=1", L"", L"", L"", L"", L"", 0, 0, L"", L"");
  product->SetFlags(true, false, true, false, false, false, false);
  record->SetWixSourceProduct(product.get());
}

DWORD RunMsiexec(const std::wstring& arguments) {
  std::wstring command = testsupport::Quote(platform::SystemFilePath(L"msiexec.exe")) + L" " + arguments;
  testsupport::ProcessResult result = testsupport::RunAndCapture(command, 120000);
  EXPECT_TRUE(result.started) << "msiexec did not start";
  EXPECT_FALSE(result.timedOut) << "msiexec did not end";
  return result.exitCode;
}

void InstalledProductTest::SetUp() {
  // A product left behind by an interrupted run would decide every test.
  (void)RunMsiexec(std::wstring(L"/x ") + kExecTypeProductCode + L" /qn");
}

void InstalledProductTest::TearDown() {
  (void)RunMsiexec(std::wstring(L"/x ") + kExecTypeProductCode + L" /qn");
  FreeMsiLibrary();
}

void InstalledProductTest::InstallVersion(int version) {
  std::wstring package = testsupport::PackageFolder() + L"ExecTypeV" + std::to_wstring(version) + L".msi";
  ASSERT_EQ(RunMsiexec(L"/i " + testsupport::Quote(package) + L" /qn"), 0u) << "installing " << version;
}

}  // namespace apptest
