#pragma once
// One process check: the process names to look for and when the check applies.

#include <string>

class IPreconditionProcessCheckData {
 public:
  [[nodiscard]] virtual std::wstring GetList() const = 0;
  virtual void SetList(const std::wstring& list) = 0;
  [[nodiscard]] virtual std::wstring GetCondition() const = 0;
  virtual void SetCondition(const std::wstring& condition) = 0;

 protected:
  ~IPreconditionProcessCheckData() = default;
};
