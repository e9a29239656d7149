#include "ui/host/MainDialog.h"

#include "config/IBrandDetailsList.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "msi/IEventDispatcher.h"
#include "msi/IEventMapper.h"
#include "ui/controls/Button_BT.h"
#include "ui/controls/ControlFactory.h"
#include "ui/controls/ControlImages.h"
#include "ui/controls/CustomBanner_BT.h"
#include "ui/controls/Picture_BT.h"
#include "ui/events/EventDispatcher.h"
#include "ui/host/BillboardManager.h"
#include "ui/host/WizardController.h"
#include "ui/style/IMaindialogConfigData.h"
#include "ui/style/IStyleConfigData.h"

namespace ui {

namespace {
constexpr DWORD kFrameStyle = 0x90080040;
constexpr DWORD kFrameExtendedStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
constexpr DWORD kPictureStyle = 0x50000A0E;
constexpr DWORD kIconStyle = 0x50000203;
// The frame's own windows keep fixed identifiers below the WiX controls' range.
constexpr int kBannerId = 501;
constexpr int kTitleIconId = 502;
constexpr int kLeftImageId = 503;
constexpr int kTitleTextLeft = 23;
constexpr int kCloseControlKind = 14;
// Posted by the first paint: the initializer runs once the frame is on screen.
constexpr UINT kLaunchFirstPage = WM_APP + 0x52;

RECT ToRect(const RECT* rect) { return rect != nullptr ? *rect : RECT{0, 0, 0, 0}; }
}  // namespace

CMainDialog::CMainDialog(CWizardController& controller, const DialogServices& services)
    : controller_(controller), services_(services) {
  if (services_.record != nullptr) productName_ = services_.record->GetProductName();
  title_ = productName_ + L" Setup";
  if (services_.mainConfig != nullptr) (void)services_.mainConfig->GetTitleBarHeight(titleBarHeight_);
  if (services_.style != nullptr) {
    (void)services_.style->GetDialogColour(background_);
    COLORREF unused = 0;
    (void)services_.style->GetTitleBarColours(titleBarColour_, unused);
    frameColour_ = services_.style->GetControlStyleValue(kStyleDialog, kModeStandard, kColorEdge);
  }
  backgroundBrush_.Reset(::CreateSolidBrush(background_));
  context_.msi = nullptr;
  context_.style = services_.style;
  context_.record = services_.record;
  context_.background = background_;
  context_.backgroundBrush = backgroundBrush_.Get();
}

CMainDialog::~CMainDialog() = default;

INT_PTR CMainDialog::DoModal(HWND parent) {
  if (productName_.empty()) {
    LogError(L"CMainDialog::DoModal - The product name is empty!!");
    return 3;
  }
  std::wstring face = L"MS Shell Dlg";
  int size = 8;
  if (services_.style == nullptr || !services_.style->GetDefaultUIFont(face, size)) {
    face = L"MS Shell Dlg";
    size = 8;
  }
  const RECT rect = services_.mainConfig != nullptr ? ToRect(services_.mainConfig->GetMainDialogRect(kAreaDialog))
                                                   : RECT{0, 0, 370, 270};
  builder_.Build(kFrameStyle, kFrameExtendedStyle, rect, productName_, static_cast<WORD>(size > 0 ? size : 8), face);
  return DoModalIndirect(parent, builder_.GetTemplate());
}

void CMainDialog::EndModal(int value) {
  if (GetHwnd() != nullptr) ::EndDialog(GetHwnd(), value);
}

bool CMainDialog::CreateProgressArea() {
  if (IEventMapper* mapper = services_.dispatcher != nullptr ? services_.dispatcher->GetEventMapper() : nullptr) {
    mapper->CreateProgressManager();
  }
  if (controller_.ShowDialog(L"ProgressDlg") != 1) {
    LogError(L"Problem while creating Progress dialog");
    return false;
  }
  // A new run gets a new billboard.
  billboard_.reset();
  if (services_.record != nullptr && services_.dispatcher != nullptr) {
    billboard_ = std::make_unique<CBillboardManager>(*services_.record, services_.style, services_.mainConfig,
                                                     *services_.dispatcher, GetHwnd(), context_);
    if (!billboard_->Create() || !billboard_->Populate()) LogDebug(L"The billboard is not complete for this run.");
  }
  return true;
}

void CMainDialog::HideBillboard() {
  if (billboard_ != nullptr) billboard_->Hide();
}

void CMainDialog::OnInitDialog() {
  HWND window = GetHwnd();
  ::SetWindowTextW(window, title_.c_str());
  IBrandDetailsList* brands = services_.record != nullptr ? services_.record->GetBrandDetailsList() : nullptr;
  if (brands == nullptr) {
    LogError(L"Unable to draw Banner and Billboard bitmap");
    LogDebug(L"Unable to get brand list related information");
  } else {
    const RECT bannerRect = ToRect(services_.mainConfig->GetMainDialogRect(kAreaBanner));
    banner_ = std::make_unique<CCustomBanner_BT>(context_);
    if (banner_->Create(0, L"STATIC", L"", CCustomBanner_BT::kStyle, bannerRect, window, kBannerId)) {
      banner_->LoadFromBrand();
    }
    if (!services_.record->IsRestoreMode()) {
      const RECT leftRect = ToRect(services_.mainConfig->GetMainDialogRect(kAreaLeftImage));
      leftImage_ = std::make_unique<CBitmap_BT>(nullptr, context_);
      leftImage_->SetAccessiblePattern(L"BootstrapperLeftImage%ld");
      if (leftImage_->Create(0, L"STATIC", L"", kPictureStyle, leftRect, window, kLeftImageId)) {
        leftImage_->SetBitmap(brands->LoadBrandImage(kBrandImageLeft, leftRect.right - leftRect.left,
                                                     leftRect.bottom - leftRect.top));
      }
    }
  }
  if (HICON icon = services_.record != nullptr ? services_.record->GetSetupIcon() : nullptr) {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  RECT own;
  RECT area;
  ::GetWindowRect(window, &own);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  ::SetWindowPos(window, nullptr, area.left + ((area.right - area.left) - (own.right - own.left)) / 2,
                 area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
}

void CMainDialog::CreateTitleBarControls() {
  HWND window = GetHwnd();
  RECT client;
  ::GetClientRect(window, &client);
  const int size = titleBarHeight_ > 4 ? titleBarHeight_ - 4 : 16;
  const RECT closeRect = {client.right - size - 4, (titleBarHeight_ - size) / 2, client.right - 4,
                          (titleBarHeight_ - size) / 2 + size};
  // The bundle's close image may be a bitmap or an icon.
  HICON closeIcon = nullptr;
  if (services_.record != nullptr) {
    const std::wstring path = BinaryImagePath(*services_.record, L"CloseApplication");
    if (platform::EndsWithNoCase(path, L".ico")) {
      closeIcon = LoadBinaryIcon(*services_.record, L"CloseApplication", size);
    } else if (!path.empty()) {
      closeImage_ = LoadBinaryBitmap(*services_.record, L"CloseApplication", size, size);
    }
  }
  closeButton_ = std::make_unique<CBitmapButton_BT>(nullptr, context_, closeImage_.Get(), closeIcon);
  if (closeButton_->Create(0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE, closeRect, window, IDCANCEL)) {
    closeButton_->MakeOwnerDrawn();
    if (services_.dispatcher != nullptr) services_.dispatcher->GetEventMapper()->RegisterControl(kCloseControlKind, closeButton_->GetHwnd());
  }
  HICON icon = services_.record != nullptr ? services_.record->GetSetupIcon() : nullptr;
  const int iconSize = 16;
  const RECT iconRect = {4, (titleBarHeight_ - iconSize) / 2, 4 + iconSize, (titleBarHeight_ - iconSize) / 2 + iconSize};
  titleIcon_ = std::make_unique<CIcon_BT>(nullptr, context_, icon);
  if (titleIcon_->Create(0, L"STATIC", L"", kIconStyle, iconRect, window, kTitleIconId)) {
    if (icon == nullptr) ::ShowWindow(titleIcon_->GetHwnd(), SW_HIDE);
  }
}

void CMainDialog::OnPaint() {
  HWND window = GetHwnd();
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  RECT client;
  ::GetClientRect(window, &client);
  if (firstPaint_ && closeButton_ == nullptr) CreateTitleBarControls();
  // Drawn off-screen and copied in one block, so the title bar never flickers.
  platform::UniqueResource<platform::DcTraits> memory(::CreateCompatibleDC(dc));
  platform::UniqueHBitmap canvas(::CreateCompatibleBitmap(dc, client.right, client.bottom));
  HGDIOBJ oldBitmap = ::SelectObject(memory.Get(), canvas.Get());
  ::FillRect(memory.Get(), &client, backgroundBrush_.Get());
  RECT bar = {0, 0, client.right, titleBarHeight_};
  platform::UniqueHBrush barBrush(::CreateSolidBrush(titleBarColour_));
  ::FillRect(memory.Get(), &bar, barBrush.Get());
  HFONT font = services_.style != nullptr ? services_.style->GetTitleBarFont() : nullptr;
  HGDIOBJ oldFont = font != nullptr ? ::SelectObject(memory.Get(), font) : nullptr;
  ::SetBkMode(memory.Get(), TRANSPARENT);
  ::SetTextColor(memory.Get(), RGB(255, 255, 255));
  RECT text = bar;
  text.left = kTitleTextLeft;
  if (closeButton_ != nullptr && closeButton_->GetHwnd() != nullptr) {
    RECT close;
    ::GetWindowRect(closeButton_->GetHwnd(), &close);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&close), 2);
    text.right = close.left - 3;
  }
  ::DrawTextW(memory.Get(), title_.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (oldFont != nullptr) ::SelectObject(memory.Get(), oldFont);
  ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
  ::SelectObject(memory.Get(), oldBitmap);
  ::EndPaint(window, &paint);
  if (firstPaint_) {
    firstPaint_ = false;
    ::PostMessageW(window, kLaunchFirstPage, 0, 0);
  }
  DrawFrame();
}

void CMainDialog::DrawFrame() {
  HWND window = GetHwnd();
  HDC dc = ::GetWindowDC(window);
  RECT rect;
  ::GetWindowRect(window, &rect);
  ::OffsetRect(&rect, -rect.left, -rect.top);
  platform::UniqueHBrush outer(::CreateSolidBrush(frameColour_));
  ::FrameRect(dc, &rect, outer.Get());
  const COLORREF innerColour =
      services_.style != nullptr ? services_.style->GetControlStyleValue(kStyleDialog, kModeStandard, kColorInnerEdge) : 0;
  platform::UniqueHPen inner(::CreatePen(PS_SOLID, 1, innerColour));
  HGDIOBJ old = ::SelectObject(dc, inner.Get());
  ::MoveToEx(dc, 2, rect.bottom - 3, nullptr);
  ::LineTo(dc, rect.right - 3, rect.bottom - 3);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
}

bool CMainDialog::IsCloseEnabled() const {
  HMENU menu = ::GetSystemMenu(GetHwnd(), FALSE);
  if (menu == nullptr) return true;
  const UINT state = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  return state == static_cast<UINT>(-1) || (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void CMainDialog::ForwardCommand(WPARAM wParam) {
  CDynamicDialog* page = controller_.GetCurrentDialog();
  if (page == nullptr || page->GetHwnd() == nullptr) return;
  HWND control = ::GetDlgItem(page->GetHwnd(), LOWORD(wParam));
  ::SendMessageW(page->GetHwnd(), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
}

INT_PTR CMainDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_NCPAINT:
    case WM_NCACTIVATE: {
      LRESULT result = ::DefWindowProcW(GetHwnd(), message, wParam, lParam);
      DrawFrame();
      SetMessageResult(result);
      return TRUE;
    }
    case kLaunchFirstPage:
      (void)controller_.LaunchFirstPage();
      return TRUE;
    case kStartSetupMessage:
      controller_.GetDispatcher().RunPendingStart();
      return TRUE;
    case WM_LBUTTONDOWN:
      if (static_cast<short>(HIWORD(lParam)) < titleBarHeight_) {
        ::ReleaseCapture();
        ::SendMessageW(GetHwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        return TRUE;
      }
      break;
    case DM_GETDEFID: {
      // Enter presses the default button of the page, not of the frame.
      CDynamicDialog* page = controller_.GetCurrentDialog();
      if (page != nullptr && page->GetHwnd() != nullptr) {
        SetMessageResult(::SendMessageW(page->GetHwnd(), DM_GETDEFID, 0, 0));
        return TRUE;
      }
      break;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        if (IsCloseEnabled()) controller_.Cancel();
        return TRUE;
      }
      ForwardCommand(wParam);
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      CControlWindow* control = CControlWindow::FromHandle(item->hwndItem);
      return control != nullptr && control->OnDrawItem(*item) ? TRUE : FALSE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(backgroundBrush_.Get());
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace ui
