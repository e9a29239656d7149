// The child entries of applied patches: keyed by the patch's own code from
// its package, never by the code of an installed product (that key is
// Windows Installer's own entry of the product), and removed with the bundle.

#include <gtest/gtest.h>

#include <ostream>

#include "PatchPackageFile.h"
#include "RecordingRegistrar.h"
#include "SetupManagerFixture.h"
#include "config/ExecutionType.h"
#include "engine/PatchExecutor.h"
#include "engine/RemoveExecutor.h"
#include "msi/MsiEntryPoints.h"

namespace enginetest {
namespace {

const std::wstring kPatchCode = L"{6B1D0C3A-1F05-4000-8000-00000005E7F1}";
const std::wstring kReplacedPatchCode = L"{6B1D0C3A-1F05-4000-8000-00000005E7F0}";

class PatchRegistration : public CPatchExecutor {
 public:
  using CPatchExecutor::CPatchExecutor;
  using CInstallExecutor::AddAppliedPatch;
  using CInstallExecutor::RegisterAppliedPatches;
};

class PatchRemoval : public CRemoveExecutor {
 public:
  using CRemoveExecutor::CRemoveExecutor;
  using CRemoveExecutor::PrepareRun;
  using CRemoveExecutor::UpdateRegistry;
};

class PatchEntryTest : public SetupManagerTest {
 protected:
  void SetUp() override {
    SetupManagerTest::SetUp();
    LoadMsiLibrary();
  }
  // A bundle with the main package and the patch "Fix" of it, whose
  // uninstall command names the main product (as a patch's usually does).
  [[nodiscard]] bool LoadPatchBundle(int executionType) {
    const std::string patch = "<Product Sequence=\"2\" Type=\"MSP\" ProductName=\"Fix\" Location=\"" +
                              Utf8(folder_) + "Fix.msp\" UninstallCommand=\"" + Utf8(kMainCode) +
                              " MSIPATCHREMOVE=Fix\" MainProductPatch=\"true\"/>";
    return LoadMainBundle("SetupMainV1", kMainCode, executionType, patch);
  }
  [[nodiscard]] std::vector<std::wstring> Registrations() {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : dispatcher_.Log().Lines()) {
      if (line.find(L"Entry") != std::wstring::npos) lines.push_back(line);
    }
    return lines;
  }
};

struct KeyCase {
  const char* name;
  bool writePackage;
  std::wstring revisionNumber;
  std::wstring expectedKey;
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class PatchEntryKeyTest : public PatchEntryTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(PatchEntryKeyTest, ChildEntryIsKeyedByThePatchItself) {
  const KeyCase& c = GetParam();
  ASSERT_TRUE(LoadPatchBundle(SETUPEXECTYPE_PATCH));
  if (c.writePackage) {
    ASSERT_TRUE(WritePatchPackage(folder_ + L"Fix.msp", c.revisionNumber));
  }
  RecordingRegistrar registrar(dispatcher_.Log(), true);
  PatchRegistration executor(*record_, &dispatcher_);
  executor.SetBundleRegistrar(&registrar);
  executor.AddAppliedPatch(*FindProduct(L"Fix"));
  EXPECT_TRUE(executor.RegisterAppliedPatches());
  EXPECT_EQ(Registrations(), std::vector<std::wstring>{L"AddPatchEntry(" + c.expectedKey + L")"});

  // The removal deletes the same key with the bundle's entry.
  record_->SetExecutionType(SETUPEXECTYPE_REMOVE);
  PatchRemoval removal(*record_, &dispatcher_);
  removal.SetBundleRegistrar(&registrar);
  removal.PrepareRun();
  EXPECT_TRUE(removal.UpdateRegistry());
  EXPECT_EQ(Registrations(), (std::vector<std::wstring>{L"AddPatchEntry(" + c.expectedKey + L")",
                                                         L"RemoveBundleEntry(" + c.expectedKey + L")"}));
}

INSTANTIATE_TEST_SUITE_P(
    Packages, PatchEntryKeyTest,
    ::testing::Values(KeyCase{"OwnCode", true, kPatchCode, kPatchCode},
                      // A patch lists the patches it replaces after its own code.
                      KeyCase{"OwnCodeBeforeReplacedOnes", true, kPatchCode + kReplacedPatchCode, kPatchCode},
                      // Without a readable code the patch is known by its name.
                      KeyCase{"NoPackage", false, L"", L"Fix"},
                      KeyCase{"NoCodeInPackage", true, L"not a code", L"Fix"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(PatchEntryTest, NoChildEntryIsWrittenUnderAnInstalledProductsCode) {
  ASSERT_EQ(InstallThroughManager("SetupMainV1"), 0);
  ASSERT_TRUE(LoadPatchBundle(SETUPEXECTYPE_PATCH));
  // A package whose code is the installed main product's.
  ASSERT_TRUE(WritePatchPackage(folder_ + L"Fix.msp", kMainCode));
  RecordingRegistrar registrar(dispatcher_.Log(), true);
  PatchRegistration executor(*record_, &dispatcher_);
  executor.SetBundleRegistrar(&registrar);
  executor.AddAppliedPatch(*FindProduct(L"Fix"));
  EXPECT_FALSE(executor.RegisterAppliedPatches());
  EXPECT_TRUE(Registrations().empty());
  EXPECT_NE(log_->Text().find(L"The key " + kMainCode + L" of the patch Fix is the code of an installed product"),
            std::wstring::npos);
}

}  // namespace
}  // namespace enginetest
