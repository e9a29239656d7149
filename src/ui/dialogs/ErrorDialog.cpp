#include "ui/dialogs/ErrorDialog.h"

#include <algorithm>
#include <vector>

#include "wix/WixDialog.h"

namespace ui {

CErrorDialog::CErrorDialog(const CWixDialog& dialog, const DialogServices& services, int mode, std::wstring text,
                           UINT style)
    : CSpawnDialog(dialog, services, mode), text_(std::move(text)), style_(style) {}

std::wstring CErrorDialog::ButtonSet(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return L"OC";
    case MB_ABORTRETRYIGNORE: return L"ARI";
    case MB_YESNOCANCEL: return L"YNC";
    case MB_YESNO: return L"YN";
    case MB_RETRYCANCEL: return L"RC";
    default: return L"O";
  }
}

void CErrorDialog::OnInitDialog() {
  CSpawnDialog::OnInitDialog();
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    const std::wstring& name = binding.control->GetId();
    if (name == L"ErrorText" || name == L"Text" || name == L"Message") {
      ::SetWindowTextW(binding.window, text_.c_str());
    } else if (name == L"List" && binding.control->GetType() == kWixListBox) {
      // Files in use: one running program per line.
      size_t start = 0;
      while (start <= text_.size()) {
        size_t end = text_.find(L'\n', start);
        std::wstring line = text_.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) ::SendMessageW(binding.window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (end == std::wstring::npos) break;
        start = end + 1;
      }
    }
  }
  if (GetWixDialog().GetId() == L"ErrorDlg") ShowOnlyButtonsOfSet();
}

void CErrorDialog::ShowOnlyButtonsOfSet() {
  const std::wstring set = ButtonSet(style_);
  std::vector<HWND> kept;
  std::vector<RECT> slots;
  HWND window = GetHwnd();
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    const std::wstring& name = binding.control->GetId();
    if (binding.control->GetType() != kWixPushButton || name.size() != 1) continue;
    RECT rect;
    ::GetWindowRect(binding.window, &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    slots.push_back(rect);
    if (set.find(name[0]) == std::wstring::npos) {
      ::ShowWindow(binding.window, SW_HIDE);
      ::EnableWindow(binding.window, FALSE);
    } else {
      kept.push_back(binding.window);
    }
  }
  // The kept buttons take the right-most places, in the set's order.
  std::sort(slots.begin(), slots.end(), [](const RECT& a, const RECT& b) { return a.left < b.left; });
  std::sort(kept.begin(), kept.end(), [this, &set](HWND a, HWND b) {
    auto position = [this, &set](HWND button) {
      for (const auto& [id, binding] : GetControlCollection().GetAll()) {
        if (binding.window == button) return set.find(binding.control->GetId()[0]);
      }
      return std::wstring::npos;
    };
    return position(a) < position(b);
  });
  if (kept.empty() || slots.size() < kept.size()) return;
  const size_t first = slots.size() - kept.size();
  for (size_t i = 0; i < kept.size(); ++i) {
    const RECT& slot = slots[first + i];
    ::SetWindowPos(kept[i], nullptr, slot.left, slot.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SetFocus(kept.front());
}

}  // namespace ui
