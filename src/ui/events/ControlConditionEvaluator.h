#pragma once
// One dialog's control conditions: after every click the conditions are
// evaluated again in creation order and the controls shown, hidden, enabled
// or disabled; a later true condition wins over an earlier one.

#include <windows.h>

#include <vector>

#include "wix/WixControl.h"

class IMSIManager;

namespace ui {

class CControlConditionEvaluator {
 public:
  explicit CControlConditionEvaluator(IMSIManager* msi) : msi_(msi) {}
  void Register(HWND window, const std::vector<WixCondition>& conditions);
  void EvaluateAll() const;

 private:
  struct Entry {
    HWND window;
    std::vector<WixCondition> conditions;
  };
  IMSIManager* msi_;
  std::vector<Entry> entries_;
};

}  // namespace ui
