#include "ui/dialogs/ErrorDialog.h"

#include <algorithm>

#include "config/ISetupConfigData.h"
#include "ui/controls/ControlImages.h"
#include "ui/controls/Picture_BT.h"
#include "wix/WixControl.h"
#include "wix/WixDialog.h"

namespace ui {

namespace {
constexpr int kButtonGap = 8;
constexpr int kIconSize = 32;
}  // namespace

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

int CErrorDialog::EscapeAnswer(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL: return IDCANCEL;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNO: return IDNO;
    default: return IDOK;
  }
}

std::vector<int> CErrorDialog::RowLefts(const std::vector<int>& widths, int clientWidth, int gap) {
  int total = 0;
  for (int width : widths) total += width;
  if (!widths.empty()) total += gap * static_cast<int>(widths.size() - 1);
  std::vector<int> lefts;
  int left = std::max(0, (clientWidth - total) / 2);
  for (int width : widths) {
    lefts.push_back(left);
    left += width + gap;
  }
  return lefts;
}

void CErrorDialog::OnInitDialog() {
  CSpawnDialog::OnInitDialog();
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control->GetId() == L"ErrorText") ::SetWindowTextW(binding.window, text_.c_str());
  }
  ShowIcon();
  ShowOnlyButtonsOfSet();
}

void CErrorDialog::OnCancel() {
  // Escape answers as the set's own way out would: Windows Installer knows no other value.
  if (GetHwnd() != nullptr) ::EndDialog(GetHwnd(), EscapeAnswer(style_));
}

void CErrorDialog::ShowIcon() {
  if (services_.record == nullptr) return;
  const wchar_t* name = (style_ & MB_ICONMASK) == MB_ICONINFORMATION ? L"InfoIcon" : L"ExclamationIcon";
  // A package without the image keeps the icon its dialog names.
  if (BinaryImagePath(*services_.record, name).empty()) return;
  HICON image = LoadBinaryIcon(*services_.record, name, kIconSize);
  auto* icon = dynamic_cast<CIcon_BT*>(FindControl(L"ErrorIcon"));
  if (image != nullptr && icon != nullptr) icon->SetIcon(image);
}

void CErrorDialog::ShowOnlyButtonsOfSet() {
  const std::wstring set = ButtonSet(style_);
  struct Kept {
    HWND window;
    size_t order;
    RECT rect;
  };
  std::vector<Kept> kept;
  int top = -1;
  HWND window = GetHwnd();
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    const std::wstring& name = binding.control->GetId();
    if (binding.control->GetType() != kWixPushButton || name.size() != 1) continue;
    RECT rect;
    ::GetWindowRect(binding.window, &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    const size_t order = set.find(name[0]);
    if (order == std::wstring::npos) {
      ::ShowWindow(binding.window, SW_HIDE);
      ::EnableWindow(binding.window, FALSE);
      continue;
    }
    // The row stays where the author put the buttons (the highest of them).
    if (top < 0 || rect.top < top) top = rect.top;
    ::ShowWindow(binding.window, SW_SHOW);
    ::EnableWindow(binding.window, TRUE);
    kept.push_back({binding.window, order, rect});
  }
  if (kept.empty()) return;
  std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) { return a.order < b.order; });
  std::vector<int> widths;
  for (const Kept& button : kept) widths.push_back(button.rect.right - button.rect.left);
  RECT client;
  ::GetClientRect(window, &client);
  const std::vector<int> lefts = RowLefts(widths, client.right, kButtonGap);
  for (size_t i = 0; i < kept.size(); ++i) {
    ::SetWindowPos(kept[i].window, nullptr, lefts[i], top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SetFocus(kept.front().window);
}

}  // namespace ui
