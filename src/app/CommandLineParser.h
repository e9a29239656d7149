#pragma once
// Turns the process command line into the run's options and collects public
// property assignments (NAME=value) for the Windows Installer sessions.

#include <windows.h>

#include <map>
#include <string>

#include "platform/CommandLineInfo.h"

class ISetupConfigData;

// Process-wide table of NAME=value assignments from the command line, ordered
// by ordinal name comparison; the first value given for a name is kept.
class CCommandLineProperties {
 public:
  static CCommandLineProperties& GetCommandLineProperties();
  // False when the name was already present (the first value stays).
  bool Insert(const std::wstring& name, const std::wstring& value);
  [[nodiscard]] std::wstring Lookup(const std::wstring& name) const;
  [[nodiscard]] const std::map<std::wstring, std::wstring>& GetAll() const { return table_; }
  void Clear() { table_.clear(); }

 private:
  std::map<std::wstring, std::wstring> table_;
};

class CCommandLineParser : public platform::CCommandLineInfoBase {
 public:
  // The record receives the brand given with /B at once.
  explicit CCommandLineParser(ISetupConfigData* record);

  void ParseParam(const wchar_t* token, bool isFlag, bool isLast) override;

  [[nodiscard]] int IsSilentMode() const { return silent_; }
  [[nodiscard]] int GetRequestedExecutionType() const { return requestedExecutionType_; }
  [[nodiscard]] int IsSingleInstance() const { return singleInstance_; }
  [[nodiscard]] int IsNested() const { return nested_; }
  [[nodiscard]] LANGID GetLanguageId() const { return languageId_; }
  [[nodiscard]] std::wstring GetBrand() const { return brand_; }
  [[nodiscard]] int IsRestore() const { return restore_; }
  [[nodiscard]] int IsNoReboot() const { return noReboot_; }
  [[nodiscard]] int IsAborted() const { return aborted_; }
  [[nodiscard]] int IsLaunchedFromARP() const;
  [[nodiscard]] int IsPreInstallDialogsHidden() const;
  [[nodiscard]] int IsLanguageDialogHidden();
  [[nodiscard]] int IsBrandGiven();

  // Applies the options a resumed run finds in the registry value
  // "RebootFor" + bundle key under the Session Manager key.
  void ApplyResumeOptions(ISetupConfigData& record);
  // Deletes that value once the run has started.
  void DeleteResumeOptions();

  // Where the usage text goes; replaceable so tests can capture it.
  using UsageWriter = bool (*)(const char* bytes, size_t count);
  static void SetUsageWriter(UsageWriter writer);

  static const char kUsageText[425];
  static constexpr size_t kUsageBytes = 425;  // the text and its terminating zero byte
  static const wchar_t kSessionManagerKey[];

 private:
  void ShowUsage();
  void ParsePlainToken(const std::wstring& token);

  ISetupConfigData* record_;
  int silent_ = 0;
  int launchedFromARP_ = 0;
  int requestedExecutionType_ = 0;
  int singleInstance_ = 1;
  int nested_ = 0;
  LANGID languageId_ = 0;
  std::wstring brand_;
  int preInstallDialogsHidden_ = 0;
  int languageDialogHidden_ = 0;
  int brandGiven_ = 0;
  std::wstring resumeValueName_;
  int restore_ = 0;
  int noReboot_ = 0;
  int aborted_ = 0;
};
