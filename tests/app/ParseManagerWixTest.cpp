// The parse manager's reading of the bundle's WiX sources: the whole list at
// start-up and a single file on its own (the pre-install sources).

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/CommandLineParser.h"
#include "app/ParseManager.h"
#include "config/BSLocalizationConfigData.h"
#include "config/ConfigTestSupport.h"
#include "config/SetupConfigData.h"
#include "config/WixFileContainer.h"
#include "support/TestPaths.h"
#include "wix/WixControl.h"
#include "wix/WixDataManager.h"
#include "wix/WixDialog.h"

namespace {

constexpr char kHead[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">";
constexpr char kTail[] = "</Wix>";

// A dialog whose button's event is authored under UI, beside the dialog.
std::string PageWithUiPublish(const std::string& dialogId) {
  return std::string(kHead) + "<Fragment><UI><Dialog Id=\"" + dialogId +
         "\" Width=\"370\" Height=\"270\" Title=\"T\"><Control Id=\"Next\" Type=\"PushButton\" X=\"0\" Y=\"0\" "
         "Width=\"9\" Height=\"9\" Text=\"Next\"/></Dialog><Publish Dialog=\"" + dialogId +
         "\" Control=\"Next\" Event=\"NewDialog\" Value=\"LaterDlg\">1</Publish></UI></Fragment>" + kTail;
}

class ParseManagerWixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testsupport::MakeScratchFolder(L"ParseManagerWix");
    record_.SetSetupFolder(folder_);
    log_ = std::make_unique<modeltest::LogCapture>();
  }
  void TearDown() override {
    log_.reset();
    testsupport::RemoveFolder(folder_);
  }
  CParseManager& Manager() {
    if (!manager_) manager_ = std::make_unique<CParseManager>(record_, parser_, texts_, CParseManager::Records{});
    return *manager_;
  }
  size_t PublishCount(const std::wstring& dialogId) {
    const CWixDialog* dialog = Manager().GetOrCreateWixDataManager().GetDialog(dialogId);
    const CWixControl* next = dialog != nullptr ? dialog->FindControl(L"Next") : nullptr;
    return next != nullptr ? next->GetPublishes().size() : 0;
  }

  std::wstring folder_;
  CSetupConfigData record_;
  CCommandLineParser parser_{&record_};
  CBSLocalizationConfigData texts_;
  std::unique_ptr<modeltest::LogCapture> log_;
  std::unique_ptr<CParseManager> manager_;
};

TEST_F(ParseManagerWixTest, SingleFileGetsTheEventsAuthoredUnderUi) {
  ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + L"Pre.wxs", PageWithUiPublish("PreDlg")));
  ASSERT_TRUE(Manager().ParseWixFile(L"Pre.wxs"));
  EXPECT_EQ(PublishCount(L"PreDlg"), 1u);
}

// An empty Path is a file that cannot be read: the reading stops there with
// the error instead of ending quietly and leaving out the files after it.
TEST_F(ParseManagerWixTest, EmptyPathInTheListIsTheErrorOfAMissingFile) {
  ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + L"A.wxs", PageWithUiPublish("ADlg")));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + L"B.wxs", PageWithUiPublish("BDlg")));
  CWixFileContainer* files = record_.GetOrCreateWixFileContainer(3);
  ASSERT_NE(files, nullptr);
  files->AddPath(L"A.wxs");
  files->AddPath(L"");
  files->AddPath(L"B.wxs");
  EXPECT_FALSE(Manager().StartParseWixFiles());
  EXPECT_EQ(log_->Count(L"CParseManager::StartParseWixFiles() - The WixFile entry 2 has an empty Path."), 1u)
      << log_->Text();
  EXPECT_EQ(log_->Count(L"ERROR:\t\tCParseManager::StartParseWixFiles() - Parsing failed for the wix file, \r\n"), 1u)
      << log_->Text();
  EXPECT_EQ(Manager().GetOrCreateWixDataManager().GetDialog(L"BDlg"), nullptr);
}

TEST_F(ParseManagerWixTest, EveryListedFileIsRead) {
  ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + L"A.wxs", PageWithUiPublish("ADlg")));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + L"B.wxs", PageWithUiPublish("BDlg")));
  CWixFileContainer* files = record_.GetOrCreateWixFileContainer(2);
  ASSERT_NE(files, nullptr);
  files->AddPath(L"A.wxs");
  files->AddPath(L"B.wxs");
  EXPECT_TRUE(Manager().StartParseWixFiles());
  EXPECT_EQ(PublishCount(L"ADlg"), 1u);
  EXPECT_EQ(PublishCount(L"BDlg"), 1u);
}

}  // namespace
