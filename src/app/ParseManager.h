#pragma once
// Decides when each bundle file is read and what a failure means for the run.

#include <functional>
#include <memory>
#include <string>

class CSetupConfigData;
class CSilentConfigData;
class CCommandLineParser;
class IBSLocalizationConfigData;
class CSetupConfigParser;

class IParseManager {
 public:
  virtual ~IParseManager() = default;
  [[nodiscard]] virtual bool LoadBootstrapperStrings() = 0;
};

class CParseManager : public IParseManager {
 public:
  // The records the application object creates on first request; the parse
  // manager fills them but does not own them.
  struct Records {
    std::function<CSilentConfigData&()> silentConfig;
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

  // Path of the bundle's main configuration file.
  [[nodiscard]] std::wstring GetSetupConfigPath() const;

 private:
  [[nodiscard]] bool ReadForWizard();
  [[nodiscard]] bool ReadForSilent();
  [[nodiscard]] bool OpenSetupLog();

  CSetupConfigData& record_;
  CCommandLineParser& parser_;
  IBSLocalizationConfigData& texts_;
  Records records_;
  std::wstring folder_;
  std::unique_ptr<CSetupConfigParser> setupConfigParser_;
};
