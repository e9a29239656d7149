#pragma once
// Decides when each bundle file is read and what a failure means for the run.

#include <functional>
#include <memory>
#include <string>

#include <windows.h>

class CSetupConfigData;
class CSilentConfigData;
class CStyleConfigData;
class CMainDialogConfigData;
class CWixLocalizationReader;
class CCommandLineParser;
class IBSLocalizationConfigData;
class CSetupConfigParser;
class CDialogUnitConverter;
class CWixDataManager;
class CWixSourceReader;
class IMSIManager;

class IParseManager {
 public:
  virtual ~IParseManager() = default;
  [[nodiscard]] virtual bool StartParseWixFiles() = 0;
  [[nodiscard]] virtual bool ParseWixFile(const std::wstring& relativePath) = 0;
  [[nodiscard]] virtual bool ReParseLocalization(LANGID languageId) = 0;
  [[nodiscard]] virtual bool LoadBootstrapperStrings() = 0;
};

class CParseManager : public IParseManager {
 public:
  // The records the application object creates on first request; the parse
  // manager fills them but does not own them.
  struct Records {
    std::function<CSilentConfigData&()> silentConfig;
    std::function<CStyleConfigData&()> styleConfig;
    std::function<CMainDialogConfigData&()> mainDialogConfig;
    // Called when a silent option does not fit the machine (the silent
    // indicator's failed finish); may be empty.
    std::function<void()> onSilentMismatch;
    // The setup manager's session of the main package, which costs the
    // features; may be empty or give null before the setup manager exists.
    std::function<IMSIManager*()> msiManager;
  };

  CParseManager(CSetupConfigData& record, CCommandLineParser& parser, IBSLocalizationConfigData& texts,
                Records records);
  ~CParseManager() override;

  // Writes the embedded bootstrapper texts to a temporary file and reads the
  // record's language from it. Always true: missing texts stay empty.
  [[nodiscard]] bool LoadBootstrapperStrings() override;

  // Start-up reading of the bundle: SetupConfig.xml, then the files of the
  // chosen road, the log file and the run's options. False ends the run.
  [[nodiscard]] bool ParseConfiguration();

  // The exit code a silent run ends with when ParseConfiguration returned
  // false: 1603, or what the run-kind decision chose (0 when there is only
  // nothing to do, 1605 for a repair of a bundle that is not installed).
  [[nodiscard]] DWORD GetStopExitCode() const { return stopExitCode_; }

  // Path of the bundle's main configuration file.
  [[nodiscard]] std::wstring GetSetupConfigPath() const;

  // Reads every WiX source of the bundle into the WiX UI model; false on the
  // first file that cannot be read.
  [[nodiscard]] bool StartParseWixFiles() override;
  // Reads one WiX source (relative to the setup folder) into the model and
  // completes it (control events authored under UI, WiX variables).
  [[nodiscard]] bool ParseWixFile(const std::wstring& relativePath) override;
  // Empties the WiX string table and reads it again for another language
  // (the wizard's language choice). False before the start-up reading.
  [[nodiscard]] bool ReParseLocalization(LANGID languageId) override;
  // The WiX UI model, made on first use.
  [[nodiscard]] CWixDataManager& GetOrCreateWixDataManager();
  // The screen's dialog-unit converter, measured when first asked for on the
  // wizard's road; a silent run keeps its start factors and opens no window.
  [[nodiscard]] CDialogUnitConverter& GetDialogUnitConverter();

 private:
  [[nodiscard]] bool ReadForWizard();
  [[nodiscard]] bool ReadForSilent();
  [[nodiscard]] bool OpenSetupLog();
  [[nodiscard]] bool InitializeLocalization();
  [[nodiscard]] bool CheckProcessor();
  [[nodiscard]] CWixSourceReader& GetOrCreateWixReader();
  // Reads one WiX source into the model without completing it.
  [[nodiscard]] bool ReadWixFile(const std::wstring& relativePath);
  // The feature costing of the main package, by the setup manager's MSI manager.
  [[nodiscard]] bool SetFeaturesCost();
  // Reads the run's WiX source files into the model (the package of the
  // initializer pass may be opened meanwhile).
  [[nodiscard]] bool ReadWixSources();
  // The command line as it may be logged: values of the main package's hidden
  // properties given as NAME=value are masked.
  [[nodiscard]] std::wstring MaskedArguments(const std::wstring& arguments) const;

  CSetupConfigData& record_;
  CCommandLineParser& parser_;
  IBSLocalizationConfigData& texts_;
  Records records_;
  DWORD stopExitCode_ = ERROR_INSTALL_FAILURE;
  std::wstring folder_;
  std::unique_ptr<CSetupConfigParser> setupConfigParser_;
  std::unique_ptr<CDialogUnitConverter> converter_;
  std::unique_ptr<CWixDataManager> wixModel_;
  std::unique_ptr<CWixSourceReader> wixReader_;
  std::unique_ptr<CWixLocalizationReader> localizationReader_;
  // The silent record when SilentConfig.xml was read; its WiX list wins on the silent road.
  CSilentConfigData* silentRecord_ = nullptr;
  // The RunOnce key held the resume command when the configuration was read.
  bool resumePending_ = false;
};
