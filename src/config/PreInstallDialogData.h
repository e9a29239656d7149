#pragma once

#include <string>

#include "config/IPreInstallDialogData.h"

// One dialog shown before the wizard, when its condition holds.
class CPreInstallDialogData : public IPreInstallDialogData {
 public:
  CPreInstallDialogData(int sequence, const std::wstring& id, const std::wstring& wixPath,
                        const std::wstring& condition)
      : sequence_(sequence), id_(id), condition_(condition), wixPath_(wixPath) {}
  virtual ~CPreInstallDialogData() = default;

  int GetSequence() const override { return sequence_; }
  std::wstring GetId() const override { return id_; }
  std::wstring GetCondition() const override { return condition_; }
  std::wstring GetWixPath() const override { return wixPath_; }

 private:
  int sequence_;
  std::wstring id_;
  std::wstring condition_;
  std::wstring wixPath_;
};
