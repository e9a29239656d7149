// The main packages of the WiX UI dialog set bundles (tests/packages/wixsets),
// seen by Windows Installer itself: run with its full user interface, each
// announces the first page of its set, carries the properties the set reads
// and the feature levels the sets choose between, and installs nothing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <msidefs.h>

#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/WixSetBundle.h"

namespace {

using testsupport::WixUiSet;

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

// The dialogs Windows Installer asked to show, in order; the first one is
// refused (2), which ends the sequence as a user's Cancel would.
struct ShownDialogs {
  std::vector<std::wstring> names;
};

int WINAPI RecordShowDialog(LPVOID context, UINT messageType, LPCWSTR message) {
  if ((messageType & 0xFF000000u) != static_cast<UINT>(INSTALLMESSAGE_SHOWDIALOG)) return 0;
  static_cast<ShownDialogs*>(context)->names.push_back(message != nullptr ? message : L"");
  return 2;
}

// Full internal user interface with the recording handler while it lives;
// the process-wide settings go back afterwards.
class ShowDialogCapture {
 public:
  explicit ShowDialogCapture(ShownDialogs& shown)
      : previousLevel_(MsiSetInternalUIStub(INSTALLUILEVEL_FULL, nullptr)),
        previousHandler_(MsiSetExternalUIStub(RecordShowDialog, 0x7FFF, &shown)) {}
  ~ShowDialogCapture() {
    (void)MsiSetExternalUIStub(previousHandler_, 0, nullptr);
    (void)MsiSetInternalUIStub(previousLevel_, nullptr);
  }
  ShowDialogCapture(const ShowDialogCapture&) = delete;
  ShowDialogCapture& operator=(const ShowDialogCapture&) = delete;

 private:
  INSTALLUILEVEL previousLevel_;
  INSTALLUI_HANDLERW previousHandler_;
};

std::wstring Property(MSIHANDLE session, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD length = 1024;
  if (MsiGetPropertyStub(session, name, buffer, &length) != ERROR_SUCCESS) return L"<unreadable>";
  return buffer;
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

bool IsInstalled(const std::wstring& productCode) {
  wchar_t buffer[256] = {};
  DWORD length = 256;
  return MsiGetProductInfoStub(productCode.c_str(), INSTALLPROPERTY_INSTALLEDPRODUCTNAME, buffer, &length) ==
         ERROR_SUCCESS;
}

std::wstring PackageCode(const std::wstring& package) {
  platform::UniqueMsiHandle summary;
  if (MsiGetSummaryInformationStub(0, package.c_str(), 0, summary.Put()) != ERROR_SUCCESS) return L"<no summary>";
  UINT type = 0;
  INT number = 0;
  FILETIME time{};
  wchar_t buffer[64] = {};
  DWORD length = 64;
  if (MsiSummaryInfoGetPropertyStub(summary.Get(), PID_REVNUMBER, &type, &number, &time, buffer, &length) !=
      ERROR_SUCCESS) {
    return L"<no revision number>";
  }
  return buffer;
}

class WixSetPackage : public ::testing::TestWithParam<WixUiSet> {
 protected:
  void SetUp() override {
    LoadMsiLibrary();
    // A package whose product is installed opens as the installed copy.
    if (IsInstalled(GetParam().productCode)) {
      (void)MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
      (void)MsiConfigureProductExStub(GetParam().productCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT, L"");
    }
  }
};

TEST_P(WixSetPackage, FullInterfaceShowsTheSetsFirstPageAndInstallsNothing) {
  const WixUiSet& set = GetParam();
  const std::wstring package = testsupport::WixSetPackagePath(set);
  ASSERT_NE(::GetFileAttributesW(package.c_str()), INVALID_FILE_ATTRIBUTES) << Utf8(package);
  ShownDialogs shown;
  {
    ShowDialogCapture capture(shown);
    platform::UniqueMsiHandle session;
    ASSERT_EQ(MsiOpenPackageStub(package.c_str(), session.Put()), static_cast<UINT>(ERROR_SUCCESS));
    EXPECT_EQ(MsiDoActionStub(session.Get(), L"INSTALL"), static_cast<UINT>(ERROR_INSTALL_USEREXIT));
  }
  ASSERT_FALSE(shown.names.empty());
  EXPECT_EQ(shown.names.front(), set.firstDialog);
  EXPECT_FALSE(IsInstalled(set.productCode));
}

TEST_P(WixSetPackage, CarriesTheSetsPropertiesAndFixedCodes) {
  const WixUiSet& set = GetParam();
  const std::wstring package = testsupport::WixSetPackagePath(set);
  EXPECT_EQ(PackageCode(package), set.packageCode);
  platform::UniqueMsiHandle session;
  (void)MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  ASSERT_EQ(MsiOpenPackageStub(package.c_str(), session.Put()), static_cast<UINT>(ERROR_SUCCESS));
  for (const wchar_t* action : {L"CostInitialize", L"FileCost", L"CostFinalize"}) {
    ASSERT_EQ(MsiDoActionStub(session.Get(), action), static_cast<UINT>(ERROR_SUCCESS)) << Utf8(action);
  }
  EXPECT_EQ(Property(session.Get(), L"ProductCode"), set.productCode);
  EXPECT_EQ(Property(session.Get(), L"ProductName"), testsupport::WixSetProductName(set));
  EXPECT_EQ(Property(session.Get(), L"WixUI_Mode"), platform::Utf8ToWide(set.name));
  EXPECT_EQ(Property(session.Get(), L"DefaultUIFont"), L"WixUI_Font_Normal");

  // InstallDirDlg (InstallDir, Advanced) edits the folder WIXUI_INSTALLDIR names.
  const std::wstring installDir = Property(session.Get(), L"WIXUI_INSTALLDIR");
  const std::wstring name = platform::Utf8ToWide(set.name);
  if (name == L"InstallDir" || name == L"Advanced") {
    ASSERT_FALSE(installDir.empty());
    EXPECT_EQ(WithoutTrailingBackslash(Property(session.Get(), installDir.c_str())),
              WithoutTrailingBackslash(Property(session.Get(), L"ProgramFiles64Folder")) + L"\\SetupTestWixUI" +
                  name);
  } else {
    EXPECT_EQ(installDir, L"");
  }

  // The feature tree: Extras only at the install level of Mondo's Complete.
  struct Expected {
    const wchar_t* feature;
    INSTALLSTATE action;
  };
  for (const Expected& expected : {Expected{L"Main", INSTALLSTATE_LOCAL}, Expected{L"Docs", INSTALLSTATE_LOCAL},
                                   Expected{L"Extras", INSTALLSTATE_UNKNOWN}}) {
    INSTALLSTATE installed = INSTALLSTATE_UNKNOWN;
    INSTALLSTATE action = INSTALLSTATE_UNKNOWN;
    ASSERT_EQ(MsiGetFeatureStateStub(session.Get(), expected.feature, &installed, &action),
              static_cast<UINT>(ERROR_SUCCESS))
        << Utf8(expected.feature);
    EXPECT_EQ(action, expected.action) << Utf8(expected.feature);
  }
}

// WixUI_Advanced's own actions choose the per-machine folder before costing:
// the package asks for ALLUSERS 2, which Windows Installer turns into a
// per-machine installation (ALLUSERS 1) for an administrator (the test
// prefix's token is one), so APPLICATIONFOLDER is the program files folder
// with the application's folder name.
TEST(WixSetPackageAdvanced, FolderActionsChooseThePerMachineFolder) {
  LoadMsiLibrary();
  const WixUiSet& set = testsupport::WixUiSets().back();
  ASSERT_EQ(std::string(set.name), "Advanced");
  platform::UniqueMsiHandle session;
  (void)MsiSetInternalUIStub(INSTALLUILEVEL_NONE, nullptr);
  ASSERT_EQ(MsiOpenPackageStub(testsupport::WixSetPackagePath(set).c_str(), session.Put()),
            static_cast<UINT>(ERROR_SUCCESS));
  ASSERT_EQ(MsiSetPropertyStub(session.Get(), L"ACTION", L"INSTALL"), static_cast<UINT>(ERROR_SUCCESS));
  for (const wchar_t* action : {L"CostInitialize", L"FileCost", L"WixSetDefaultPerUserFolder",
                                L"WixSetDefaultPerMachineFolder", L"WixSetPerMachineFolder", L"CostFinalize"}) {
    ASSERT_EQ(MsiDoActionStub(session.Get(), action), static_cast<UINT>(ERROR_SUCCESS)) << Utf8(action);
  }
  const std::wstring expected = WithoutTrailingBackslash(Property(session.Get(), L"ProgramFiles64Folder")) + L"\\" +
                                Property(session.Get(), L"ApplicationFolderName");
  EXPECT_EQ(WithoutTrailingBackslash(Property(session.Get(), L"WixPerMachineFolder")), expected);
  EXPECT_EQ(WithoutTrailingBackslash(Property(session.Get(), L"APPLICATIONFOLDER")), expected);
  EXPECT_EQ(Property(session.Get(), L"Privileged"), L"1");
  EXPECT_EQ(Property(session.Get(), L"ALLUSERS"), L"1");
  EXPECT_EQ(Property(session.Get(), L"WixAppFolder"), L"WixPerMachineFolder");
}

INSTANTIATE_TEST_SUITE_P(Sets, WixSetPackage, ::testing::ValuesIn(testsupport::WixUiSets()),
                         [](const ::testing::TestParamInfo<WixUiSet>& info) {
                           return testsupport::WixUiSetName(info.param);
                         });

}  // namespace
