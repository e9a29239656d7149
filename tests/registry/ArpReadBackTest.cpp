// Start-up read-back of an installed bundle's entry into the record, and the
// source-path rewrite of the unavailable-source dialog.

#include <gtest/gtest.h>

#include <memory>

#include "ArpTestSupport.h"
#include "config/ConfigTestSupport.h"
#include "registry/ArpEntry.h"

namespace arptest {
namespace {

using registry::View;

class ArpReadBack : public arptest::ArpFixture {
 protected:
  void SetUp() override {
    ArpFixture::SetUp();
    ASSERT_TRUE(main_->Write({{L"DisplayVersion", L"3.0"}}));
  }

  // A record as start-up has it before the read-back: only the bundle key name
  // and what the configuration files gave.
  CSetupConfigData& FreshRecord() {
    fresh_ = std::make_unique<CSetupConfigData>();
    fresh_->SetBootstrapperRegistry(settings_.bundleKey);
    fresh_->SetSourcePath(L"E:\\Setup\\");
    fresh_->SetBrand(L"Default");
    fresh_->SetLanguageId(1033);
    return *fresh_;
  }

  std::unique_ptr<CSetupConfigData> fresh_;
};

TEST_F(ArpReadBack, RestoresSourcePathFolderBrandAndLanguage) {
  CSetupConfigData installed;
  arptest::FillRecord(installed, settings_);
  ASSERT_EQ(CArpEntry().WriteArpEntry(installed), 1);
  CSetupConfigData& record = FreshRecord();

  EXPECT_TRUE(CArpEntry().ReadArpSettings(record));
  EXPECT_EQ(CArpEntry().ReadApplicationLanguage(record), 1031);

  EXPECT_EQ(record.GetSourcePath(), L"D:\\Media\\");
  EXPECT_EQ(record.GetInstalledLocation(), L"C:\\ArpTest\\App\\");
  EXPECT_EQ(record.GetBrand(), L"Contoso");
  EXPECT_EQ(record.GetLanguageId(), 1031);
}

TEST_F(ArpReadBack, MissingEntryLeavesTheRecordAsItWas) {
  CSetupConfigData& record = FreshRecord();
  modeltest::LogCapture log;

  EXPECT_FALSE(CArpEntry().ReadArpSettings(record));
  EXPECT_EQ(CArpEntry().ReadApplicationLanguage(record), 0);

  EXPECT_EQ(record.GetSourcePath(), L"E:\\Setup\\");
  EXPECT_EQ(record.GetBrand(), L"Default");
  EXPECT_EQ(record.GetLanguageId(), 1033);
  EXPECT_EQ(log.Count(L"WARNING:\tNot able to open the key " + kRoot + settings_.bundleKey), 2u);
  EXPECT_FALSE(arptest::KeyExists(kRoot + settings_.bundleKey, View::Default));
}

TEST_F(ArpReadBack, EmptyOrMistypedValuesKeepTheCurrentSettings) {
  // An entry damaged by hand: empty strings and a language stored as text.
  ASSERT_TRUE(bundle_->Write({{L"ExePathValue", L""}, {L"INSTALLDIR", L"C:\\Kept\\"}, {L"Language", L"1031"}}));
  CSetupConfigData& record = FreshRecord();
  modeltest::LogCapture log;

  EXPECT_TRUE(CArpEntry().ReadArpSettings(record));
  EXPECT_EQ(CArpEntry().ReadApplicationLanguage(record), 0);

  EXPECT_EQ(record.GetSourcePath(), L"E:\\Setup\\");
  EXPECT_EQ(record.GetInstalledLocation(), L"C:\\Kept\\");
  EXPECT_EQ(record.GetBrand(), L"Default");
  EXPECT_EQ(record.GetLanguageId(), 1033);
  EXPECT_EQ(log.Count(L"The value ExePathValue of the entry " + settings_.bundleKey + L" is missing or empty"), 1u);
  EXPECT_EQ(log.Count(L"The value BRAND of the entry " + settings_.bundleKey + L" is missing or empty"), 1u);
  EXPECT_EQ(log.Count(L"holds no usable Language value"), 1u);
}

TEST_F(ArpReadBack, SourcePathRewriteTouchesOnlyExePathValue) {
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  ASSERT_EQ(CArpEntry().WriteArpEntry(record), 1);
  auto before = arptest::ReadAllValues(kRoot + settings_.bundleKey, View::Default);
  record.SetSourcePath(L"F:\\Found\\Here\\");

  EXPECT_EQ(CArpEntry().ModifySourcePathRegkey(record), 1);

  auto after = arptest::ReadAllValues(kRoot + settings_.bundleKey, View::Default);
  before[L"ExePathValue"] = Sz(L"F:\\Found\\Here\\");
  EXPECT_EQ(after, before);
}

TEST_F(ArpReadBack, SourcePathRewriteRefusesAnEmptyPathAndAMissingEntry) {
  CSetupConfigData record;
  arptest::FillRecord(record, settings_);
  ASSERT_EQ(CArpEntry().WriteArpEntry(record), 1);
  modeltest::LogCapture log;

  record.SetSourcePath(L"");
  EXPECT_EQ(CArpEntry().ModifySourcePathRegkey(record), 0);
  record.SetSourcePath(L"F:\\New\\");
  record.SetBootstrapperRegistry(settings_.bundleKey + L"_gone");
  EXPECT_EQ(CArpEntry().ModifySourcePathRegkey(record), 0);

  EXPECT_EQ(arptest::ReadAllValues(kRoot + settings_.bundleKey, View::Default)[L"ExePathValue"], Sz(L"D:\\Media\\"));
  EXPECT_FALSE(arptest::KeyExists(kRoot + settings_.bundleKey + L"_gone", View::Default));
  EXPECT_EQ(log.Count(L"The source path is empty; the stored one is kept"), 1u);
  EXPECT_EQ(log.Count(L"WARNING:\tNot able to open the key " + kRoot + settings_.bundleKey + L"_gone"), 1u);
}

}  // namespace
}  // namespace arptest
