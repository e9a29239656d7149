#pragma once

#include <string>

#include "log/ILogFileDetails.h"

// Log file settings named by SetupConfig.xml; the name's %NAME% references are
// expanded when the object is made.
class CLogFileDetails : public ILogFileDetails {
 public:
  CLogFileDetails(const std::wstring& name, const std::wstring& level, int mode, int maxLengthOfFile);
  virtual ~CLogFileDetails() = default;

  std::wstring GetName() const override { return name_; }
  std::wstring GetLevel() const override { return level_; }
  int GetMode() const override { return mode_; }
  int GetMaxLengthOfFile() const override { return maxLengthOfFile_; }
  std::wstring GetFileName() const override;
  std::wstring GetFolder() const override;

  // Expands %CommonAppDataFolder%, %LocalAppDataFolder% and environment
  // variables. An unset variable falls back to the common application data
  // folder, or stays as written when fallBackToCommonAppData is false.
  static std::wstring ExpandFolderReferences(const std::wstring& text, bool fallBackToCommonAppData = true);

 private:
  std::wstring name_;
  std::wstring level_;
  int mode_;
  int maxLengthOfFile_;
};
