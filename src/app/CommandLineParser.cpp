#include "app/CommandLineParser.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "registry/RegistryUtil.h"

// Deliberate text ("Supress", the tabs and line breaks): kept as written.
const char CCommandLineParser::kUsageText[425] =
    "\nInstall options\n\n/si\tSilent mode installation.\n/sx\tSilent mode uninstallation.\n/sf\tSilent mode "
    "repair.\n\nAdditional options\n\n/L <language id>\tLocalize to the 'language id'\n/B <brand>\t\tSet "
    "brand.\n/P\t\t\tHide pre install dialogs.\n/NOMUTEX\t\tAllow multiple instances.\n/NOREBOOT\t\tSupress final "
    "reboot in silent mode.\n[PROPERTY=Value]\tSet public property value.\n\nExample: Setup.exe /si /L 1031 /B QRT "
    "INSTALLDIR=\"D:\\Setup\\MyFolder1\"";
static_assert(sizeof(CCommandLineParser::kUsageText) == CCommandLineParser::kUsageBytes,
              "the usage text is 424 characters and its zero byte");

const wchar_t CCommandLineParser::kSessionManagerKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

namespace {

// The option that takes the next plain token, kept across tokens of the whole process.
enum PendingArgument { kPendingNone = 0, kPendingLanguage = 1, kPendingBrand = 2 };
int g_pendingArgument = kPendingNone;

bool WriteUsageToConsole(const char* bytes, size_t count) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  platform::UniqueFileHandle console;
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    // A program built for the GUI subsystem gets no standard handles of its own
    // unless its parent passed some; the attached console's output is CONOUT$.
    console.Reset(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    out = console.Get();
  }
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  return ::WriteFile(out, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
}

CCommandLineParser::UsageWriter g_usageWriter = &WriteUsageToConsole;

// Puts an Enter key press into the console's own input queue so the waiting
// prompt shows again. Writing to the console input (rather than synthesising a
// system-wide keystroke) cannot press a button in whatever window has focus.
void PressEnterInConsole() {
  platform::UniqueFileHandle input(::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                 nullptr));
  if (!input) return;
  INPUT_RECORD record = {};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = TRUE;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
  record.Event.KeyEvent.wVirtualScanCode = 13;
  record.Event.KeyEvent.uChar.UnicodeChar = L'\r';
  DWORD written = 0;
  ::WriteConsoleInputW(input.Get(), &record, 1, &written);
}

}  // namespace

CCommandLineProperties& CCommandLineProperties::GetCommandLineProperties() {
  static CCommandLineProperties properties;
  return properties;
}

bool CCommandLineProperties::Insert(const std::wstring& name, const std::wstring& value) {
  return table_.emplace(name, value).second;
}

std::wstring CCommandLineProperties::Lookup(const std::wstring& name) const {
  auto it = table_.find(name);
  return it == table_.end() ? std::wstring() : it->second;
}

CCommandLineParser::CCommandLineParser(ISetupConfigData* record) : record_(record) {
  // One parser reads one command line: an option left waiting for its argument
  // by an earlier parser must not swallow this line's first token.
  g_pendingArgument = kPendingNone;
}

void CCommandLineParser::SetUsageWriter(UsageWriter writer) {
  g_usageWriter = writer != nullptr ? writer : &WriteUsageToConsole;
}

void CCommandLineParser::ParseParam(const wchar_t* token, bool isFlag, bool isLast) {
  const std::wstring text = token != nullptr ? token : L"";
  if (isFlag) {
    using platform::EqualsNoCase;
    if (EqualsNoCase(text, L"arp")) {
      launchedFromARP_ = 1;
    } else if (EqualsNoCase(text, L"si")) {
      silent_ = 1;
      requestedExecutionType_ = 0;
    } else if (EqualsNoCase(text, L"sf")) {
      silent_ = 1;
      requestedExecutionType_ = 3;
    } else if (EqualsNoCase(text, L"sx")) {
      silent_ = 1;
      requestedExecutionType_ = 4;
    } else if (EqualsNoCase(text, L"NOMUTEX")) {
      singleInstance_ = 0;
    } else if (EqualsNoCase(text, L"NESTED")) {
      nested_ = 1;
    } else if (EqualsNoCase(text, L"L")) {
      g_pendingArgument = kPendingLanguage;
    } else if (EqualsNoCase(text, L"B")) {
      g_pendingArgument = kPendingBrand;
    } else if (EqualsNoCase(text, L"P")) {
      preInstallDialogsHidden_ = 1;
    } else if (EqualsNoCase(text, L"RESTORE")) {
      restore_ = 1;
    } else if (EqualsNoCase(text, L"NOREBOOT")) {
      noReboot_ = 1;
    } else {
      ShowUsage();  // "?", "help" and every unknown option
    }
  } else {
    ParsePlainToken(text);
  }
  platform::CCommandLineInfoBase::ParseParam(token, isFlag, isLast);
}

void CCommandLineParser::ParsePlainToken(const std::wstring& token) {
  if (g_pendingArgument == kPendingLanguage) {
    languageId_ = static_cast<LANGID>(platform::ToInt(token));
    g_pendingArgument = kPendingNone;
    return;
  }
  if (g_pendingArgument == kPendingBrand) {
    brand_ = token;
    if (record_ != nullptr) record_->SetBrand(token);
    g_pendingArgument = kPendingNone;
    return;
  }
  size_t equals = token.find(L'=');
  if (equals == std::wstring::npos) {
    ShowUsage();
    return;
  }
  CCommandLineProperties::GetCommandLineProperties().Insert(token.substr(0, equals), token.substr(equals + 1));
}

void CCommandLineParser::ShowUsage() {
  // Started from the desktop there is nobody to read the usage: go on. A
  // process that already has a console (Wine hands the console of a command
  // prompt to the GUI programs it starts) is refused with "access denied" and
  // can write to it all the same.
  bool attached = ::AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
  if (!attached && ::GetLastError() != ERROR_ACCESS_DENIED) return;
  aborted_ = 1;
  // Deliberate text ("commandline"): kept as written.
  LogInformation(L"Invalid commandline parameter or commandline help");
  (void)g_usageWriter(kUsageText, kUsageBytes);
  PressEnterInConsole();
  if (attached) ::FreeConsole();
}

int CCommandLineParser::IsLaunchedFromARP() const {
  if (launchedFromARP_) LogInformation(L"Setup Is launched from Add/Remove Program.");
  return launchedFromARP_;
}

int CCommandLineParser::IsPreInstallDialogsHidden() const {
  if (preInstallDialogsHidden_) LogInformation(L"Pre-Install Dialogs are Hidden as /P is passed in the command Line.");
  return preInstallDialogsHidden_;
}

int CCommandLineParser::IsLanguageDialogHidden() {
  if (languageId_ != 0) {
    languageDialogHidden_ = 1;
    LogInformation(L"Language Dialog is hidden as Language is set via command Line.");
  }
  return languageDialogHidden_;
}

int CCommandLineParser::IsBrandGiven() {
  if (!brand_.empty()) brandGiven_ = 1;
  return brandGiven_;
}

void CCommandLineParser::ApplyResumeOptions(ISetupConfigData& record) {
  resumeValueName_ = L"RebootFor" + record.GetBootstrapperRegistry();
  std::wstring value = registry::GetRegistryKeyValueData(kSessionManagerKey, resumeValueName_);
  if (value.empty()) return;

  if (value.find(L"/P") != std::wstring::npos) preInstallDialogsHidden_ = 1;
  size_t language = value.find(L"/L");
  if (language != std::wstring::npos) {
    size_t start = language + 3;
    languageId_ = static_cast<LANGID>(start < value.size() ? platform::ToInt(value.substr(start, 4)) : 0);
  }
  size_t brand = value.find(L"/B");
  if (brand != std::wstring::npos) {
    size_t start = brand + 3;
    if (start < value.size()) {
      size_t end = value.find(L' ', start);
      brand_ = value.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    } else {
      brand_.clear();
    }
  }
  if (value.find(L"/RESTORE") != std::wstring::npos) restore_ = 1;
}

void CCommandLineParser::DeleteResumeOptions() {
  // Without a name the call would delete the key's default value instead.
  if (resumeValueName_.empty()) return;
  (void)registry::DeleteValue(kSessionManagerKey, resumeValueName_);
}
