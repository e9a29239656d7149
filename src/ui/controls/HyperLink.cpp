#include "ui/controls/HyperLink.h"

#include <shellapi.h>

#include "log/Log.h"
#include "platform/MessageBox.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"

namespace ui {

namespace {
constexpr COLORREF kUnvisited = 0xEE0000;
constexpr COLORREF kVisited = 0x8B1A55;
constexpr COLORREF kHover = 0x0000FF;
}  // namespace

CHyperLink::CHyperLink(const CWixControl* control, const ControlContext& context, std::wstring target)
    : CControlWindow(control, context), target_(std::move(target)) {}

void CHyperLink::OnAttached() {
  HWND window = GetHwnd();
  ::SetWindowLongPtrW(window, GWL_STYLE, ::GetWindowLongPtrW(window, GWL_STYLE) | SS_NOTIFY);
  auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  LOGFONTW description = {};
  if (font == nullptr || ::GetObjectW(font, sizeof(description), &description) == 0) {
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
  }
  description.lfUnderline = TRUE;
  underlined_.Reset(::CreateFontIndirectW(&description));
  if (underlined_) ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(underlined_.Get()), TRUE);
}

HBRUSH CHyperLink::OnCtlColor(HDC dc) {
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, hover_ ? kHover : (visited_ ? kVisited : kUnvisited));
  return context_.backgroundBrush;
}

std::wstring CHyperLink::ErrorText(INT_PTR shellResult) {
  const wchar_t* reason = nullptr;
  switch (shellResult) {
    case 0: reason = L"The operating system is out\nof memory or resources."; break;
    case 2: reason = L"The specified file was not found."; break;
    case 3: reason = L"The specified path was not found."; break;
    case 5: reason = L"The operating system denied\naccess to the specified file."; break;
    case 8: reason = L"There was not enough memory to complete the operation."; break;
    case 11: reason = L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
    case 26: reason = L"A sharing violation occurred. "; break;
    case 27: reason = L"The filename association is\nincomplete or invalid."; break;
    case 28: reason = L"The DDE transaction could not\nbe completed because the request timed out."; break;
    case 29: reason = L"The DDE transaction failed."; break;
    case 30:
      reason = L"The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
      break;
    case 31: reason = L"There is no application associated\nwith the given filename extension."; break;
    case 32: reason = L"The specified dynamic-link library was not found."; break;
    default: break;
  }
  const std::wstring detail =
      reason != nullptr ? std::wstring(reason) : platform::Format(L"Unknown Error (%d) occurred.", static_cast<int>(shellResult));
  return L"Unable to open hyperlink:\n\n" + detail;
}

void CHyperLink::OnNotify(WORD code) {
  if (code != STN_CLICKED || target_.empty()) return;
  // Explorer by its full path opens both files and addresses.
  wchar_t windows[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring explorer = std::wstring(windows, length < MAX_PATH ? length : 0) + L"\\explorer.exe";
  const std::wstring parameters = L"\"" + target_ + L"\"";
  auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(GetHwnd(), L"open", explorer.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    LogWarning(L"The hyperlink %s could not be opened (%d).", target_.c_str(), static_cast<int>(result));
    (void)platform::ShowMessageBox(::GetParent(GetHwnd()), ErrorText(result), L"Setup", MB_OK | MB_ICONERROR);
    return;
  }
  visited_ = true;
  ::InvalidateRect(GetHwnd(), nullptr, TRUE);
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (!hover_) {
        hover_ = true;
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, GetHwnd(), 0};
        ::TrackMouseEvent(&track);
        ::InvalidateRect(GetHwnd(), nullptr, TRUE);
      }
      break;
    case WM_MOUSELEAVE:
      hover_ = false;
      ::InvalidateRect(GetHwnd(), nullptr, TRUE);
      break;
    default:
      break;
  }
  return CallDefault(message, wParam, lParam);
}

}  // namespace ui
