// The MSI package installer against real installations: progress from Windows
// Installer's own messages, hidden property values kept out of every log,
// the removal command line.

#include <gtest/gtest.h>

#include "ExecutorFixture.h"
#include "PackageCodes.h"
#include "config/IProductAttributes.h"
#include "msi/MSIInstaller.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"

namespace enginetest {
namespace {

class MsiInstallerTest : public ExecutorTest {
 protected:
  DWORD InstallSmallA(const std::string& installCommand) {
    installedByTest_ = {kSmallA};
    EXPECT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\">" +
                           MsiProduct(1, "SmallA", kSmallA, installCommand) + "</ProductGroup>"));
    IProductAttributes* product = FindProduct(L"SmallA");
    if (product == nullptr) return 0xFFFFFFFF;
    CMSIInstaller installer(*record_, &dispatcher_);
    return installer.Execute(*product, product->GetInstallCommand());
  }
};

TEST_F(MsiInstallerTest, ProgressMessagesMoveTheBarToItsEnd) {
  ASSERT_EQ(InstallSmallA(""), 0u);
  // Every position after the last range change, in order.
  std::vector<int> positions;
  int maximum = -1;
  for (const std::wstring& line : dispatcher_.Log().Lines()) {
    if (line.rfind(L"SetProgressRange(0,", 0) == 0) {
      maximum = platform::ToInt(line.substr(19));
      positions.clear();
    } else if (line.rfind(L"SetProgressPos(", 0) == 0) {
      positions.push_back(platform::ToInt(line.substr(15)));
    }
  }
  ASSERT_GT(maximum, 0);
  ASSERT_GE(positions.size(), 2u);
  for (size_t i = 1; i < positions.size(); ++i) EXPECT_LE(positions[i - 1], positions[i]) << i;
  EXPECT_EQ(positions.back(), maximum);
  EXPECT_EQ(dispatcher_.Mapper().GetBar().position, dispatcher_.Mapper().GetBar().maximum);
  // Action descriptions reached the mapper.
  EXPECT_FALSE(dispatcher_.Log().Starting(L"SetActionText(Copying new files)").empty());
}

bool ContainsSecret(const std::string& bytes, const std::wstring& secret) {
  std::string utf8 = platform::WideToUtf8(secret);
  std::string utf16(reinterpret_cast<const char*>(secret.data()), secret.size() * sizeof(wchar_t));
  return bytes.find(utf8) != std::string::npos || bytes.find(utf16) != std::string::npos;
}

TEST_F(MsiInstallerTest, HiddenPropertyValueNeverReachesAnyLog) {
  const std::wstring secret = L"TopSecret42";
  dispatcher_.MsiManager().AddHiddenProperty(L"SECRETPROP");
  dispatcher_.MsiManager().CacheProperty(L"SECRETPROP", secret);
  installedByTest_ = {kSmallA};
  ASSERT_TRUE(LoadBundle("<ProductGroup DisplayName=\"G\" Sequence=\"1\">" +
                         MsiProduct(1, "SmallA", kSmallA, "SECRETPROP=&quot;[SECRETPROP]&quot; COPY=&quot;[SECRETPROP]&quot;") +
                         "</ProductGroup>"));
  record_->SetInstallProperties(L"SECRETPROP=\"" + secret + L"\"");
  IProductAttributes* product = FindProduct(L"SmallA");
  ASSERT_NE(product, nullptr);
  CMSIInstaller installer(*record_, &dispatcher_);
  ASSERT_EQ(installer.Execute(*product, product->GetInstallCommand()), 0u);

  std::wstring setupLog = log_->Text();
  EXPECT_NE(setupLog.find(L"SetupCommand\t : SECRETPROP=\"*****\" COPY=\"*****\""), std::wstring::npos)
      << Utf8(setupLog);
  EXPECT_FALSE(ContainsSecret(Utf8(setupLog), secret));
  std::wstring packageLog = folder_ + L"Logs\\SmallA_Setup.log";
  std::string packageBytes = testsupport::ReadFileBytes(packageLog);
  EXPECT_FALSE(packageBytes.empty());
  EXPECT_FALSE(ContainsSecret(packageBytes, secret));
}

}  // namespace
}  // namespace enginetest
