#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/IPreconditionProcessCheckList.h"
#include "config/PreconditionProcessCheckData.h"

// The process checks in document order.
class CPreconditionProcessCheckList : public IPreconditionProcessCheckList {
 public:
  CPreconditionProcessCheckList() = default;
  virtual ~CPreconditionProcessCheckList();
  CPreconditionProcessCheckList(const CPreconditionProcessCheckList&) = delete;
  CPreconditionProcessCheckList& operator=(const CPreconditionProcessCheckList&) = delete;

  void AddCheck(const std::wstring& list, const std::wstring& condition) override;
  IPreconditionProcessCheckData* GetNextCheck() override;
  int GetCount() const override { return static_cast<int>(checks_.size()); }
  int ResetIteration() override;

 private:
  std::vector<std::unique_ptr<CPreconditionProcessCheckData>> checks_;
  size_t cursor_ = 0;
};
