#pragma once
// The process checks; built by its reader and handed to the record.

#include <string>

class IPreconditionProcessCheckData;

class IPreconditionProcessCheckList {
 public:
  virtual void AddCheck(const std::wstring& list, const std::wstring& condition) = 0;
  // Null after the last check, until ResetIteration.
  [[nodiscard]] virtual IPreconditionProcessCheckData* GetNextCheck() = 0;
  [[nodiscard]] virtual int GetCount() const = 0;
  // Rewinds the cursor; returns the number of checks.
  virtual int ResetIteration() = 0;

 protected:
  ~IPreconditionProcessCheckList() = default;
};
