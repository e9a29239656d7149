#include "wix/WixDialog.h"

#include "log/Log.h"

CWixDialog::CWixDialog(const std::wstring& id) : id_(id) {}

CWixDialog::~CWixDialog() {
  for (auto& control : controls_) {
    try {
      control.reset();
    } catch (...) {
      LogError(L"Exception thrown while deleting wix control");
    }
  }
}

CWixControl* CWixDialog::GetControlAt(int index) const {
  if (index < 0 || index >= GetControlCount()) return nullptr;
  return controls_[static_cast<size_t>(index)].get();
}

CWixControl* CWixDialog::FindControl(const std::wstring& id) const {
  for (const auto& control : controls_) {
    if (control->GetId() == id) return control.get();
  }
  return nullptr;
}

void CWixDialog::AddControl(std::unique_ptr<CWixControl> control) {
  if (control) controls_.push_back(std::move(control));
}
