#pragma once
// Read face of one language the wizard offers.

#include <windows.h>

#include <string>

class ILocalizationSettingData {
 public:
  [[nodiscard]] virtual LANGID GetLanguageId() const = 0;
  [[nodiscard]] virtual std::wstring GetName() const = 0;
  [[nodiscard]] virtual std::wstring GetMstFile() const = 0;
  [[nodiscard]] virtual std::wstring GetCodepage() const = 0;
  // Rewinds the cursor over the WiX localization file names; returns their number.
  virtual int ResetIteration() = 0;
  // False at the end; a file name may itself be empty.
  [[nodiscard]] virtual bool GetNextLocalizationFile(std::wstring& fileName) = 0;

 protected:
  ~ILocalizationSettingData() = default;
};
