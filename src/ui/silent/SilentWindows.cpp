#include "ui/silent/SilentWindows.h"

#include <shellapi.h>

#include "log/Log.h"

namespace ui {

namespace {

constexpr COLORREF kGround = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(24, 24, 24);
constexpr wchar_t kCorporateFont[] = L"Corvane KV Basic";
constexpr wchar_t kFallbackFont[] = L"Arial";
constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationMs = 400;

int CALLBACK FontSeen(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

std::wstring FontFace() {
  platform::WindowDc screen(nullptr);
  LOGFONTW wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(wanted.lfFaceName, kCorporateFont);
  bool found = false;
  if (screen) ::EnumFontFamiliesExW(screen.Get(), &wanted, &FontSeen, reinterpret_cast<LPARAM>(&found), 0);
  return found ? kCorporateFont : kFallbackFont;
}

void PlaceBottomRight(HWND window) {
  RECT own;
  RECT area;
  ::GetWindowRect(window, &own);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  constexpr int kGap = 8;
  ::SetWindowPos(window, HWND_TOPMOST, area.right - (own.right - own.left) - kGap,
                 area.bottom - (own.bottom - own.top) - kGap, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void PlaceCentred(HWND window) {
  RECT own;
  RECT area;
  ::GetWindowRect(window, &own);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  ::SetWindowPos(window, HWND_TOPMOST, area.left + ((area.right - area.left) - (own.right - own.left)) / 2,
                 area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2, 0, 0, SWP_NOSIZE);
}

constexpr DWORD kPopupStyle = WS_POPUP | WS_BORDER | WS_CAPTION | WS_SYSMENU | DS_SETFONT;

}  // namespace

CSilentWindow::CSilentWindow() : background_(::CreateSolidBrush(kGround)) {
  platform::WindowDc screen(nullptr);
  const int pixelsPerInch = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  font_.Reset(::CreateFontW(-::MulDiv(9, pixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                            FontFace().c_str()));
}

HWND CSilentWindow::AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int id,
                               const RECT& units) {
  RECT rect = units;
  ::MapDialogRect(GetHwnd(), &rect);
  HWND control = ::CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, GetHwnd(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr && font_) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return control;
}

INT_PTR CSilentWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  handled = true;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, kText);
      ::SetBkColor(dc, kGround);
      return reinterpret_cast<INT_PTR>(background_.Get());
    }
    default:
      break;
  }
  handled = false;
  return 0;
}

// --- Indicator ---------------------------------------------------------------

bool CSilentIndicatorDlg::Create(const std::wstring& title, HICON icon) {
  title_ = title;
  icon_ = icon;
  builder_.Build(kPopupStyle, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, RECT{0, 0, 220, 46}, title, 8, L"MS Shell Dlg");
  if (!CreateModelessIndirect(nullptr, builder_.GetTemplate())) {
    LogWarning(L"The silent indicator window could not be created.");
    return false;
  }
  PlaceBottomRight(GetHwnd());
  ::ShowWindow(GetHwnd(), SW_SHOWNOACTIVATE);
  return true;
}

void CSilentIndicatorDlg::OnInitDialog() {
  HWND iconStatic = AddControl(L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, kIconStatic, RECT{6, 6, 26, 26});
  if (iconStatic != nullptr && icon_ != nullptr) ::SendMessageW(iconStatic, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  (void)AddControl(L"STATIC", title_, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kTitleStatic, RECT{32, 6, 214, 16});
  (void)AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kMsgStatic, RECT{32, 20, 214, 40});
}

void CSilentIndicatorDlg::SetMessage(const std::wstring& text) {
  if (GetHwnd() != nullptr) ::SetDlgItemTextW(GetHwnd(), kMsgStatic, text.c_str());
}

void CSilentIndicatorDlg::Destroy() {
  if (GetHwnd() != nullptr) ::DestroyWindow(GetHwnd());
}

// --- Tray icon ---------------------------------------------------------------

CSystemTrayIconDlg::~CSystemTrayIconDlg() {
  Remove();
  if (GetHwnd() != nullptr) ::DestroyWindow(GetHwnd());
}

bool CSystemTrayIconDlg::Create(std::vector<HICON> frames, HICON failed) {
  frames_ = std::move(frames);
  // Shared system icons: never destroyed.
  if (frames_.empty()) frames_.push_back(::LoadIconW(nullptr, IDI_INFORMATION));
  failed_ = failed != nullptr ? failed : ::LoadIconW(nullptr, IDI_ERROR);
  builder_.Build(WS_POPUP | DS_SETFONT, WS_EX_TOOLWINDOW, RECT{0, 0, 10, 10}, L"", 8, L"MS Shell Dlg");
  if (!CreateModelessIndirect(nullptr, builder_.GetTemplate())) {
    LogWarning(L"The tray icon's window could not be created.");
    return false;
  }
  Notify(NIM_ADD);
  if (frames_.size() > 1) ::SetTimer(GetHwnd(), kAnimationTimer, kAnimationMs, nullptr);
  return true;
}

void CSystemTrayIconDlg::Notify(DWORD action) {
  if (GetHwnd() == nullptr) return;
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = GetHwnd();
  data.uID = kTrayIconId;
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = kTrayCallback;
  data.hIcon = frames_.empty() ? nullptr : frames_[frame_ % frames_.size()];
  if (failed_ != nullptr && frame_ == static_cast<size_t>(-1)) data.hIcon = failed_;
  wcsncpy_s(data.szTip, tip_.c_str(), _TRUNCATE);
  if (action == NIM_ADD) {
    added_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    // Without a notification area the run goes on; the window title still carries the tip.
    if (!added_) LogDebug(L"The tray icon could not be added to the notification area.");
  } else if (added_) {
    (void)::Shell_NotifyIconW(action, &data);
  }
}

void CSystemTrayIconDlg::SetTip(const std::wstring& tip) {
  tip_ = tip;
  if (GetHwnd() != nullptr) ::SetWindowTextW(GetHwnd(), tip.c_str());
  Notify(NIM_MODIFY);
}

void CSystemTrayIconDlg::ShowFailed() {
  if (GetHwnd() != nullptr) ::KillTimer(GetHwnd(), kAnimationTimer);
  frame_ = static_cast<size_t>(-1);
  Notify(NIM_MODIFY);
}

void CSystemTrayIconDlg::Remove() {
  if (!added_ || GetHwnd() == nullptr) return;
  ::KillTimer(GetHwnd(), kAnimationTimer);
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = GetHwnd();
  data.uID = kTrayIconId;
  (void)::Shell_NotifyIconW(NIM_DELETE, &data);
  added_ = false;
}

INT_PTR CSystemTrayIconDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == WM_TIMER && wParam == kAnimationTimer) {
    handled = true;
    if (frame_ != static_cast<size_t>(-1)) {
      frame_ = (frame_ + 1) % frames_.size();
      Notify(NIM_MODIFY);
    }
    return TRUE;
  }
  return CSilentWindow::HandleMessage(message, wParam, lParam, handled);
}

// --- Finish windows ----------------------------------------------------------

INT_PTR CSIFinishDlg::DoModal() {
  // Room for the message, the log path of a failure, and the buttons.
  const int height = state_ == 2 ? 116 : 82;
  builder_.Build(kPopupStyle, WS_EX_TOPMOST, RECT{0, 0, 240, height}, texts_.title, 8, L"MS Shell Dlg");
  return DoModalIndirect(nullptr, builder_.GetTemplate());
}

void CSIFinishDlg::OnInitDialog() {
  HWND window = GetHwnd();
  const wchar_t* icon = state_ == 2 ? IDI_ERROR : AsksForRestart() ? IDI_WARNING : IDI_INFORMATION;
  HWND iconStatic = AddControl(L"STATIC", L"", SS_ICON, 0, RECT{8, 8, 28, 28});
  if (iconStatic != nullptr) {
    ::SendMessageW(iconStatic, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, icon)), 0);
  }
  (void)AddControl(L"STATIC", texts_.message, SS_LEFT | SS_NOPREFIX, kMsgStatic, RECT{36, 8, 232, 40});
  int top = 44;
  if (state_ == 2) {
    (void)AddControl(L"STATIC", texts_.logHeading, SS_LEFT | SS_NOPREFIX, kLogHeading, RECT{36, top, 232, top + 10});
    (void)AddControl(L"STATIC", texts_.logPath, SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, kLogText,
                     RECT{36, top + 10, 232, top + 30});
    top += 34;
  }
  if (AsksForRestart()) {
    (void)AddControl(L"BUTTON", texts_.restartNow, BS_DEFPUSHBUTTON | WS_TABSTOP, kRestartNow,
                     RECT{96, top + 16, 162, top + 30});
    (void)AddControl(L"BUTTON", texts_.restartLater, BS_PUSHBUTTON | WS_TABSTOP, kRestartLater,
                     RECT{168, top + 16, 234, top + 30});
  } else {
    (void)AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, RECT{168, top + 16, 234, top + 30});
  }
  ::SetWindowTextW(window, texts_.title.c_str());
  PlaceCentred(window);
}

INT_PTR CSIFinishDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == WM_COMMAND) {
    handled = true;
    switch (LOWORD(wParam)) {
      case kRestartNow: ::EndDialog(GetHwnd(), 1); break;
      case kRestartLater:
      case IDOK:
      case IDCANCEL: ::EndDialog(GetHwnd(), 0); break;
      default: break;
    }
    return TRUE;
  }
  return CSilentWindow::HandleMessage(message, wParam, lParam, handled);
}

}  // namespace ui
