// The resume data file: its folder and name, its exact bytes, a file written
// by one run read back by another, damaged files, and marking the products
// that ran before the restart.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <sddl.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "RecordingEventDispatcher.h"
#include "config/ConfigTestSupport.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/SetupConfigData.h"
#include "engine/CommonUtility.h"
#include "engine/NonFeatureSelectionStore.h"
#include "engine/RebootManager.h"
#include "msi/PropertyString.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "support/TestPaths.h"

namespace {

// Bytes written out by hand, independent of the archive code.
std::string Utf16(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}
std::string U32(uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}
// An archive string shorter than 255 characters.
std::string ShortString(const std::wstring& text) {
  return std::string("\xFF\xFE\xFF", 3) + static_cast<char>(text.size()) + Utf16(text);
}

CNonFeatureSelectionStore& Store() { return CNonFeatureSelectionStore::GetInstance(); }

class ResumeDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = testsupport::MakeScratchFolder(L"Resume" + std::to_wstring(++serial));
    record_ = MakeRecord(folder_ + L"Logs\\Setup.log", L"Vendor/Suite");
    ::CreateDirectoryW((folder_ + L"Logs").c_str(), nullptr);
    Store().ClearNonFeatureSelections();
    log_ = std::make_unique<modeltest::LogCapture>();
  }
  void TearDown() override {
    log_.reset();
    Store().ClearNonFeatureSelections();
    testsupport::RemoveFolder(folder_);
  }

  static std::unique_ptr<CSetupConfigData> MakeRecord(const std::wstring& logName, const std::wstring& key) {
    auto record = std::make_unique<CSetupConfigData>();
    if (!logName.empty()) record->CreateLogFileDetails(logName, L"DEVELOPERINFO", 1, 5);
    record->SetBootstrapperRegistry(key);
    return record;
  }

  std::wstring DataFile() const { return folder_ + L"Logs\\_BootstrapperRestore_Vendor_Suite.dat"; }

  std::wstring folder_;
  std::unique_ptr<CSetupConfigData> record_;
  std::unique_ptr<modeltest::LogCapture> log_;
};

TEST_F(ResumeDataTest, FileNameAndFolderRule) {
  EXPECT_EQ(CCommonUtility::GetResumeDataFilePath(*record_), DataFile());
  EXPECT_EQ(CCommonUtility::GetRebootBatchFilePath(*record_), folder_ + L"Logs\\_BootstrapperReboot.bat");

  // Without log settings the common application data folder is used.
  auto noLog = MakeRecord(L"", L"Suite");
  EXPECT_EQ(CCommonUtility::GetResumeDataFilePath(*noLog),
            platform::GetSpecialFolder(CSIDL_COMMON_APPDATA) + L"\\Halvorsk\\_BootstrapperRestore_Suite.dat");
  // A key that is a registry path still names one file.
  auto nested = MakeRecord(folder_ + L"Logs\\Setup.log", L"Vendor\\Suite:2");
  EXPECT_EQ(CCommonUtility::GetResumeDataFilePath(*nested), folder_ + L"Logs\\_BootstrapperRestore_Vendor_Suite_2.dat");
}

// A known state, byte for byte: the properties are 300 characters long and
// take the long length form; results and selections are in key order.
TEST_F(ResumeDataTest, KnownStateGivesTheExactBytes) {
  const std::wstring properties = L"INSTALLDIR=\"" + std::wstring(287, L'd') + L"\"";
  ASSERT_EQ(properties.size(), 300u);
  record_->SetInstallProperties(properties);
  record_->SetFeatureSelection(L"Main,Docs", L"Extras");
  CRebootManager manager;
  manager.SetProductRebootState(L"2_1", 3010);
  manager.SetProductRebootState(L"1_1", 1);
  manager.SetProductRebootState(L"10_1", 0);
  manager.SetProductRebootState(L"1_1", 1603);  // replaces the earlier result
  Store().SetNonFeatureSelection(L"Samples", 1);
  Store().SetNonFeatureSelection(L"Activation", 0);

  ASSERT_TRUE(CCommonUtility::ArchiveRebootData(*record_, manager));

  std::string expected = std::string("\xFF\xFE\xFF\xFF\x2C\x01", 6) + Utf16(properties);
  expected += ShortString(L"Main,Docs");
  expected += U32(3);
  expected += ShortString(L"10_1") + U32(0);
  expected += ShortString(L"1_1") + U32(1603);
  expected += ShortString(L"2_1") + U32(3010);
  expected += U32(2);
  expected += ShortString(L"Activation") + U32(0);
  expected += ShortString(L"Samples") + U32(1);
  EXPECT_EQ(testsupport::ReadFileBytes(DataFile()), expected);
  EXPECT_EQ(manager.GetInstallProperties(), properties);
  EXPECT_EQ(manager.GetSelectedFeatures(), L"Main,Docs");
}

struct RoundTripCase {
  const char* label;
  std::wstring properties;
  std::wstring features;
  std::map<std::wstring, DWORD> results;
  CNonFeatureSelectionStore::Selections selections;
  // What the MSI manager receives, in order.
  std::vector<std::wstring> setProperties;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.label; }

class ResumeDataRoundTrip : public ResumeDataTest, public ::testing::WithParamInterface<RoundTripCase> {};

// One run archives, another (new record, new managers) restores: the reboot
// manager, the non-feature selections, the MSI properties and the feature
// selection come back as they were, and the file is gone.
TEST_P(ResumeDataRoundTrip, AnotherRunReadsBackTheSameState) {
  const RoundTripCase& c = GetParam();
  record_->SetInstallProperties(c.properties);
  record_->SetFeatureSelection(c.features, L"");
  {
    CRebootManager writer;
    for (const auto& [key, code] : c.results) writer.SetProductRebootState(key, code);
    for (const auto& [name, value] : c.selections) Store().SetNonFeatureSelection(name, value);
    ASSERT_TRUE(CCommonUtility::ArchiveRebootData(*record_, writer));
  }
  Store().ClearNonFeatureSelections();
  Store().SetNonFeatureSelection(L"Stale", 1);  // replaced, not merged

  auto resumed = MakeRecord(folder_ + L"Logs\\Setup.log", L"Vendor/Suite");
  enginetest::CallLog calls;
  enginetest::RecordingMsiManager msi(calls);
  CRebootManager reader;
  reader.SetProductRebootState(L"9_9", 5);  // replaced, not merged
  ASSERT_TRUE(CCommonUtility::RestoreRebootData(*resumed, &msi, &reader));

  EXPECT_EQ(reader.GetInstallProperties(), c.properties);
  EXPECT_EQ(reader.GetSelectedFeatures(), c.features);
  EXPECT_EQ(reader.GetProductResults(), c.results);
  EXPECT_EQ(Store().GetAll(), c.selections);
  EXPECT_EQ(calls.Starting(L"SetProperty("), c.setProperties);
  EXPECT_EQ(resumed->GetSelectedFeatures(), c.features);
  EXPECT_EQ(resumed->GetDeselectedFeatures(), L"");
  EXPECT_EQ(::GetFileAttributesW(DataFile().c_str()), INVALID_FILE_ATTRIBUTES) << "the file serves one resume";
}

RoundTripCase Large() {
  RoundTripCase c{"large", L"BIG=\"" + std::wstring(70000, L'x') + L"\"", L"F1", {}, {}, {}};
  for (int g = 1; g <= 40; ++g) c.results[std::to_wstring(g) + L"_" + std::to_wstring(g % 3)] = 3000u + g;
  c.results[L"40_0"] = 0xFFFFFFFFu;
  c.selections = {{L"Samples", 1}, {L"Runtime", 0}};
  c.setProperties = {L"SetProperty(BIG," + std::wstring(70000, L'x') + L")"};
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    States, ResumeDataRoundTrip,
    ::testing::Values(
        RoundTripCase{"nothing_ran_yet", L"A=\"1\"", L"", {}, {}, {L"SetProperty(A,1)"}},
        RoundTripCase{"products_and_selections",
                      L"INSTALLDIR=\"C:\\Program Files\\Halvorsk\" EMPTY=\"\" URL=\"http://h/?a=b\" LANG=\"1031\"",
                      L"Main,Docs",
                      {{L"1_1", 0}, {L"1_2", 3010}, {L"2_1", 20001}},
                      {{L"Samples", 1}, {L"Activation", 0}},
                      {L"SetProperty(INSTALLDIR,C:\\Program Files\\Halvorsk)", L"SetProperty(EMPTY,)",
                       L"SetProperty(URL,http://h/?a=b)", L"SetProperty(LANG,1031)"}},
        RoundTripCase{"not_ascii",
                      L"NAME=\"Bj\x00f6rk \x65e5\x672c\"",
                      L"F\x00e9ature",
                      {{L"1_\x00e9", 7}},
                      {{L"Pr\x00f6duct", 1}},
                      {L"SetProperty(NAME,Bj\x00f6rk \x65e5\x672c)"}},
        Large()),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.label); });

struct SplitCase {
  const char* label;
  std::wstring text;
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.label; }

class PropertyStringSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PropertyStringSplit, GivesTheAssignmentsInOrder) {
  EXPECT_EQ(msiprops::Split(GetParam().text), GetParam().pairs);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PropertyStringSplit,
    ::testing::Values(SplitCase{"empty", L"", {}},
                      SplitCase{"two", L"A=\"x\" B=\"y\"", {{L"A", L"x"}, {L"B", L"y"}}},
                      SplitCase{"empty_value_keeps_pairs", L"A=\"\" B=\"1\"", {{L"A", L""}, {L"B", L"1"}}},
                      SplitCase{"value_with_equals_and_blanks", L"U=\"a=b c\" D=\"C:\\x y\"",
                                {{L"U", L"a=b c"}, {L"D", L"C:\\x y"}}},
                      SplitCase{"doubled_quotes_inside_value", L"Q=\"say \"\"hi\"\"\" R=\"1\"",
                                {{L"Q", L"say \"hi\""}, {L"R", L"1"}}},
                      SplitCase{"quote_before_blank_inside_value", L"Q=\"a\"\" b\" R=\"1\"",
                                {{L"Q", L"a\" b"}, {L"R", L"1"}}},
                      SplitCase{"extra_blanks", L"  A=\"1\"   B=\"2\"  ", {{L"A", L"1"}, {L"B", L"2"}}},
                      SplitCase{"unquoted_value", L"A=1 B=\"2\"", {{L"A", L"1"}, {L"B", L"2"}}},
                      SplitCase{"unterminated_value", L"A=\"1", {{L"A", L"1"}}},
                      SplitCase{"text_without_assignment", L"A=\"1\" junk", {{L"A", L"1"}}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.label); });

TEST_F(ResumeDataTest, NoPropertiesWritesNoFile) {
  CRebootManager manager;
  manager.SetProductRebootState(L"1_1", 0);
  EXPECT_FALSE(CCommonUtility::ArchiveRebootData(*record_, manager));
  EXPECT_EQ(::GetFileAttributesW(DataFile().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(log_->Count(L"WARNING:\tCCommonUtility::ArchiveRebootData - There are no properties to be saved."), 1u);
}

// The DACL of a file as SDDL text; empty when it cannot be read.
std::wstring FileDacl(const std::wstring& path) {
  DWORD needed = 0;
  ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  if (needed == 0) return {};
  std::vector<BYTE> buffer(needed);
  if (!::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed)) return {};
  LPWSTR text = nullptr;
  if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(buffer.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr)) {
    return {};
  }
  std::wstring result = text;
  ::LocalFree(text);
  return result;
}

// The file holds hidden properties in clear: no other user may read it,
// and a file planted beforehand with an open access list is not reused.
// Windows keeps the list as given ("D:P(A;;FA;;;SY)(A;;FA;;;BA)"); Wine keeps
// only what Unix permissions can say (SYSTEM and the owner, an administrator),
// so the test asks what matters on both: nobody but SYSTEM and the
// administrators is admitted. A file made with the default list admits
// Everyone to read.
TEST_F(ResumeDataTest, FileAdmitsNoOtherUsers) {
  ASSERT_TRUE(testsupport::WriteFileBytes(DataFile(), "planted"));
  ASSERT_NE(FileDacl(DataFile()).find(L";;;WD)"), std::wstring::npos) << "a default file admits Everyone";
  record_->SetInstallProperties(L"PASSWORD=\"secret\"");
  CRebootManager manager;
  ASSERT_TRUE(CCommonUtility::ArchiveRebootData(*record_, manager));
  const std::wstring dacl = FileDacl(DataFile());
  ASSERT_FALSE(dacl.empty());
  EXPECT_NE(dacl.find(L"(A;;FA;;;SY)"), std::wstring::npos) << platform::WideToUtf8(dacl);
  for (const wchar_t* others : {L";;;WD)", L";;;BU)", L";;;AU)", L";;;IU)", L";;;BG)"}) {
    EXPECT_EQ(dacl.find(others), std::wstring::npos) << platform::WideToUtf8(dacl);
  }
}

TEST_F(ResumeDataTest, MissingFolderIsCreated) {
  auto deep = MakeRecord(folder_ + L"New\\Deeper\\Setup.log", L"Suite");
  deep->SetInstallProperties(L"A=\"1\"");
  CRebootManager manager;
  ASSERT_TRUE(CCommonUtility::ArchiveRebootData(*deep, manager));
  EXPECT_NE(::GetFileAttributesW((folder_ + L"New\\Deeper\\_BootstrapperRestore_Suite.dat").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

// A file stands where the folder should be: nothing can be created there.
TEST_F(ResumeDataTest, UnwritableFolderFailsWithTheFileName) {
  ASSERT_TRUE(testsupport::WriteFileBytes(folder_ + L"Blocked", "not a folder"));
  auto blocked = MakeRecord(folder_ + L"Blocked\\Setup.log", L"Suite");
  blocked->SetInstallProperties(L"A=\"1\"");
  CRebootManager manager;
  EXPECT_FALSE(CCommonUtility::ArchiveRebootData(*blocked, manager));
  std::wstring path = folder_ + L"Blocked\\_BootstrapperRestore_Suite.dat";
  EXPECT_EQ(log_->Count(L"ERROR:\t\tCCommonUtility::ArchiveRebootData - Failed to create the file " + path), 1u)
      << log_->Text();
}

TEST_F(ResumeDataTest, EmptyBundleKeyUsesNoFile) {
  auto keyless = MakeRecord(folder_ + L"Logs\\Setup.log", L"  ");
  keyless->SetInstallProperties(L"A=\"1\"");
  CRebootManager manager;
  EXPECT_EQ(CCommonUtility::GetResumeDataFilePath(*keyless), L"");
  EXPECT_FALSE(CCommonUtility::ArchiveRebootData(*keyless, manager));
  EXPECT_EQ(::GetFileAttributesW((folder_ + L"Logs\\_BootstrapperRestore_.dat").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesW((folder_ + L"Logs\\_BootstrapperRestore_  .dat").c_str()), INVALID_FILE_ATTRIBUTES);

  enginetest::CallLog calls;
  enginetest::RecordingMsiManager msi(calls);
  EXPECT_FALSE(CCommonUtility::RestoreRebootData(*keyless, &msi, &manager));
  EXPECT_GE(log_->Count(L"The bundle key name (BootstrapperRegistry) is empty"), 2u);
}

TEST_F(ResumeDataTest, RestoreNeedsBothManagersAndTheFile) {
  enginetest::CallLog calls;
  enginetest::RecordingMsiManager msi(calls);
  CRebootManager manager;
  EXPECT_FALSE(CCommonUtility::RestoreRebootData(*record_, nullptr, &manager));
  EXPECT_FALSE(CCommonUtility::RestoreRebootData(*record_, &msi, nullptr));
  EXPECT_FALSE(CCommonUtility::RestoreRebootData(*record_, &msi, &manager));
  std::wstring text = log_->Text();
  EXPECT_NE(text.find(L"ERROR:\t\tCCommonUtility::RestoreRebootData - MSI Manager is NULL"), std::wstring::npos);
  EXPECT_NE(text.find(L"ERROR:\t\tCCommonUtility::RestoreRebootData - Reboot Manager is NULL"), std::wstring::npos);
  EXPECT_NE(text.find(L"ERROR:\t\tCCommonUtility::RestoreRebootData - Failed to open the file " + DataFile()),
            std::wstring::npos);
}

struct DamageCase {
  const char* label;
  // Turns the valid file's bytes into damaged ones.
  std::string (*damage)(const std::string& valid);
};
void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.label; }

class ResumeDataDamaged : public ResumeDataTest, public ::testing::WithParamInterface<DamageCase> {};

// A damaged file restores nothing at all: the reboot manager, the selections,
// the MSI manager and the record keep what they had; the log names the file.
TEST_P(ResumeDataDamaged, NothingIsRestoredHalfWay) {
  record_->SetInstallProperties(L"A=\"1\" B=\"2\"");
  record_->SetFeatureSelection(L"Main", L"");
  {
    CRebootManager writer;
    writer.SetProductRebootState(L"1_1", 3010);
    writer.SetProductRebootState(L"1_2", 0);
    Store().SetNonFeatureSelection(L"Samples", 1);
    ASSERT_TRUE(CCommonUtility::ArchiveRebootData(*record_, writer));
  }
  std::string valid = testsupport::ReadFileBytes(DataFile());
  ASSERT_FALSE(valid.empty());
  ASSERT_TRUE(testsupport::WriteFileBytes(DataFile(), GetParam().damage(valid)));

  Store().ClearNonFeatureSelections();
  Store().SetNonFeatureSelection(L"Before", 0);
  auto resumed = MakeRecord(folder_ + L"Logs\\Setup.log", L"Vendor/Suite");
  resumed->SetFeatureSelection(L"Earlier", L"Gone");
  enginetest::CallLog calls;
  enginetest::RecordingMsiManager msi(calls);
  CRebootManager reader;
  reader.SetInstallProperties(L"KEEP=\"1\"");
  reader.SetProductRebootState(L"7_7", 7);

  EXPECT_FALSE(CCommonUtility::RestoreRebootData(*resumed, &msi, &reader));

  EXPECT_EQ(reader.GetInstallProperties(), L"KEEP=\"1\"");
  EXPECT_EQ(reader.GetSelectedFeatures(), L"");
  EXPECT_EQ(reader.GetProductResults(), (std::map<std::wstring, DWORD>{{L"7_7", 7}}));
  EXPECT_EQ(Store().GetAll(), (CNonFeatureSelectionStore::Selections{{L"Before", 0}}));
  EXPECT_TRUE(calls.Lines().empty());
  EXPECT_EQ(resumed->GetSelectedFeatures(), L"Earlier");
  EXPECT_EQ(resumed->GetDeselectedFeatures(), L"Gone");
  EXPECT_EQ(log_->Count(L"ERROR:\t\tCCommonUtility::RestoreRebootData - The file " + DataFile() +
                        L" is damaged or incomplete; nothing is restored."),
            1u)
      << log_->Text();
  EXPECT_EQ(::GetFileAttributesW(DataFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, ResumeDataDamaged,
    ::testing::Values(
        DamageCase{"empty", [](const std::string&) { return std::string(); }},
        DamageCase{"first_string_cut", [](const std::string& v) { return v.substr(0, 9); }},
        DamageCase{"count_cut", [](const std::string& v) { return v.substr(0, 4 + 2 * 11 + 4 + 2 * 4 + 2); }},
        DamageCase{"last_byte_missing", [](const std::string& v) { return v.substr(0, v.size() - 1); }},
        DamageCase{"selection_count_missing", [](const std::string& v) {
                     return v.substr(0, v.size() - (4 + 4 + 2 * 7 + 4));
                   }},
        DamageCase{"trailing_byte", [](const std::string& v) { return v + "x"; }},
        DamageCase{"product_count_too_high",
                   [](const std::string& v) {
                     std::string d = v;
                     d[4 + 2 * 11 + 4 + 2 * 4] = 0x7F;  // the low byte of the product result count
                     return d;
                   }},
        DamageCase{"not_an_archive_string", [](const std::string& v) {
                     std::string d = v;
                     d[0] = 0x05;
                     return d;
                   }}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.label); });

// Products of groups and products that are not skipped, with a stored result,
// are marked as executed before the restart with that result.
TEST(RebootManagerApply, MarksTheProductsThatRanBeforeTheRestart) {
  CSetupConfigData record;
  IProductGroupListForParser* groups = record.GetOrCreateProductGroupList(3);
  ASSERT_NE(groups, nullptr);
  auto addGroup = [&](int sequence, bool skipped, int products) {
    IProductGroupForParser* group = groups->AddGroup(L"G", sequence, true, kGroupKindOrdinary);
    group->SetSkipped(skipped);
    IProductListForParser* list = group->GetOrCreateProductList(products);
    for (int p = 1; p <= products; ++p) {
      std::wstring key = std::to_wstring(sequence) + L"_" + std::to_wstring(p);
      IProductAttributesForParser* product =
          list->AddProduct(L"P" + key, L"id", key, kProductTypeExe, p, L"loc", L"cmd", 0, L"");
      product->SetSkipped(false);
    }
  };
  addGroup(1, false, 3);
  addGroup(2, true, 1);
  addGroup(3, false, 1);
  CRebootManager manager;
  manager.SetProductRebootState(L"1_1", 0);
  manager.SetProductRebootState(L"1_3", 20001);
  manager.SetProductRebootState(L"2_1", 3010);  // its group is skipped
  manager.SetProductRebootState(L"9_1", 1);     // no such product

  // One product of the first group is skipped itself.
  IProductGroupList* list = record.GetProductGroupList();
  list->ResetIteration();
  IProductList* first = list->GetNextGroup()->GetProductList();
  first->ResetIteration();
  (void)first->GetNextProduct();
  (void)first->GetNextProduct();
  IProductAttributes* third = first->GetNextProduct();
  third->SetSkipped(true);

  manager.ApplyToProducts(record);

  std::map<std::wstring, std::pair<bool, int>> marks;
  list->ResetIteration();
  while (IProductGroup* group = list->GetNextGroup()) {
    IProductList* products = group->GetProductList();
    products->ResetIteration();
    while (IProductAttributes* product = products->GetNextProduct()) {
      marks[product->GetKey()] = {product->IsExecutedBeforeReboot(), product->GetResultBeforeReboot()};
    }
  }
  EXPECT_EQ(marks[L"1_1"], std::make_pair(true, 0));
  EXPECT_FALSE(marks[L"1_2"].first);
  EXPECT_FALSE(marks[L"1_3"].first) << "a skipped product is not marked";
  EXPECT_FALSE(marks[L"2_1"].first) << "products of a skipped group are not marked";
  EXPECT_FALSE(marks[L"3_1"].first);
}

TEST(RebootManagerApply, NoResultsChangeNothing) {
  CSetupConfigData record;
  IProductGroupForParser* group = record.GetOrCreateProductGroupList(1)->AddGroup(L"G", 1, true, kGroupKindOrdinary);
  (void)group->GetOrCreateProductList(1)->AddProduct(L"P", L"id", L"1_1", kProductTypeExe, 1, L"l", L"c", 0, L"");
  CRebootManager manager;
  manager.ApplyToProducts(record);
  IProductGroupList* list = record.GetProductGroupList();
  list->ResetIteration();
  IProductList* products = list->GetNextGroup()->GetProductList();
  products->ResetIteration();
  EXPECT_FALSE(products->GetNextProduct()->IsExecutedBeforeReboot());
}

}  // namespace
