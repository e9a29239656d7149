#pragma once

#include <map>
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

  // IWixLocalizationListForParser
  bool AddLocalization(const std::wstring& id, const std::wstring& text) override;
  void Clear() override;

 private:
  std::map<std::wstring, std::wstring> texts_;
};
