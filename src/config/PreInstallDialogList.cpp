#include "config/PreInstallDialogList.h"

#include <algorithm>

#include "log/Log.h"

CPreInstallDialogList::~CPreInstallDialogList() { dialogs_.clear(); }

int CPreInstallDialogList::ResetIteration() {
  cursor_ = 0;
  return static_cast<int>(dialogs_.size());
}

IPreInstallDialogData* CPreInstallDialogList::GetNextDialog() {
  if (cursor_ >= dialogs_.size()) {
    cursor_ = 0;
    return nullptr;
  }
  return dialogs_[cursor_++].get();
}

IPreInstallDialogData* CPreInstallDialogList::FindDialog(const std::wstring& id) {
  for (const auto& dialog : dialogs_) {
    if (dialog->GetId() == id) return dialog.get();
  }
  return nullptr;
}

bool CPreInstallDialogList::RemoveDialog(const std::wstring& id) {
  for (size_t i = 0; i < dialogs_.size(); ++i) {
    if (dialogs_[i]->GetId() != id) continue;
    dialogs_.erase(dialogs_.begin() + static_cast<std::ptrdiff_t>(i));
    // Keeps a running iteration on the dialog that followed the removed one.
    if (i < cursor_) --cursor_;
    return true;
  }
  return false;
}

void CPreInstallDialogList::AddDialog(int sequence, const std::wstring& id, const std::wstring& wixPath,
                                      const std::wstring& condition) {
  try {
    dialogs_.push_back(std::make_unique<CPreInstallDialogData>(sequence, id, wixPath, condition));
  } catch (...) {
    LogError(L"CPreInstallDialogList::AddDialog() - Unable to add the dialog %s.", id.c_str());
  }
}

void CPreInstallDialogList::SortBySequence() {
  std::stable_sort(dialogs_.begin(), dialogs_.end(),
                   [](const auto& a, const auto& b) { return a->GetSequence() < b->GetSequence(); });
}
