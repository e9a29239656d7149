// A bundle whose wizard is one of the standard WiX UI dialog sets names the
// set's .wxs files and the library's localization files in its
// SetupConfig.xml, where they lie in the shared library. These tests read
// such a bundle the way the start-up does: the configuration, then the
// language's localization files, then every WiX source, then the control
// events authored under UI. Each run lists the dialogs it read and what of
// the set the reader would leave unresolved (written to the test output);
// nothing is expected to be left.

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "config/ConfigTestSupport.h"
#include "config/IIconList.h"
#include "xml/Parser.h"
#include "config/SetupConfigData.h"
#include "config/SetupConfigParser.h"
#include "xml/XmlNode.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"
#include "support/WixSetBundle.h"
#include "ui/style/DialogUnitConverter.h"
#include "wix/WixDataManager.h"
#include "config/WixFileContainer.h"
#include "wix/WixLocalizationReader.h"
#include "wix/WixSourceReader.h"

namespace {

using testsupport::WixUiSet;

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

bool FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The Binary ids the library files declare, in file order.
std::vector<std::wstring> DeclaredBinaries(const std::wstring& bundleFolder, const std::vector<std::wstring>& files) {
  std::vector<std::wstring> ids;
  for (const std::wstring& file : files) {
    CXmlNode root;
    std::wstring error;
    if (!CParser::LoadXmlFile(bundleFolder + file, root, error)) continue;
    if (auto binaries = root.SelectNodes(L"//Binary")) {
      for (const CXmlNode& binary : *binaries) ids.push_back(binary.GetAttribute(L"Id"));
    }
  }
  return ids;
}

std::wstring Join(const std::vector<std::wstring>& parts, const wchar_t* separator = L", ") {
  std::wstring joined;
  for (const std::wstring& part : parts) joined += (joined.empty() ? L"" : separator) + part;
  return joined;
}

// The dialogs the library files define (Dialog elements), sorted.
std::vector<std::wstring> DefinedDialogs(const std::wstring& bundleFolder, const std::vector<std::wstring>& files) {
  std::set<std::wstring> ids;
  for (const std::wstring& file : files) {
    CXmlNode root;
    std::wstring error;
    if (!CParser::LoadXmlFile(bundleFolder + file, root, error)) continue;
    if (auto dialogs = root.SelectNodes(L"//Dialog")) {
      for (const CXmlNode& dialog : *dialogs) ids.insert(dialog.GetAttribute(L"Id"));
    }
  }
  return {ids.begin(), ids.end()};
}

bool ShowsPictures(int type) {
  return type == kWixBitmap || type == kWixIcon || type == kWixPushButton || type == kWixCheckBox ||
         type == kWixRadioButtonGroup;
}

// What a read set still carries that a wizard cannot use as it is:
// references to WiX variables (!(wix.Name)), localization references that
// stayed unresolved, scrollable texts without their text, and pictures whose
// Binary entry is unknown.
std::vector<std::wstring> Unresolved(const CWixDataManager& model, const IIconList* icons) {
  std::vector<std::wstring> findings;
  auto check = [&findings](const std::wstring& where, const std::wstring& text) {
    for (const wchar_t* marker : {L"!(wix.", L"!(loc.", L"$(var.", L"$(loc."}) {
      if (text.find(marker) != std::wstring::npos) findings.push_back(where + L": " + text);
    }
  };
  for (const std::wstring& dialogId : model.GetDialogIds()) {
    const CWixDialog& dialog = *model.GetDialog(dialogId);
    check(dialogId + L" title", dialog.GetTitle());
    for (const auto& control : dialog.GetControls()) {
      const std::wstring where = dialogId + L"/" + control->GetId();
      check(where + L" text", control->GetText());
      for (const WixPublish& publish : control->GetPublishes()) {
        check(where + L" " + publish.event + L"(" + publish.argument + L") condition", publish.condition);
        check(where + L" " + publish.event + L" argument", publish.argument);
      }
      for (const WixCondition& condition : control->GetConditions()) check(where + L" condition", condition.condition);
      if (control->GetType() == kWixScrollableText && control->GetText().empty()) {
        findings.push_back(where + L": ScrollableText without text");
      }
      const std::wstring image = control->GetImageId();
      if (image.empty()) continue;
      if (!ShowsPictures(control->GetType())) {
        findings.push_back(where + L": a control without pictures carries the picture id \"" + image + L"\"");
      } else if (icons == nullptr || icons->GetIconPath(image).empty()) {
        findings.push_back(where + L": picture " + image + L" has no Binary entry");
      }
    }
  }
  return findings;
}

// One bundle read the way the start-up reads it, in one language.
struct BundleRead {
  CSetupConfigData record;
  CDialogUnitConverter converter;
  std::unique_ptr<CWixDataManager> model;
  std::vector<std::wstring> listed;  // the WixFile paths, in the configuration's order
  std::vector<std::wstring> failed;  // those the reader refused
  int attached = 0;                  // control events under UI that found their control
  bool logged = false;               // whether the log could be recorded
  std::wstring log;                  // what the reading logged
};

std::unique_ptr<BundleRead> Read(const testsupport::WixSetBundle& bundle, LANGID language) {
  auto read = std::make_unique<BundleRead>();
  read->record.SetExecutionType(0);
  CSetupConfigParser config(read->record, read->record);
  if (!config.StartParse(bundle.SetupConfigPath())) return nullptr;
  read->record.SetSetupFolder(bundle.Folder());
  CWixFileContainer* files = read->record.GetWixFileContainer();
  if (files == nullptr) return nullptr;
  (void)files->Rewind();

  modeltest::LogCapture log;
  read->logged = log.IsActive();
  CWixLocalizationReader strings(read->record, read->record);
  if (!strings.LoadWixLocalization(language)) return nullptr;
  read->model = std::make_unique<CWixDataManager>(read->record);
  CWixSourceReader reader(read->record, read->record, *read->model, read->converter);
  for (std::wstring file = files->GetNextPath(); !file.empty(); file = files->GetNextPath()) {
    read->listed.push_back(file);
    if (reader.ParseWixFile(bundle.Folder() + file) != 1) read->failed.push_back(file);
  }
  read->attached = reader.CompleteParse();
  read->log = log.Text();
  return read;
}

class WixSetSources : public ::testing::TestWithParam<WixUiSet> {};

TEST_P(WixSetSources, ReadFromTheBundleConfigurationWhereTheLibraryLies) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet& set = GetParam();
  testsupport::WixSetBundle bundle(set, L"sources_" + platform::Utf8ToWide(set.name));
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  const std::unique_ptr<BundleRead> read = Read(bundle, 1033);
  ASSERT_NE(read, nullptr);
  ASSERT_TRUE(read->logged);
  const CWixDataManager& model = *read->model;

  std::cout << "[ WixUI_" << set.name << " ] " << model.GetDialogCount()
            << " dialogs read: " << Utf8(Join(model.GetDialogIds())) << "\n";
  const std::vector<std::wstring> findings = Unresolved(model, read->record.GetIconList());
  for (const std::wstring& finding : findings) std::cout << "    unresolved " << Utf8(finding) << "\n";
  ::testing::Test::RecordProperty("dialogs", Utf8(Join(model.GetDialogIds())));
  ::testing::Test::RecordProperty("unresolved", static_cast<int>(findings.size()));

  EXPECT_EQ(read->listed, bundle.WixFilePaths());
  EXPECT_EQ(read->failed, std::vector<std::wstring>()) << Utf8(read->log);
  EXPECT_EQ(read->log.find(L"ERROR"), std::wstring::npos) << Utf8(read->log);
  // Every localization id the set's files use is in WixUI_en-us.wxl.
  EXPECT_EQ(read->log.find(L"does not exist"), std::wstring::npos) << Utf8(read->log);
  // Every dialog of the set's files was read, and nothing else.
  EXPECT_EQ(model.GetDialogIds(), DefinedDialogs(bundle.Folder(), read->listed));
  // Each Publish under UI (the set's page order) found its dialog and control.
  EXPECT_GT(read->attached, 0);

  const CWixDialog* first = model.GetDialog(set.firstDialog);
  ASSERT_NE(first, nullptr) << Utf8(set.firstDialog);
  EXPECT_EQ(first->GetTitle(), L"[ProductName] Setup");
  for (const testsupport::WixSetPageText& text : testsupport::WixSetFirstPageTexts(set)) {
    const CWixControl* control = first->FindControl(text.control);
    ASSERT_NE(control, nullptr) << Utf8(text.control);
    const std::wstring shown = testsupport::WixUiLibraryString(L"WixUI_en-us.wxl", text.stringId);
    EXPECT_EQ(control->GetText(), testsupport::WithoutTextStyle(shown)) << Utf8(text.control);
  }
  // The set's Cancel leads to CancelDlg from the first page on.
  const CWixControl* cancel = first->FindControl(L"Cancel");
  ASSERT_NE(cancel, nullptr);
  ASSERT_FALSE(cancel->GetPublishes().empty());
  EXPECT_EQ(cancel->GetPublishes().front().event, L"SpawnDialog");
  EXPECT_EQ(cancel->GetPublishes().front().argument, L"CancelDlg");
  EXPECT_NE(model.GetDialog(L"CancelDlg"), nullptr);

  // Nothing of the set is left unresolved: its WiX variables are bound (from
  // the set's own WixVariable elements, else the library's defaults), every
  // scrollable text has its text and every picture its Binary entry.
  for (const std::wstring& finding : findings) EXPECT_EQ(finding.find(L"!(wix."), std::wstring::npos) << Utf8(finding);
  EXPECT_EQ(findings, std::vector<std::wstring>());
  // The license pages hold the library's License.rtf, byte for byte, as rich text without a text style.
  const std::string license = testsupport::ReadFileBytes(testsupport::WixUiLibraryFolder() + L"License.rtf");
  ASSERT_FALSE(license.empty());
  std::wstring licenseText;
  for (char c : license) licenseText.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  int licenses = 0;
  for (const std::wstring& dialogId : model.GetDialogIds()) {
    for (const auto& control : model.GetDialog(dialogId)->GetControls()) {
      if (control->GetType() != kWixScrollableText) continue;
      ++licenses;
      EXPECT_TRUE(platform::StartsWith(control->GetText(), L"{\\rtf")) << Utf8(dialogId);
      EXPECT_EQ(control->GetText(), licenseText) << Utf8(dialogId);
      EXPECT_EQ(control->GetTextStyle(), L"") << Utf8(dialogId);
    }
  }
  EXPECT_GE(licenses, 1);
  // Every Binary of the set's files names an existing file, by an absolute
  // path beside the library; the banner among them.
  const IIconList* icons = read->record.GetIconList();
  ASSERT_NE(icons, nullptr);
  const std::vector<std::wstring> binaries = DeclaredBinaries(bundle.Folder(), read->listed);
  EXPECT_NE(std::find(binaries.begin(), binaries.end(), L"WixUI_Bmp_Banner"), binaries.end());
  for (const std::wstring& id : binaries) {
    const std::wstring path = icons->GetIconPath(id);
    EXPECT_TRUE(path.size() > 2 && path[1] == L':') << Utf8(id) << " at " << Utf8(path);
    EXPECT_TRUE(FileExists(path)) << Utf8(id) << " at " << Utf8(path);
  }
}

// The bundle's second language reads the library's German strings.
TEST_P(WixSetSources, FirstPageReadsInGerman) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const WixUiSet& set = GetParam();
  testsupport::WixSetBundle bundle(set, L"german_" + platform::Utf8ToWide(set.name));
  ASSERT_EQ(Utf8(bundle.Problem()), "");
  const std::unique_ptr<BundleRead> read = Read(bundle, 1031);
  ASSERT_NE(read, nullptr);
  ASSERT_TRUE(read->logged);
  EXPECT_EQ(read->failed, std::vector<std::wstring>()) << Utf8(read->log);
  EXPECT_EQ(read->log.find(L"does not exist"), std::wstring::npos) << Utf8(read->log);
  const CWixDialog* first = read->model->GetDialog(set.firstDialog);
  ASSERT_NE(first, nullptr) << Utf8(set.firstDialog);
  for (const testsupport::WixSetPageText& text : testsupport::WixSetFirstPageTexts(set)) {
    const CWixControl* control = first->FindControl(text.control);
    ASSERT_NE(control, nullptr) << Utf8(text.control);
    const std::wstring german =
        testsupport::WithoutTextStyle(testsupport::WixUiLibraryString(L"WixUI_de-de.wxl", text.stringId));
    const std::wstring english =
        testsupport::WithoutTextStyle(testsupport::WixUiLibraryString(L"WixUI_en-us.wxl", text.stringId));
    EXPECT_EQ(control->GetText(), german) << Utf8(text.control);
    EXPECT_NE(german, english) << Utf8(text.control);
  }
}

TEST_P(WixSetSources, TheSetsFileListNamesEveryPageOfItsOrder) {
  const std::wstring missing = testsupport::WixUiLibraryMissingReason();
  if (!missing.empty()) GTEST_SKIP() << Utf8(missing);
  const std::vector<std::wstring> files = testsupport::WixSetSourceFiles(GetParam().setFile);
  ASSERT_FALSE(files.empty());
  EXPECT_EQ(files.front(), GetParam().setFile);
  // The set's first page, the common pieces and the exit pages come with every set.
  for (const std::wstring& needed : {std::wstring(GetParam().firstDialog) + L".wxs", std::wstring(L"Common.wxs"),
                                     std::wstring(L"CancelDlg.wxs"), std::wstring(L"ExitDialog.wxs"),
                                     std::wstring(L"UserExit.wxs"), std::wstring(L"FatalError.wxs")}) {
    EXPECT_NE(std::find(files.begin(), files.end(), needed), files.end()) << Utf8(needed);
  }
  EXPECT_EQ(std::set<std::wstring>(files.begin(), files.end()).size(), files.size());
}

INSTANTIATE_TEST_SUITE_P(Sets, WixSetSources, ::testing::ValuesIn(testsupport::WixUiSets()),
                         [](const ::testing::TestParamInfo<WixUiSet>& info) {
                           return testsupport::WixUiSetName(info.param);
                         });

TEST(WixSetBundlePaths, RelativePathClimbsToTheCommonFolder) {
  EXPECT_EQ(testsupport::RelativePath(L"Z:\\work\\repo\\build\\b1\\", L"Z:\\work\\shared\\wixui\\"),
            L"..\\..\\..\\shared\\wixui");
  EXPECT_EQ(testsupport::RelativePath(L"Z:\\a\\b", L"z:\\A\\b\\c.wxs"), L"c.wxs");
  EXPECT_EQ(testsupport::RelativePath(L"C:\\a\\", L"Z:\\a\\"), L"");
}

}  // namespace
