#include "ui/host/MSIDialog.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "ui/host/WizardController.h"
#include "ui/style/IMaindialogConfigData.h"
#include "wix/WixDialog.h"

namespace ui {

namespace {
// Posted to a page that has ended: its window goes once the click is over.
constexpr UINT kDestroyPage = WM_APP + 0x51;
constexpr DWORD kPageStyle = 0x50000040;
}  // namespace

CMSIDialog::CMSIDialog(const CWixDialog& dialog, const DialogServices& services)
    : CDynamicDialog(dialog, services, kShowInFrame) {}

INT_PTR CMSIDialog::Run(HWND parent) {
  RECT rect = dialog_.GetRect();
  int x = 0;
  int y = 0;
  if (services_.mainConfig != nullptr) services_.mainConfig->GetContentOffsets(x, y);
  ::OffsetRect(&rect, x, y);
  std::wstring title = services_.record != nullptr ? services_.record->GetProductName() : std::wstring();
  BuildTemplate(kPageStyle, 0, rect, title);
  if (!CreateModelessIndirect(parent, builder_.GetTemplate())) {
    LogError(L"Dialog creation failed when creating MSI dialog");
    return 0;
  }
  return 1;
}

void CMSIDialog::OnInitDialog() {
  HWND window = GetHwnd();
  ::SetWindowLongPtrW(window, GWL_EXSTYLE, ::GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  CDynamicDialog::OnInitDialog();
}

void CMSIDialog::OnEndDialogEvent(int) {
  if (ending_ || GetHwnd() == nullptr) return;
  ending_ = true;
  // The event that ends the page usually runs inside the page's own
  // WM_COMMAND: destroying the window now would free this object under it.
  ::ShowWindow(GetHwnd(), SW_HIDE);
  ::PostMessageW(GetHwnd(), kDestroyPage, 0, 0);
  if (services_.controller != nullptr) services_.controller->OnDialogDestroyed(this);
}

void CMSIDialog::OnCancel() {
  if (services_.dispatcher != nullptr) services_.dispatcher->Cancel();
}

void CMSIDialog::DrawFrame(HDC dc) {
  RECT rect;
  ::GetWindowRect(GetHwnd(), &rect);
  ::OffsetRect(&rect, -rect.left, -rect.top);
  platform::UniqueHPen pen(::CreatePen(PS_SOLID, 2, RGB(0xF0, 0xF0, 0xF0)));
  HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
}

INT_PTR CMSIDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == kDestroyPage) {
    handled = true;
    ::DestroyWindow(GetHwnd());
    return TRUE;
  }
  return CDynamicDialog::HandleMessage(message, wParam, lParam, handled);
}

void CMSIDialog::OnWindowDestroyed() {
  if (services_.controller != nullptr) services_.controller->OnDialogDestroyed(this);
  if (ownedByWindow_) delete this;
}

}  // namespace ui
