#include "ui/dialogs/SplashScreen.h"

#include <objbase.h>

#include <system_error>
#include <vector>

#include "config/IBrandDetailsList.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "ui/style/IStyleConfigData.h"

namespace ui {

namespace {

constexpr UINT_PTR kMinimumTimer = 1;
// Behind the text when the image is missing: dark enough for white text.
constexpr COLORREF kPlainBackground = RGB(40, 52, 72);
constexpr int kTextMargin = 12;

// The region of all pixels of the bitmap that are not magenta, built row by row from runs.
HRGN RegionWithoutMagenta(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  platform::WindowDc screen(nullptr);
  if (!screen || ::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) == 0) {
    return nullptr;
  }
  std::vector<RECT> runs;
  for (int y = 0; y < height; ++y) {
    int x = 0;
    while (x < width) {
      while (x < width && (pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) == 0xFF00FF) ++x;  // magenta
      const int start = x;
      while (x < width && (pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) != 0xFF00FF) ++x;
      if (x > start) runs.push_back(RECT{start, y, x, y + 1});
    }
  }
  // One region from all runs at once: far cheaper than combining them one by one.
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(runs.size());
  header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  header->rcBound = RECT{0, 0, width, height};
  if (!runs.empty()) std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
  return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}

}  // namespace

CSplashScreen::CSplashScreen(ISetupConfigData& record, std::function<int(int)> work, IStyleConfigData* style,
                             HWND parent)
    : record_(record), work_(std::move(work)), style_(style), parent_(parent) {
  waitCursor_ = ::LoadCursorW(nullptr, IDC_WAIT);
  icon_ = record_.GetSetupIcon();
  IBrandDetailsList* brands = record_.GetBrandDetailsList();
  if (brands == nullptr) {
    LogWarning(L"Brand is not configured under SetupConfig.xml. Splash screen will not work correctly");
    return;
  }
  const std::wstring relative = brands->GetBrandImagePath(kBrandImageSplash);
  const std::wstring path = record_.GetSetupFolder() + relative;
  if (!relative.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    ownBitmap_.Reset(static_cast<HBITMAP>(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  }
  if (!ownBitmap_) LogWarning(L"The splash image %s could not be loaded; the splash screen shows without it.", path.c_str());
  bitmap_ = ownBitmap_.Get();
  text_ = record_.GetProductName();
  const std::wstring version = brands->GetSplashVersionText();
  if (!version.empty()) text_ += L"\n" + version;
}

CSplashScreen::~CSplashScreen() {
  if (worker_.joinable()) worker_.join();
}

bool CSplashScreen::IsConfigured(ISetupConfigData& record) {
  IBrandDetailsList* brands = record.GetBrandDetailsList();
  return brands != nullptr && !brands->GetBrandImagePath(kBrandImageSplash).empty();
}

INT_PTR CSplashScreen::DoModal() {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(kDialogResourceId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
  const auto* dialogTemplate = loaded != nullptr ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
  if (dialogTemplate == nullptr) {
    LogWarning(L"The splash screen's dialog resource is missing; the preparation runs without it.");
    RunWork();
    return IDOK;
  }
  const INT_PTR end = DoModalIndirect(parent_, dialogTemplate);
  if (end == -1) {
    // No window: the work still has to be done.
    if (!worker_.joinable()) RunWork();
    return IDOK;
  }
  return end;
}

void CSplashScreen::RunWork() {
  // The work reads XML through COM objects: this thread needs its own apartment.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  result_ = work_ ? work_(0) : 0;
  if (SUCCEEDED(com)) ::CoUninitialize();
}

void CSplashScreen::OnInitDialog() {
  HWND window = GetHwnd();
  ShapeToBitmap();
  RECT own;
  ::GetWindowRect(window, &own);
  RECT area;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  ::SetWindowPos(window, HWND_TOP, area.left + ((area.right - area.left) - (own.right - own.left)) / 2,
                 area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2, 0, 0, SWP_NOSIZE);
  if (icon_ != nullptr) {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  const std::wstring productName = record_.GetProductName();
  ::SetWindowTextW(window, productName.empty() ? L"" : (productName + L" Setup").c_str());
  if (HMENU menu = ::GetSystemMenu(window, FALSE)) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
  ::SetTimer(window, kMinimumTimer, kMinimumShowMs, nullptr);
  busy_ = true;
  ::SetCursor(waitCursor_);
  try {
    worker_ = std::thread([this, window]() {
      RunWork();
      workDone_ = true;
      ::PostMessageW(window, kWorkDoneMessage, 0, 0);
    });
  } catch (const std::system_error& error) {
    LogDebug(L"The Return value of the Splash screen  background processing thread is %d", error.code().value());
    // The preparation still has to happen: here, while the splash shows.
    RunWork();
    workDone_ = true;
  }
}

void CSplashScreen::ShapeToBitmap() {
  HWND window = GetHwnd();
  BITMAP info = {};
  if (bitmap_ == nullptr || ::GetObjectW(bitmap_, sizeof(info), &info) == 0) return;
  ::SetWindowPos(window, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  platform::UniqueHRgn region(RegionWithoutMagenta(bitmap_, info.bmWidth, info.bmHeight));
  // Once set, the window owns the region.
  if (region && ::SetWindowRgn(window, region.Get(), TRUE) != 0) (void)region.Release();
}

void CSplashScreen::TryClose() {
  if (!workDone_ || !minimumTimeOver_ || !busy_) return;
  busy_ = false;
  if (worker_.joinable()) worker_.join();
  ::KillTimer(GetHwnd(), kMinimumTimer);
  bitmap_ = nullptr;
  ownBitmap_.Reset();
  if (HMENU menu = ::GetSystemMenu(GetHwnd(), FALSE)) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  ::EndDialog(GetHwnd(), IDOK);
}

void CSplashScreen::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(GetHwnd(), &paint);
  RECT client;
  ::GetClientRect(GetHwnd(), &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  platform::UniqueHdc memory(::CreateCompatibleDC(dc));
  platform::UniqueHBitmap canvas(::CreateCompatibleBitmap(dc, width, height));
  if (memory && canvas) {
    HGDIOBJ oldCanvas = ::SelectObject(memory.Get(), canvas.Get());
    if (bitmap_ != nullptr) {
      platform::UniqueHdc source(::CreateCompatibleDC(dc));
      HGDIOBJ oldSource = ::SelectObject(source.Get(), bitmap_);
      ::BitBlt(memory.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
      ::SelectObject(source.Get(), oldSource);
    } else {
      platform::UniqueHBrush plain(::CreateSolidBrush(kPlainBackground));
      ::FillRect(memory.Get(), &client, plain.Get());
    }
    HFONT font = nullptr;
    if (style_ != nullptr) {
      font = style_->GetFont(L"SpalshScreen_Font_Default");
      if (font == nullptr) font = style_->GetFont(L"SpalshScreen_Font_Fallback");
    }
    HGDIOBJ oldFont = font != nullptr ? ::SelectObject(memory.Get(), font) : nullptr;
    ::SetBkMode(memory.Get(), TRANSPARENT);
    ::SetTextColor(memory.Get(), RGB(255, 255, 255));
    // Bottom right, where a see-through edge of the image is least likely.
    RECT area = client;
    ::InflateRect(&area, -kTextMargin, -kTextMargin);
    RECT measured = area;
    ::DrawTextW(memory.Get(), text_.c_str(), -1, &measured, DT_RIGHT | DT_NOPREFIX | DT_WORDBREAK | DT_CALCRECT);
    RECT text = area;
    text.top = area.bottom - (measured.bottom - measured.top);
    ::DrawTextW(memory.Get(), text_.c_str(), -1, &text, DT_RIGHT | DT_NOPREFIX | DT_WORDBREAK);
    if (oldFont != nullptr) ::SelectObject(memory.Get(), oldFont);
    ::BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
    ::SelectObject(memory.Get(), oldCanvas);
  }
  ::EndPaint(GetHwnd(), &paint);
}

INT_PTR CSplashScreen::HandleMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  handled = true;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_TIMER:
      if (wParam != kMinimumTimer) break;
      minimumTimeOver_ = true;
      TryClose();
      return TRUE;
    case kWorkDoneMessage:
      TryClose();
      return TRUE;
    case WM_SETCURSOR:
      if (!busy_) break;
      ::SetCursor(waitCursor_);
      SetMessageResult(TRUE);
      return TRUE;
    case WM_KEYDOWN:
      if (wParam == VK_CANCEL || wParam == VK_RETURN || wParam == VK_ESCAPE) return TRUE;
      break;
    case WM_COMMAND:
      // Escape and Enter reach a dialog as IDCANCEL and IDOK: the splash ignores both.
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return TRUE;
      break;
    case WM_CLOSE:
      return TRUE;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      Paint();
      return TRUE;
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace ui
