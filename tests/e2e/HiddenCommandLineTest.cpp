// A secret given on the command line for a hidden property of the main
// package never reaches the setup log in clear, although the command line is
// logged before the package's session exists.

#include <gtest/gtest.h>

#include <string>

#include "platform/StringUtil.h"
#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"

namespace {

constexpr DWORD kTimeoutMs = 60000;

TEST(StartupLog, HiddenPropertyValuesAreMaskedInTheLoggedCommandLine) {
  testsupport::BundleFixture bundle(L"hiddencmd");
  const std::wstring logPath = bundle.Folder() + L"logs\\Setup.log";
  std::string config = testsupport::MinimalSetupConfig(logPath);
  // The main package (tests/packages/setupmain) names SECRET in MsiHiddenProperties.
  const std::string product = "<Product Sequence=\"1\" ProductName=\"Only\"/>";
  const std::string mainProduct = "<Product Sequence=\"1\" Type=\"MSI\" ProductName=\"Main\" WixSource=\"true\" Location=\"" +
                                  platform::WideToUtf8(testsupport::PackageFolder()) +
                                  "SetupMainV1.msi\" UninstallCommand=\"{6B1D0C3A-1F00-4000-8000-00000005E701}\"/>";
  const size_t at = config.find(product);
  ASSERT_NE(at, std::string::npos);
  config.replace(at, product.size(), mainProduct);
  ASSERT_TRUE(bundle.WriteConfigurationFile(L"SetupConfig.xml", config));
  bundle.WriteMinimalLookFiles();

  testsupport::RunningProcess process = testsupport::StartProcess(
      testsupport::Quote(bundle.SetupExe()) + L" /NOMUTEX SECRET=TopSecret4711 PUBLIC=visible");
  testsupport::ProcessResult result = process.Wait(kTimeoutMs);
  ASSERT_FALSE(result.timedOut);

  const std::wstring log = testsupport::ReadUtf16File(logPath);
  EXPECT_NE(log.find(L"Command Line Parameters are : /NOMUTEX SECRET=***** PUBLIC=visible"), std::wstring::npos)
      << platform::WideToUtf8(log);
  EXPECT_EQ(log.find(L"TopSecret4711"), std::wstring::npos);
}

}  // namespace
