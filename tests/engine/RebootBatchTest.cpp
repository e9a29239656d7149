// The reboot batch file and the RunOnce values: exact batch bytes for wizard
// and silent runs, the command stored as "BS_Reboot" actually run through
// cmd.exe, and the restart-pending marker, all in the prefix's real registry.

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <memory>
#include <ostream>
#include <string>

#include "RecordingEventDispatcher.h"
#include "config/ConfigTestSupport.h"
#include "config/LocalizationSettingData.h"
#include "config/SetupConfigData.h"
#include "engine/CommonUtility.h"
#include "engine/NonFeatureSelectionStore.h"
#include "engine/RebootManager.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "registry/RegistryUtil.h"
#include "support/ProcessRunner.h"
#include "support/TestPaths.h"

namespace {

// Keeps a RunOnce value as it was before the test: Wine runs what is left
// under RunOnce when the prefix starts, so nothing may stay behind.
class RunOnceValueGuard {
 public:
  explicit RunOnceValueGuard(std::wstring name) : name_(std::move(name)) {
    platform::UniqueHKey key;
    if (registry::OpenKey(registry::kRunOnceKey, KEY_READ, registry::View::Default, key) == ERROR_SUCCESS) {
      had_ = registry::ReadStringValue(key.Get(), name_, saved_);
    }
  }
  ~RunOnceValueGuard() {
    platform::UniqueHKey key;
    if (registry::CreateKey(registry::kRunOnceKey, KEY_READ | KEY_WRITE, registry::View::Default, key) !=
        ERROR_SUCCESS) {
      return;
    }
    if (had_) (void)registry::WriteStringValue(key.Get(), name_, saved_);
    else ::RegDeleteValueW(key.Get(), name_.c_str());
  }
  RunOnceValueGuard(const RunOnceValueGuard&) = delete;
  RunOnceValueGuard& operator=(const RunOnceValueGuard&) = delete;

 private:
  std::wstring name_;
  std::wstring saved_;
  bool had_ = false;
};

// A RunOnce value's type and raw data; type REG_NONE when it is missing.
struct RawValue {
  DWORD type = REG_NONE;
  std::string data;
};
RawValue ReadRunOnce(const std::wstring& name) {
  RawValue value;
  platform::UniqueHKey key;
  if (registry::OpenKey(registry::kRunOnceKey, KEY_READ, registry::View::Default, key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  DWORD type = REG_NONE;
  if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return value;
  value.data.assign(size, '\0');
  if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value.data[0]), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  value.type = type;
  value.data.resize(size);
  return value;
}

class RebootBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = testsupport::MakeScratchFolder(L"RebootBatch" + std::to_wstring(++serial));
    key_ = platform::Format(L"RebootTest%lu_%d", ::GetCurrentProcessId(), serial);
    // Blank and percent sign: both must survive cmd.
    source_ = folder_ + L"Src 100%\\";
    ::CreateDirectoryW((folder_ + L"Logs").c_str(), nullptr);
    ::CreateDirectoryW(source_.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((testsupport::BinFolder() + L"planted_program.exe").c_str(), (source_ + L"Setup.exe").c_str(),
                            FALSE));
    record_ = std::make_unique<CSetupConfigData>();
    record_->CreateLogFileDetails(folder_ + L"Logs\\Setup.log", L"DEVELOPERINFO", 1, 5);
    record_->SetBootstrapperRegistry(key_);
    record_->SetSourcePath(source_);
    record_->SetMaintenanceExeFolder(L"Setup.exe");
    record_->SetLanguageId(1031);
    record_->SetBrand(L"Acme");
    CNonFeatureSelectionStore::GetInstance().ClearNonFeatureSelections();
    log_ = std::make_unique<modeltest::LogCapture>();
  }
  void TearDown() override {
    log_.reset();
    testsupport::RemoveFolder(folder_);
  }

  void AddCodePage(const std::wstring& codePage) {
    ASSERT_TRUE(record_->GetOrCreateLocalizationSettings()->AddLanguageSetting(
        std::make_unique<CLocalizationSettingData>(1031, L"German", L"", codePage)));
  }
  std::wstring BatchPath() const { return folder_ + L"Logs\\_BootstrapperReboot.bat"; }
  std::wstring Executable() const { return source_ + L"Setup.exe"; }
  std::wstring ExpectedCommand() const {
    return L"\"" + platform::SystemFilePath(L"cmd.exe") + L"\" /c \"\"" + BatchPath() + L"\"\"";
  }

  std::wstring folder_;
  std::wstring key_;
  std::wstring source_;
  std::unique_ptr<CSetupConfigData> record_;
  std::unique_ptr<modeltest::LogCapture> log_;
};

struct BatchCase {
  const char* label;
  bool silent;
  bool noReboot;
  std::wstring codePage;
  std::wstring brand;
  std::wstring arguments;  // what follows the executable on the start line
};
void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.label; }

class RebootBatchBytes : public RebootBatchTest, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(RebootBatchBytes, ExactUtf8Text) {
  const BatchCase& c = GetParam();
  if (!c.codePage.empty()) AddCodePage(c.codePage);
  record_->SetBrand(c.brand);

  std::wstring command = CCommonUtility::CreateRebootBatchFile(*record_, c.silent, c.noReboot);
  EXPECT_EQ(command, ExpectedCommand());

  std::wstring executable = Executable();
  platform::ReplaceAll(executable, L"%", L"%%");
  std::wstring batch = BatchPath();
  platform::ReplaceAll(batch, L"%", L"%%");
  std::wstring expected = (c.codePage.empty() ? L"" : L"chcp " + c.codePage + L"\r\n") +
                          L"start \"Bootstrapper Setup\" \"" + executable + L"\"" + c.arguments + L"\ndel /F \"" +
                          batch + L"\"\r\n";
  EXPECT_EQ(testsupport::ReadFileBytes(BatchPath()), platform::WideToUtf8(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RebootBatchBytes,
    ::testing::Values(
        BatchCase{"wizard", false, false, L"1252", L"Acme", L" /P /L 1031 /B Acme /RESTORE"},
        BatchCase{"wizard_ignores_noreboot", false, true, L"1252", L"Acme", L" /P /L 1031 /B Acme /RESTORE"},
        BatchCase{"silent", true, false, L"1252", L"Acme", L" /P /L 1031 /B Acme /RESTORE /si"},
        BatchCase{"silent_noreboot", true, true, L"1252", L"Acme", L" /P /L 1031 /B Acme /RESTORE /si /noreboot"},
        BatchCase{"no_code_page", false, false, L"", L"Acme", L" /P /L 1031 /B Acme /RESTORE"},
        BatchCase{"brand_with_blank_and_operator", true, false, L"", L"Big & Co",
                  L" /P /L 1031 /B \"Big & Co\" /RESTORE /si"},
        BatchCase{"brand_with_percent", false, false, L"", L"Q%R", L" /P /L 1031 /B Q%%R /RESTORE"}),
    [](const ::testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.label); });

TEST_F(RebootBatchTest, MissingSetupProgramGivesNoCommand) {
  record_->SetMaintenanceExeFolder(L"Missing.exe");
  EXPECT_EQ(CCommonUtility::CreateRebootBatchFile(*record_, true, false), L"");
  EXPECT_EQ(::GetFileAttributesW(BatchPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(log_->Count(L"INFORMATION:\tCCommonUtility::CreateRebootBatchFile() - Could not find the file path " +
                        source_ + L"Missing.exe ."),
            1u);
}

// The file steps of an intermediate restart, then what Windows does at the
// next logon: run the "BS_Reboot" command. The setup program starts with the
// resume arguments and the batch file deletes itself.
TEST_F(RebootBatchTest, RunOnceCommandStartsTheSetupWithResumeArguments) {
  RunOnceValueGuard guard(registry::kRebootMarkerValue);
  AddCodePage(std::to_wstring(::GetACP()));
  record_->SetInstallProperties(L"INSTALLDIR=\"C:\\Apps\"");
  CRebootManager manager;
  manager.SetProductRebootState(L"1_1", 3010);

  ASSERT_TRUE(CCommonUtility::PrepareIntermediateReboot(*record_, manager, true, true));

  EXPECT_NE(log_->Count(L"INFORMATION:\tArchiving the data to be used after intermediate reboot..."), 0u);
  EXPECT_NE(::GetFileAttributesW((folder_ + L"Logs\\_BootstrapperRestore_" + key_ + L".dat").c_str()),
            INVALID_FILE_ATTRIBUTES);
  RawValue stored = ReadRunOnce(registry::kRebootMarkerValue);
  ASSERT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
  std::wstring command(reinterpret_cast<const wchar_t*>(stored.data.data()), stored.data.size() / 2);
  while (!command.empty() && command.back() == L'\0') command.pop_back();
  EXPECT_EQ(command, ExpectedCommand());

  testsupport::ProcessResult run = testsupport::RunAndCapture(command, 20000);
  ASSERT_TRUE(run.started);
  EXPECT_FALSE(run.timedOut);
  std::string ran;
  for (int i = 0; i < 200 && ran.empty(); ++i) {
    ::Sleep(50);
    ran = testsupport::ReadFileBytes(Executable() + L".ran");
  }
  std::wstring line(reinterpret_cast<const wchar_t*>(ran.data()), ran.size() / 2);
  EXPECT_NE(line.find(L"Setup.exe\" /P /L 1031 /B Acme /RESTORE /si /noreboot"), std::wstring::npos)
      << platform::WideToUtf8(line) << "\n" << run.output;
  EXPECT_NE(line.find(L"Src 100%\\Setup.exe"), std::wstring::npos) << platform::WideToUtf8(line);
  EXPECT_EQ(::GetFileAttributesW(BatchPath().c_str()), INVALID_FILE_ATTRIBUTES) << "the batch deletes itself";
}

TEST_F(RebootBatchTest, RestartPendingMarkerIsAnEmptyExpandableString) {
  const std::wstring name = L"RestartFor" + key_;
  RunOnceValueGuard guard(name);
  ASSERT_TRUE(CCommonUtility::WriteRestartPendingMarker(*record_));
  RawValue stored = ReadRunOnce(name);
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(stored.data, std::string(2, '\0'));
}

TEST_F(RebootBatchTest, EmptyBundleKeyWritesNoMarker) {
  RunOnceValueGuard guard(L"RestartFor");
  platform::UniqueHKey key;
  ASSERT_EQ(registry::CreateKey(registry::kRunOnceKey, KEY_SET_VALUE, registry::View::Default, key), ERROR_SUCCESS);
  ::RegDeleteValueW(key.Get(), L"RestartFor");
  record_->SetBootstrapperRegistry(L"");
  EXPECT_FALSE(CCommonUtility::WriteRestartPendingMarker(*record_));
  EXPECT_EQ(ReadRunOnce(L"RestartFor").type, static_cast<DWORD>(REG_NONE));
  EXPECT_EQ(log_->Count(L"The bundle key name (BootstrapperRegistry) is empty; the restart marker is not written."),
            1u);
}

// Points this process's HKEY_LOCAL_MACHINE at a scratch key whose RunOnce
// key may be read but not written, as on a machine where a policy or another
// program locked it.
class ReadOnlyRunOnceScope {
 public:
  ReadOnlyRunOnceScope() {
    root_ = platform::Format(L"Software\\SetupTests\\LockedHklm%lu", ::GetCurrentProcessId());
    platform::UniqueHKey root;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, root_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.Put(),
                          nullptr) != ERROR_SUCCESS) {
      return;
    }
    platform::UniqueHKey runOnce;
    if (::RegCreateKeyExW(root.Get(), registry::kRunOnceKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, runOnce.Put(),
                          nullptr) != ERROR_SUCCESS) {
      return;
    }
    // Everyone may read; nobody may set values or create subkeys.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor,
                                                                 nullptr)) {
      return;
    }
    const LSTATUS locked = ::RegSetKeySecurity(runOnce.Get(), DACL_SECURITY_INFORMATION, descriptor);
    ::LocalFree(descriptor);
    if (locked != ERROR_SUCCESS) return;
    overridden_ = ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, root.Get()) == ERROR_SUCCESS;
  }
  ~ReadOnlyRunOnceScope() {
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    platform::UniqueHKey runOnce;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, (root_ + L"\\" + registry::kRunOnceKey).c_str(), 0, WRITE_DAC,
                        runOnce.Put()) == ERROR_SUCCESS &&
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;KA;;;WD)", SDDL_REVISION_1, &descriptor,
                                                               nullptr)) {
      (void)::RegSetKeySecurity(runOnce.Get(), DACL_SECURITY_INFORMATION, descriptor);
      ::LocalFree(descriptor);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
  }
  ReadOnlyRunOnceScope(const ReadOnlyRunOnceScope&) = delete;
  ReadOnlyRunOnceScope& operator=(const ReadOnlyRunOnceScope&) = delete;

  // True when the override is in place and the lock really holds.
  [[nodiscard]] bool IsLocked() const {
    if (!overridden_) return false;
    platform::UniqueHKey probe;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, registry::kRunOnceKey, 0, KEY_SET_VALUE, probe.Put()) ==
           ERROR_ACCESS_DENIED;
  }

 private:
  std::wstring root_;
  bool overridden_ = false;
};

TEST_F(RebootBatchTest, RunOnceKeyThatCannotBeWrittenIsLogged) {
  record_->SetInstallProperties(L"INSTALLDIR=\"C:\\Apps\"");
  CRebootManager manager;
  manager.SetProductRebootState(L"1_1", 3010);
  ReadOnlyRunOnceScope locked;
  ASSERT_TRUE(locked.IsLocked()) << "the scratch RunOnce key could not be locked";

  EXPECT_FALSE(CCommonUtility::WriteRestartPendingMarker(*record_));
  EXPECT_FALSE(CCommonUtility::PrepareIntermediateReboot(*record_, manager, true, false));
  const std::wstring log = log_->Text();
  const std::wstring key = registry::kRunOnceKey;
  EXPECT_NE(log.find(L"ERROR:\t\tUnable to open the runonce key " + key), std::wstring::npos)
      << platform::WideToUtf8(log);
  EXPECT_NE(log.find(L"ERROR:\t\tSetRegistryKeyValueData:: Unable to create the key " + key), std::wstring::npos)
      << platform::WideToUtf8(log);
  // The resume data is written before the value and stays.
  EXPECT_NE(::GetFileAttributesW((folder_ + L"Logs\\_BootstrapperRestore_" + key_ + L".dat").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

}  // namespace
