#include "ui/host/SpawnDialog.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "ui/host/WizardController.h"
#include "ui/style/IMaindialogConfigData.h"
#include "ui/style/IStyleConfigData.h"
#include "wix/WixDialog.h"

namespace ui {

namespace {
constexpr DWORD kSpawnStyle = 0x90080040;
constexpr int kTitleTextLeft = 10;
}  // namespace

CSpawnDialog::CSpawnDialog(const CWixDialog& dialog, const DialogServices& services, int mode)
    : CDynamicDialog(dialog, services, mode), title_(dialog.GetTitle()) {
  if (services_.record != nullptr) services_.record->ReplaceProductNameToken(title_);
  if (services_.style != nullptr) (void)services_.style->GetTitleBarColours(titleBarColour_, frameColour_);
}

INT_PTR CSpawnDialog::Run(HWND parent) {
  RECT rect = dialog_.GetRect();
  if (services_.mainConfig != nullptr) rect.bottom += services_.mainConfig->GetTitleBarHeightInDialogUnits();
  BuildTemplate(kSpawnStyle, WS_EX_DLGMODALFRAME, rect, title_);
  INT_PTR result = DoModalIndirect(parent, builder_.GetTemplate());
  if (result == -1) LogError(L"Dialog creation failed when creating spawn dialog");
  return result;
}

RECT CSpawnDialog::AdjustControlRect(const RECT& rect) const {
  RECT moved = rect;
  ::OffsetRect(&moved, 0, titleBarHeight_);
  return moved;
}

void CSpawnDialog::OnInitDialog() {
  CDynamicDialog::OnInitDialog();
  HWND window = GetHwnd();
  // Over the window it was spawned from, or in the middle of the screen.
  RECT own;
  ::GetWindowRect(window, &own);
  RECT area;
  HWND owner = ::GetWindow(window, GW_OWNER);
  if (owner == nullptr || !::IsWindowVisible(owner) || !::GetWindowRect(owner, &area)) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  const int x = area.left + ((area.right - area.left) - (own.right - own.left)) / 2;
  const int y = area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2;
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (HMENU menu = ::GetSystemMenu(window, FALSE)) {
    ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (HasCancelControl() ? MF_ENABLED : (MF_GRAYED | MF_DISABLED)));
  }
}

void CSpawnDialog::OnEndDialogEvent(int value) {
  if (GetHwnd() != nullptr) ::EndDialog(GetHwnd(), value);
}

void CSpawnDialog::OnCancel() {
  if (GetHwnd() != nullptr) ::EndDialog(GetHwnd(), mode_ == kShowPreInstall ? kEndExit : IDCANCEL);
}

void CSpawnDialog::OnPaint(HDC dc, const RECT& client) {
  CDynamicDialog::OnPaint(dc, client);
  if (titleBarHeight_ <= 0) return;
  RECT bar = {client.left, client.top, client.right, client.top + titleBarHeight_};
  platform::UniqueHBrush brush(::CreateSolidBrush(titleBarColour_));
  ::FillRect(dc, &bar, brush.Get());
  HFONT font = services_.style != nullptr ? services_.style->GetTitleBarFont() : nullptr;
  HGDIOBJ old = font != nullptr ? ::SelectObject(dc, font) : nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  RECT text = bar;
  text.left += kTitleTextLeft;
  text.right -= kTitleTextLeft;
  ::DrawTextW(dc, title_.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (old != nullptr) ::SelectObject(dc, old);
}

void CSpawnDialog::DrawFrame(HDC dc) {
  RECT rect;
  ::GetWindowRect(GetHwnd(), &rect);
  ::OffsetRect(&rect, -rect.left, -rect.top);
  platform::UniqueHBrush frame(::CreateSolidBrush(frameColour_));
  ::FrameRect(dc, &rect, frame.Get());
}

INT_PTR CSpawnDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == WM_LBUTTONDOWN && static_cast<short>(HIWORD(lParam)) < titleBarHeight_) {
    handled = true;
    ::ReleaseCapture();
    ::SendMessageW(GetHwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return TRUE;
  }
  return CDynamicDialog::HandleMessage(message, wParam, lParam, handled);
}

}  // namespace ui
