#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "ConfigTestSupport.h"
#include "SetupConfigFixture.h"
#include "log/ILogFileDetails.h"
#include "platform/UniqueResource.h"

namespace {

using modeltest::LogCapture;
using configtest::SetupConfigSections;

constexpr int kAppend = 0;
constexpr int kOverwrite = 1;

std::string GeneralWith(const std::string& settings) {
  return "<General>" + settings + "<Logfile Name=\"C:\\Logs\\Setup.log\" Level=\"USERINFO\"/></General>";
}

class ConfigParseGeneral : public configtest::SetupConfigTest {};

TEST_F(ConfigParseGeneral, EverySettingReachesTheRecord) {
  SetupConfigSections sections;
  sections.general = GeneralWith(
      "<SkinningEnabled Value=\"TRUE\"/>"
      "<StyleConfigPath Value=\"SetupData\\Configuration\\StyleConfig.xml\"/>"
      "<MainDialogConfigPath Value=\"SetupData\\Configuration\\ConfigForMainDialog.xml\"/>"
      "<MaintenanceExePath Value=\"[CommonFilesFolder]Acme\\Setup.exe\"/>"
      "<YOffsetOfSelectionTree Value=\"14\"/>"
      "<BootstrapperRegistry Value=\"AcmeSuite\"/>"
      "<RC_BinaryPath Value=\"SetupData\\Binary\"/>"
      "<InstallLocation Value=\"[ProgramFilesFolder]Acme\"/>"
      "<WindowsInstaller Value=\"Redist\\WindowsInstaller-KB893803-v2-x86.exe\"/>"
      "<PathLength Value=\"120\"/>"
      "<SourcePathMaxLength Value=\"200\"/>"
      "<SourcePathMaxUnicode Value=\"-1\"/>"
      "<RegisterableSetup Value=\"False\"/>"
      "<EnableAccessibility Value=\"true\"/>"
      "<MSIMutexTimeout Value=\"30\"/>"
      "<InstallerPackageType Value=\"x64\"/>"
      "<Reboot Value=\"true\" InstallMode=\"IMR\" AccumulateConditionalReboot=\"TRUE\"/>");
  ASSERT_TRUE(Parse(sections));

  EXPECT_TRUE(CSetupConfigParser::IsSkinningEnabled());
  EXPECT_EQ(record_->GetStyleConfigPath(), L"SetupData\\Configuration\\StyleConfig.xml");
  EXPECT_EQ(record_->GetMainDialogConfigPath(), L"SetupData\\Configuration\\ConfigForMainDialog.xml");
  EXPECT_EQ(record_->GetMaintenanceExePath(), L"[CommonFilesFolder]Acme\\Setup.exe");
  EXPECT_EQ(record_->GetYOffsetOfSelectionTree(), 14);
  EXPECT_EQ(record_->GetBootstrapperRegistry(), L"AcmeSuite");
  EXPECT_EQ(record_->GetRCBinaryPath(), L"SetupData\\Binary");
  EXPECT_EQ(record_->GetInstallLocation(), L"[ProgramFilesFolder]Acme");
  EXPECT_EQ(record_->GetWindowsInstallerPath(), L"Redist\\WindowsInstaller-KB893803-v2-x86.exe");
  EXPECT_EQ(record_->GetPathLength(), 120);
  EXPECT_EQ(record_->GetSourcePathMaxLength(), 200);
  EXPECT_EQ(record_->GetSourcePathMaxUnicode(), -1);
  EXPECT_FALSE(record_->IsRegisterableSetup());
  EXPECT_TRUE(record_->IsAccessibilityEnabled());
  EXPECT_EQ(record_->GetMSIMutexTimeout(), 30);
  EXPECT_EQ(record_->GetPlatform(), L"x64");
  EXPECT_TRUE(record_->IsRebootEnabled());
  EXPECT_EQ(record_->GetRebootInstallMode(), L"IMR");
  EXPECT_TRUE(record_->IsAccumulateConditionalReboot());
  ASSERT_NE(record_->GetLogFileDetails(), nullptr);
  EXPECT_EQ(record_->GetLogFileDetails()->GetLevel(), L"USERINFO");
}

TEST_F(ConfigParseGeneral, OnlyALogfileLeavesTheStartValues) {
  SetupConfigSections sections;
  sections.general = GeneralWith("<Unknown Value=\"5\"/>");
  ASSERT_TRUE(Parse(sections));
  EXPECT_EQ(record_->GetPathLength(), 0);
  EXPECT_EQ(record_->GetSourcePathMaxLength(), 0);
  EXPECT_EQ(record_->GetMSIMutexTimeout(), 0);
  EXPECT_EQ(record_->GetYOffsetOfSelectionTree(), 0);
  EXPECT_TRUE(record_->IsRegisterableSetup());
  EXPECT_FALSE(record_->IsAccessibilityEnabled());
  EXPECT_EQ(record_->GetPlatform(), L"x86");
  EXPECT_FALSE(record_->IsRebootEnabled());
  EXPECT_FALSE(record_->IsAccumulateConditionalReboot());
  EXPECT_EQ(record_->GetRebootInstallMode(), L"");
}

TEST_F(ConfigParseGeneral, ValueRules) {
  const struct {
    const char* settings;
    std::function<bool(CSetupConfigData&)> holds;
  } cases[] = {
      {"<InstallerPackageType Value=\"X64\"/>", [](CSetupConfigData& r) { return r.GetPlatform() == L"x86"; }},
      {"<InstallerPackageType Value=\"64\"/>", [](CSetupConfigData& r) { return r.GetPlatform() == L"x64"; }},
      {"<InstallerPackageType Value=\"x86\"/>", [](CSetupConfigData& r) { return r.GetPlatform() == L"x86"; }},
      {"<RegisterableSetup Value=\"FALSE\"/>", [](CSetupConfigData& r) { return !r.IsRegisterableSetup(); }},
      {"<RegisterableSetup Value=\"no\"/>", [](CSetupConfigData& r) { return r.IsRegisterableSetup(); }},
      {"<EnableAccessibility Value=\"TRUE\"/>", [](CSetupConfigData& r) { return r.IsAccessibilityEnabled(); }},
      {"<EnableAccessibility Value=\"yes\"/>", [](CSetupConfigData& r) { return !r.IsAccessibilityEnabled(); }},
      {"<PathLength Value=\" 80px\"/>", [](CSetupConfigData& r) { return r.GetPathLength() == 80; }},
      {"<PathLength Value=\"long\"/>", [](CSetupConfigData& r) { return r.GetPathLength() == 0; }},
      {"<PathLength value=\"80\"/>", [](CSetupConfigData& r) { return r.GetPathLength() == 0; }},
      {"<pathlength Value=\"80\"/>", [](CSetupConfigData& r) { return r.GetPathLength() == 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    ResetRecord();
    SetupConfigSections sections;
    sections.general = GeneralWith(c.settings);
    ASSERT_TRUE(Parse(sections));
    EXPECT_TRUE(c.holds(*record_));
  }
}

TEST_F(ConfigParseGeneral, RebootElement) {
  const struct {
    const char* reboot;
    bool enabled;
    const wchar_t* installMode;
    bool accumulate;
  } cases[] = {
      {"", false, L"", false},
      {"<Reboot/>", false, L"", false},
      {"<Reboot InstallMode=\"IU\"/>", false, L"IU", false},
      {"<Reboot Value=\"TRUE\" AccumulateConditionalReboot=\"true\"/>", true, L"", true},
      {"<Reboot value=\"true\" INSTALLMODE=\"M\" accumulateconditionalreboot=\"True\"/>", true, L"M", true},
      {"<Reboot Value=\"yes\" AccumulateConditionalReboot=\"yes\" Other=\"1\"/>", false, L"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reboot);
    ResetRecord();
    SetupConfigSections sections;
    sections.general = GeneralWith(c.reboot);
    ASSERT_TRUE(Parse(sections));
    EXPECT_EQ(record_->IsRebootEnabled(), c.enabled);
    EXPECT_EQ(record_->GetRebootInstallMode(), c.installMode);
    EXPECT_EQ(record_->IsAccumulateConditionalReboot(), c.accumulate);
  }
}

TEST_F(ConfigParseGeneral, LogfileAttributes) {
  const struct {
    const char* logfile;
    int executionType;
    const wchar_t* name;
    int mode;
    int maxLength;
  } cases[] = {
      // A plain first installation keeps the configured mode.
      {"<Logfile Name=\"C:\\L\\a.log\" Mode=\"append\"/>", 0, L"C:\\L\\a.log", kAppend, 10},
      {"<Logfile Name=\"C:\\L\\a.log\" Mode=\"rotate\"/>", 0, L"C:\\L\\a.log", kOverwrite, 10},
      {"<Logfile Name=\"C:\\L\\a.log\"/>", 0, L"C:\\L\\a.log", kOverwrite, 10},
      {"<Logfile NAME=\"C:\\L\\b.log\" mode=\"Overwrite\" maxlengthoffile=\" 3MB\"/>", 0, L"C:\\L\\b.log", kOverwrite,
       3},
      {"<Logfile Name=\"\" MaxLengthOfFile=\"big\"/>", 0, L"", kOverwrite, 0},
      // Any other run (and a run whose type is not known yet) continues the log.
      {"<Logfile Name=\"C:\\L\\a.log\" Mode=\"OVERWRITE\"/>", 8, L"C:\\L\\a.log", kAppend, 10},
      {"<Logfile Name=\"C:\\L\\a.log\" Mode=\"OVERWRITE\"/>", 3, L"C:\\L\\a.log", kAppend, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.logfile);
    ResetRecord();
    record_->SetExecutionType(c.executionType);
    SetupConfigSections sections;
    sections.general = std::string("<General>") + c.logfile + "</General>";
    ASSERT_TRUE(Parse(sections));
    const ILogFileDetails* details = record_->GetLogFileDetails();
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->GetName(), c.name);
    EXPECT_EQ(details->GetMode(), c.mode);
    EXPECT_EQ(details->GetMaxLengthOfFile(), c.maxLength);
  }
}

TEST_F(ConfigParseGeneral, LogfileNameExpandsFolderReferences) {
  SetupConfigSections sections;
  sections.general = "<General><Logfile Name=\"%CommonAppDataFolder%\\Acme\\Setup.log\"/></General>";
  ASSERT_TRUE(Parse(sections));
  const std::wstring name = record_->GetLogFileDetails()->GetName();
  EXPECT_EQ(name.find(L'%'), std::wstring::npos);
  EXPECT_EQ(record_->GetLogFileDetails()->GetFileName(), L"Setup.log");
  EXPECT_GT(name.size(), std::wstring(L"\\Acme\\Setup.log").size());
}

TEST_F(ConfigParseGeneral, APendingResumeForcesAppendOnAFreshInstallation) {
  struct Case {
    const char* name;
    CSetupConfigParser::RunStart start;
    int expectedMode;
  };
  const Case cases[] = {{"Fresh", CSetupConfigParser::RunStart::kFresh, kOverwrite},
                        {"ResumePending", CSetupConfigParser::RunStart::kResumePending, kAppend}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetRecord();
    record_->SetExecutionType(0);
    SetupConfigSections sections;
    sections.general = "<General><Logfile Name=\"C:\\L\\a.log\" Mode=\"OVERWRITE\"/></General>";
    ASSERT_TRUE(Parse(sections, c.start));
    EXPECT_EQ(record_->GetLogFileDetails()->GetMode(), c.expectedMode);
  }
}

TEST_F(ConfigParseGeneral, TheRunOnceKeyIsNotReadByTheParser) {
  // The resume command in the RunOnce key is the application's business: the
  // parser follows what it is told, so a fresh start keeps OVERWRITE.
  platform::UniqueHKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr),
            ERROR_SUCCESS);
  const wchar_t value[] = L"C:\\unused.exe";
  ASSERT_EQ(::RegSetValueExW(key.Get(), L"BS_Reboot", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value)),
            ERROR_SUCCESS);
  record_->SetExecutionType(0);
  SetupConfigSections sections;
  sections.general = "<General><Logfile Name=\"C:\\L\\a.log\" Mode=\"OVERWRITE\"/></General>";
  const bool parsed = Parse(sections, CSetupConfigParser::RunStart::kFresh);
  ::RegDeleteValueW(key.Get(), L"BS_Reboot");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(record_->GetLogFileDetails()->GetMode(), kOverwrite);
}

TEST_F(ConfigParseGeneral, FailuresLogTheSectionTextAndStop) {
  const struct {
    const char* name;
    std::string general;
  } cases[] = {
      {"no General", ""},
      {"no Logfile", "<General><PathLength Value=\"5\"/></General>"},
      {"Logfile without attributes", "<General><StyleConfigPath Value=\"s.xml\"/><Logfile/></General>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetRecord();
    SetupConfigSections sections;
    sections.general = c.general;
    sections.preCondition = "<PreCondition><Process List=\"a.exe\" Condition=\"1\"/></PreCondition>";
    sections.dialogs = "<PreInstallDialogs><Dialog Sequence=\"1\" Id=\"BrandDlg\" WixPath=\"x\"/></PreInstallDialogs>";
    LogCapture log;
    ASSERT_TRUE(log.IsActive());
    EXPECT_FALSE(Parse(sections));
    EXPECT_EQ(log.Count(L"ERROR:\t\tCSetupConfigParser::StartParse() - Error in parsing general section."), 1u);
    // The section before General was read; nothing after it was.
    EXPECT_NE(record_->GetPreconditionProcessCheckList(), nullptr);
    EXPECT_EQ(record_->GetLogFileDetails(), nullptr);
    EXPECT_EQ(record_->GetPreInstallDialogList(), nullptr);
    EXPECT_EQ(record_->GetBrandDetailsList(), nullptr);
    EXPECT_EQ(record_->GetProductGroupList(), nullptr);
  }
}

TEST_F(ConfigParseGeneral, UnreadableFileLogsTheLoaderText) {
  const std::wstring missing = folder_ + L"Missing.xml";
  LogCapture log;
  ASSERT_TRUE(log.IsActive());
  CSetupConfigParser parser(*record_, *record_);
  EXPECT_FALSE(parser.StartParse(missing));
  const std::wstring malformed = configtest::WriteXml(folder_, L"Bad.xml", "<SetupConfig><General></SetupConfig>");
  EXPECT_FALSE(parser.StartParse(malformed));
  const std::wstring text = log.Text();
  EXPECT_NE(text.find(L"ERROR:\t\tCParser::LoadXmlFile() - Could not find the file path " + missing + L" ."),
            std::wstring::npos);
  EXPECT_NE(text.find(L"ERROR:\t\tXml Parse Error information : File name: " + malformed),
            std::wstring::npos);
}

TEST_F(ConfigParseGeneral, SectionsLogStartAndCompletionAtDebugLevel) {
  LogCapture log;
  ASSERT_TRUE(log.IsActive());
  ASSERT_TRUE(Parse(SetupConfigSections()));
  for (const wchar_t* line : {L"Parsing of General section in SetupConfig.xml started...",
                              L"Parsing of General section in SetupConfig.xml completed Successfully.",
                              L"Parsing of LogFile section in SetupConfig.xml started...",
                              L"Parsing of LogFile Section in SetupConfig.xml completed successfully.",
                              L"Parsing of Product Group Section  in SetupConfig.xml completed successfully."}) {
    EXPECT_EQ(log.Count(std::wstring(L"DEBUG:\t\t") + line), 1u) << line;
  }
}

}  // namespace
