#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "config/ILocalizationSettingData.h"

// One language the wizard offers, with the WiX localization files of that language.
class CLocalizationSettingData : public ILocalizationSettingData {
 public:
  CLocalizationSettingData(LANGID languageId, const std::wstring& name, const std::wstring& mstFile,
                           const std::wstring& codepage);
  virtual ~CLocalizationSettingData() = default;
  CLocalizationSettingData(const CLocalizationSettingData&) = delete;
  CLocalizationSettingData& operator=(const CLocalizationSettingData&) = delete;

  LANGID GetLanguageId() const override { return languageId_; }
  std::wstring GetName() const override { return name_; }
  std::wstring GetMstFile() const override { return mstFile_; }
  std::wstring GetCodepage() const override { return codepage_; }
  int ResetIteration() override;
  bool GetNextLocalizationFile(std::wstring& fileName) override;

  void AddLocalizationFile(const std::wstring& fileName) { localizationFiles_.push_back(fileName); }

 private:
  LANGID languageId_;
  std::wstring name_;
  std::wstring mstFile_;
  std::wstring codepage_;
  std::vector<std::wstring> localizationFiles_;
  size_t cursor_ = 0;
};
