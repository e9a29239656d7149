#pragma once

#include <string>

#include "config/IPreconditionProcessCheckData.h"

class CPreconditionProcessCheckData : public IPreconditionProcessCheckData {
 public:
  CPreconditionProcessCheckData(const std::wstring& list, const std::wstring& condition)
      : list_(list), condition_(condition) {}
  virtual ~CPreconditionProcessCheckData() = default;

  std::wstring GetList() const override { return list_; }
  void SetList(const std::wstring& list) override { list_ = list; }
  std::wstring GetCondition() const override { return condition_; }
  void SetCondition(const std::wstring& condition) override { condition_ = condition; }

 private:
  std::wstring list_;
  std::wstring condition_;
};
