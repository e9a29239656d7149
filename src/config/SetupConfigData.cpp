#include "config/SetupConfigData.h"

#include "platform/StringUtil.h"

CSetupConfigData::CSetupConfigData() = default;

CSetupConfigData::~CSetupConfigData() = default;

std::wstring CSetupConfigData::GetProductName() {
  // The main package's ProductName is looked up through the setup manager once
  // it exists; until then the cache stays empty so a later call asks again.
  return productName_;
}

void CSetupConfigData::ReplaceProductNameToken(std::wstring& text) {
  static const wchar_t kToken[] = L"[ProductName]";
  if (text.find(kToken) == std::wstring::npos) return;
  platform::ReplaceAll(text, kToken, GetProductName());
}

void CSetupConfigData::CreateLogFileDetails(const std::wstring& name, const std::wstring& level, int mode,
                                            int maxLengthOfFile) {
  logFileDetails_ = std::make_unique<CLogFileDetails>(name, level, mode, maxLengthOfFile);
}
