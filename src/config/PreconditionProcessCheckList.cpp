#include "config/PreconditionProcessCheckList.h"

#include "log/Log.h"

CPreconditionProcessCheckList::~CPreconditionProcessCheckList() { checks_.clear(); }

void CPreconditionProcessCheckList::AddCheck(const std::wstring& list, const std::wstring& condition) {
  try {
    checks_.push_back(std::make_unique<CPreconditionProcessCheckData>(list, condition));
  } catch (...) {
    LogError(L"CPreconditionProcessCheckList::AddCheck() - Unable to add the process check %s.", list.c_str());
  }
}

IPreconditionProcessCheckData* CPreconditionProcessCheckList::GetNextCheck() {
  if (cursor_ >= checks_.size()) return nullptr;
  return checks_[cursor_++].get();
}

int CPreconditionProcessCheckList::ResetIteration() {
  cursor_ = 0;
  return static_cast<int>(checks_.size());
}
