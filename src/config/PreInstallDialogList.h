#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/IPreInstallDialogList.h"
#include "config/PreInstallDialogData.h"

// The dialogs shown before the wizard, in sequence order once sorted.
class CPreInstallDialogList : public IPreInstallDialogList, public IPreInstallDialogListForParser {
 public:
  CPreInstallDialogList() = default;
  virtual ~CPreInstallDialogList();
  CPreInstallDialogList(const CPreInstallDialogList&) = delete;
  CPreInstallDialogList& operator=(const CPreInstallDialogList&) = delete;

  // IPreInstallDialogList
  int ResetIteration() override;
  IPreInstallDialogData* GetNextDialog() override;
  IPreInstallDialogData* FindDialog(const std::wstring& id) override;
  bool RemoveDialog(const std::wstring& id) override;

  // IPreInstallDialogListForParser
  void AddDialog(int sequence, const std::wstring& id, const std::wstring& wixPath,
                 const std::wstring& condition) override;
  void SortBySequence() override;

  [[nodiscard]] int GetCount() const { return static_cast<int>(dialogs_.size()); }

 private:
  std::vector<std::unique_ptr<CPreInstallDialogData>> dialogs_;
  size_t cursor_ = 0;
};
