#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <tuple>
#include <vector>

#include "ConfigTestSupport.h"
#include "XmlTestFiles.h"
#include "config/IBrandDetailsList.h"
#include "config/SetupConfigData.h"
#include "config/SilentConfigData.h"
#include "config/SilentConfigParser.h"
#include "config/WixFileContainer.h"

namespace {

using modeltest::LogCapture;

// Records what the silent record applies, in order.
class RecordingTarget : public IPropertyTarget {
 public:
  void SetProperty(const std::wstring& name, const std::wstring& value, bool indirect) override {
    calls.emplace_back(name, value, indirect);
  }
  std::vector<std::tuple<std::wstring, std::wstring, bool>> calls;
};

class ConfigParseSilent : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = testsupport::MakeScratchFolder(L"ConfigParseSilent"); }
  void TearDown() override { testsupport::RemoveFolder(folder_); }

  [[nodiscard]] bool Parse(const std::string& body) {
    const std::wstring path =
        configtest::WriteXml(folder_, L"SilentConfig.xml", "<?xml version=\"1.0\"?><SilentConfig>" + body + "</SilentConfig>");
    CSilentConfigParser parser(silent_, record_);
    return parser.StartParse(path);
  }

  // The value stored for a property, found through the read face.
  [[nodiscard]] std::wstring Property(const std::wstring& name) const {
    RecordingTarget target;
    silent_.ApplyGeneralProperties(target);
    for (const auto& [n, value, indirect] : target.calls) {
      if (n == name) return value;
    }
    return L"<absent>";
  }

  std::wstring folder_;
  CSetupConfigData record_;
  CSilentConfigData silent_;
};

TEST_F(ConfigParseSilent, OnlyARootElementLeavesTheStartValues) {
  ASSERT_TRUE(Parse(""));
  EXPECT_FALSE(silent_.IsShowIndicator());
  EXPECT_FALSE(silent_.IsShowErrorDialog());
  RecordingTarget target;
  silent_.ApplyGeneralProperties(target);
  EXPECT_TRUE(target.calls.empty());
  std::wstring value = L"untouched";
  EXPECT_EQ(silent_.GetKeyValue(L"AddInfo_1603", value), -1);
  EXPECT_EQ(value, L"untouched");
  EXPECT_EQ(silent_.GetWixFileContainer(), nullptr);
}

TEST_F(ConfigParseSilent, GeneralSettingsFlags) {
  const struct {
    const char* errorDialog;
    const char* indicator;
    bool showErrorDialog;
    bool showIndicator;
  } cases[] = {
      {"true", "YES", true, true},
      {"1", "on", false, false},
      {"TRUE", "", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.errorDialog) + "/" + c.indicator);
    ASSERT_TRUE(Parse(std::string("<GeneralSettings><ShowErrorDialog Value=\"") + c.errorDialog +
                      "\"/><ShowIndicator Value=\"" + c.indicator + "\"/></GeneralSettings>"));
    EXPECT_EQ(silent_.IsShowErrorDialog(), c.showErrorDialog);
    EXPECT_EQ(silent_.IsShowIndicator(), c.showIndicator);
  }
}

TEST_F(ConfigParseSilent, SourcesPropertiesAndKeyValuesReachTheRecord) {
  ASSERT_TRUE(Parse(
      "<WixSource><WixFile Path=\"SetupData\\Wix\\Silent.wxs\"/><WixFile Path=\"SetupData\\Wix\\Features.wxs\"/>"
      "</WixSource>"
      "<GeneralProperties>"
      "<Property Id=\"B\" Value=\"first\"/><Property Id=\"A\" Value=\"1\"/><Property Id=\"B\" Value=\"second\"/>"
      "<Property Id=\"a\" Value=\"lower\"/>"
      "</GeneralProperties>"
      "<KeyValues><KeyValue Id=\"AddInfo_1603\" Value=\"See the log.\"/><KeyValue Id=\"Empty\"/></KeyValues>"));
  CWixFileContainer* files = silent_.GetWixFileContainer();
  ASSERT_NE(files, nullptr);
  ASSERT_EQ(files->Rewind(), 2);
  EXPECT_EQ(files->GetNextPath(), L"SetupData\\Wix\\Silent.wxs");
  EXPECT_EQ(files->GetNextPath(), L"SetupData\\Wix\\Features.wxs");

  RecordingTarget target;
  silent_.ApplyGeneralProperties(target);
  using Call = std::tuple<std::wstring, std::wstring, bool>;
  EXPECT_EQ(target.calls, (std::vector<Call>{{L"A", L"1", false}, {L"B", L"second", false}, {L"a", L"lower", false}}));

  std::wstring value;
  EXPECT_EQ(silent_.GetKeyValue(L"AddInfo_1603", value), 1);
  EXPECT_EQ(value, L"See the log.");
  EXPECT_EQ(silent_.GetKeyValue(L"Empty", value), 1);
  EXPECT_EQ(value, L"");
}

TEST_F(ConfigParseSilent, BrandPropertyOnlyReplacesAnUnconfiguredSelection) {
  const struct {
    bool brandsConfigured;
    const wchar_t* before;
    const char* id;
    const wchar_t* after;
  } cases[] = {
      {true, L"", "BRAND", L"LITE"},
      {true, L"Unknown", "Brand", L"LITE"},
      {true, L"PRO", "brand", L"PRO"},
      {false, L"", "BRAND", L""},
      {true, L"", "BRANDING", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.id) + (c.brandsConfigured ? " with brands" : " without brands"));
    CSetupConfigData record;
    if (c.brandsConfigured) {
      IBrandDetailsList* brands = record.GetOrCreateBrandDetailsList();
      brands->AddBrand(L"Acme Pro", L"PRO", false, L"", L"b.bmp", L"", L"", L"");
      brands->AddBrand(L"Acme Lite", L"LITE", false, L"", L"b.bmp", L"", L"", L"");
    }
    record.SetBrand(c.before);
    CSilentConfigData silent;
    const std::wstring path = configtest::WriteXml(
        folder_, L"SilentConfig.xml",
        std::string("<S><GeneralProperties><Property Id=\"") + c.id + "\" Value=\"LITE\"/></GeneralProperties></S>");
    CSilentConfigParser parser(silent, record);
    ASSERT_TRUE(parser.StartParse(path));
    EXPECT_EQ(record.GetBrand(), c.after);
  }
}

TEST_F(ConfigParseSilent, InstallDirLosesBlanksAroundThePathAndEveryFolder) {
  ASSERT_TRUE(Parse(
      "<GeneralProperties>"
      "<Property Id=\"INSTALLDIR\" Value=\"  C:\\ Program Files \\\tAcme Suite \\ \"/>"
      "<Property Id=\"OTHERDIR\" Value=\" C:\\ Keep \"/>"
      "</GeneralProperties>"));
  EXPECT_EQ(Property(L"INSTALLDIR"), L"C:\\Program Files\\Acme Suite\\");
  EXPECT_EQ(Property(L"OTHERDIR"), L" C:\\ Keep ");

  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } paths[] = {
      {L"", L""},
      {L"   ", L""},
      {L" \\\\server \\ share \\x", L"\\\\server\\share\\x"},
      {L"D:\\Apps", L"D:\\Apps"},
  };
  for (const auto& p : paths) EXPECT_EQ(CSilentConfigParser::TrimPathBlanks(p.in), p.out) << p.in;
}

TEST_F(ConfigParseSilent, PropertyValuesExpandFolderReferences) {
  wchar_t localAppData[MAX_PATH] = {};
  ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, localAppData, CSIDL_LOCAL_APPDATA, FALSE));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"SILENT_TEST_VALUE", L"from env"));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"SILENT_TEST_UNSET", nullptr));
  ASSERT_TRUE(Parse(
      "<GeneralProperties>"
      "<Property Id=\"LOCAL\" Value=\"%LocalAppDataFolder%\\Acme\"/>"
      "<Property Id=\"ENV\" Value=\"[%SILENT_TEST_VALUE%] and %SILENT_TEST_VALUE%\"/>"
      "<Property Id=\"UNSET\" Value=\"%SILENT_TEST_UNSET%\\x %SILENT_TEST_VALUE%\"/>"
      "<Property Id=\"PERCENT\" Value=\"100%\"/>"
      "</GeneralProperties>"));
  EXPECT_EQ(Property(L"LOCAL"), std::wstring(localAppData) + L"\\Acme");
  EXPECT_EQ(Property(L"ENV"), L"[from env] and from env");
  EXPECT_EQ(Property(L"UNSET"), L"%SILENT_TEST_UNSET%\\x from env");
  EXPECT_EQ(Property(L"PERCENT"), L"100%");
  ::SetEnvironmentVariableW(L"SILENT_TEST_VALUE", nullptr);
}

TEST_F(ConfigParseSilent, UnreadableFilesLogTheLoaderText) {
  LogCapture log;
  ASSERT_TRUE(log.IsActive());
  CSilentConfigParser parser(silent_, record_);
  const std::wstring missing = folder_ + L"SilentConfig.xml";
  EXPECT_FALSE(parser.StartParse(missing));
  const std::wstring malformed = configtest::WriteXml(folder_, L"Bad.xml", "<SilentConfig><KeyValues>");
  EXPECT_FALSE(parser.StartParse(malformed));
  EXPECT_EQ(log.Count(L"ERROR:\t\tCParser::LoadXmlFile() - Could not find the file path " + missing + L" ."), 1u);
  EXPECT_EQ(log.Count(L"ERROR:\t\tXml Parse Error information : File name: " + malformed), 1u);
}

}  // namespace
