#include "ui/events/ControlConditionEvaluator.h"

#include "msi/IMSIManager.h"

namespace ui {

void CControlConditionEvaluator::Register(HWND window, const std::vector<WixCondition>& conditions) {
  if (conditions.empty()) return;
  entries_.push_back(Entry{window, conditions});
}

void CControlConditionEvaluator::EvaluateAll() const {
  if (msi_ == nullptr) return;
  for (const Entry& entry : entries_) {
    for (const WixCondition& condition : entry.conditions) {
      if (!msi_->EvaluateCondition(condition.condition)) continue;
      switch (condition.action) {
        case kConditionShow: ::ShowWindow(entry.window, SW_SHOW); break;
        case kConditionHide: ::ShowWindow(entry.window, SW_HIDE); break;
        case kConditionEnable: ::EnableWindow(entry.window, TRUE); break;
        case kConditionDisable: ::EnableWindow(entry.window, FALSE); break;
        default: break;
      }
    }
  }
}

}  // namespace ui
