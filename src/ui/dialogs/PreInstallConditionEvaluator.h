#pragma once
// The dialogs shown before the wizard's frame: the Windows Installer update
// notice, then the bundle's PreInstallDialogs list in Sequence order (running
// programs, a restart still due, language, brand, and any other dialog whose
// condition holds). Each shows only when its own test says so; Exit in any of
// them ends the run.

#include <windows.h>

#include <functional>
#include <set>
#include <string>

class IMSIManager;
class IPreInstallDialogData;
class ISetupConfigData;

namespace ui {

class CWizardController;

// The dialog ids with a test of their own.
enum class PreInstallEntry { kCheckProcess, kRestart, kPrepareMsg, kLanguage, kBrand, kOther };

[[nodiscard]] PreInstallEntry ClassifyPreInstallEntry(const std::wstring& id);

// What the show test of an entry looks at; each test reads only its own facts.
struct PreInstallFacts {
  bool conditionTrue = false;        // the entry's Condition
  bool languageGiven = false;        // /L on the command line
  bool brandGiven = false;           // /B on the command line
  int languageCount = 0;             // configured languages
  bool processesRunning = false;     // the process check found a running program
  bool restartPending = false;       // "RestartFor" + bundle key in RunOnce
  bool installerUpdateNeeded = false;  // msi.dll older than 3.1 and a redistributable configured
};

// The show test of one entry.
[[nodiscard]] bool IsPreInstallEntryShown(PreInstallEntry entry, const PreInstallFacts& facts);

class CPreInstallConditionEvaluator {
 public:
  // What the evaluator needs from the application, which owns the parse manager.
  struct Options {
    // Whether /L and /B were given; asked only for the entries they hide.
    std::function<bool()> isLanguageGiven;
    std::function<bool()> isBrandGiven;
    // Reads one WiX source (relative to the setup folder) into the WiX model.
    std::function<bool(const std::wstring&)> parseWixFile;
    // Reads the WiX string table again in another language.
    std::function<bool(LANGID)> reParseLocalization;
    // Empties the WiX model, so what is read next comes in the new language.
    std::function<void()> clearWixModel;
  };

  CPreInstallConditionEvaluator(ISetupConfigData& record, CWizardController& wizard, IMSIManager* msiManager,
                                Options options);

  // True when every shown dialog ended with something other than Exit; false
  // when the user left, a dialog could not be prepared, or there is no MSI manager.
  [[nodiscard]] bool Run();

 private:
  [[nodiscard]] bool PrepareAndShow(IPreInstallDialogData& entry);
  [[nodiscard]] bool IsToBeShown(IPreInstallDialogData& entry);
  // Re-reads the texts after the language dialog changed the language.
  void ApplyLanguageChange();

  ISetupConfigData& record_;
  CWizardController& wizard_;
  IMSIManager* msiManager_;
  Options options_;
  // WiX sources read since the texts were last loaded: a file shared by
  // several entries is read once.
  std::set<std::wstring> readSources_;
};

}  // namespace ui
