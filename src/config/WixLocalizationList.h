#pragma once

#include <map>
#include <utility>
#include <string>

#include "config/IWixLocalizationList.h"

class CWixLocalizationList : public IWixLocalizationList, public IWixLocalizationListForParser {
 public:
  CWixLocalizationList() = default;
  virtual ~CWixLocalizationList() = default;
  CWixLocalizationList(const CWixLocalizationList&) = delete;
  CWixLocalizationList& operator=(const CWixLocalizationList&) = delete;

  // IWixLocalizationList
  std::wstring GetLocalizedText(const std::wstring& id) const override;
  bool HasLocalization(const std::wstring& id) const override;
  int GetCount() const override { return static_cast<int>(texts_.size()); }
  bool FindControlOverride(const std::wstring& dialogId, const std::wstring& controlId,
                           WixControlOverride& values) const override;

  // IWixLocalizationListForParser
  bool AddLocalization(const std::wstring& id, const std::wstring& text) override;
  bool AddControlOverride(const std::wstring& dialogId, const std::wstring& controlId,
                          const WixControlOverride& values) override;
  void Clear() override;

 private:
  std::map<std::wstring, std::wstring> texts_;
  // Dialog id, control id -> the control's localized values.
  std::map<std::pair<std::wstring, std::wstring>, WixControlOverride> controls_;
};
