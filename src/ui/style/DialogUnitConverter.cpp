#include "ui/style/DialogUnitConverter.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "log/Log.h"

namespace {

constexpr double kPointsToPixelsPerDpi = 0.013888888888888888;  // 1 / 72
constexpr double kValueScale = 1.31;
constexpr wchar_t kMeasureCaption[] = L"DPI Calculation Dialog";
constexpr wchar_t kMeasureFont[] = L"MS Shell Dlg";
constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

void AppendWords(std::vector<WORD>& buffer, const wchar_t* text) {
  for (; *text != L'\0'; ++text) buffer.push_back(static_cast<WORD>(*text));
  buffer.push_back(0);
}

// A template for a dialog without controls, hidden (no WS_VISIBLE), with the
// 8 point shell font whose metrics define dialog units.
std::vector<WORD> BuildMeasureTemplate() {
  std::vector<WORD> buffer(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{};
  header.style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION;
  header.cdit = 0;
  header.x = 0;
  header.y = 0;
  header.cx = 262;
  header.cy = 87;
  std::memcpy(buffer.data(), &header, sizeof(header));
  buffer.push_back(0);  // no menu
  buffer.push_back(0);  // default class
  AppendWords(buffer, kMeasureCaption);
  buffer.push_back(8);  // point size
  AppendWords(buffer, kMeasureFont);
  return buffer;
}

}  // namespace

namespace ui {
int RoundToInt(double value) {
  double truncated = std::trunc(value);
  double fraction = value - truncated;
  if (fraction >= 0.5) return static_cast<int>(truncated) + 1;
  if (fraction <= -0.5) return static_cast<int>(truncated) - 1;
  return static_cast<int>(truncated);
}
}  // namespace ui

CDialogUnitConverter::CDialogUnitConverter()
    : horizontal_(4.0 / 6.0 * 96 * kPointsToPixelsPerDpi),
      vertical_(8.0 / 13.0 * 96 * kPointsToPixelsPerDpi),
      scale_(96 * kPointsToPixelsPerDpi) {}

bool CDialogUnitConverter::Measure() {
  std::vector<WORD> dialogTemplate = BuildMeasureTemplate();
  INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), nullptr,
                                             &CDialogUnitConverter::MeasureDialogProc, reinterpret_cast<LPARAM>(this));
  if (result != 1) {
    LogError(L"CDialogUnitConverter::Measure() - The screen could not be measured (%ld).",
             static_cast<long>(::GetLastError()));
    return false;
  }
  LogDebug(L"CDialogUnitConverter::Measure() - %d DPI, factors %f horizontal, %f vertical, %f scale.", dpi_,
           horizontal_, vertical_, scale_);
  return true;
}

INT_PTR CALLBACK CDialogUnitConverter::MeasureDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* converter = reinterpret_cast<CDialogUnitConverter*>(lParam);
  ::EndDialog(dialog, converter != nullptr && converter->MeasureWindow(dialog) ? 1 : 0);
  return TRUE;
}

bool CDialogUnitConverter::MeasureWindow(HWND dialog) {
  HDC dc = ::GetDC(dialog);
  if (dc == nullptr) return false;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
  HGDIOBJ previous = font != nullptr ? ::SelectObject(dc, font) : nullptr;
  TEXTMETRICW metrics{};
  SIZE extent{};
  bool measured = ::GetTextMetricsW(dc, &metrics) &&
                  ::GetTextExtentPoint32W(dc, kAlphabet, static_cast<int>(std::wcslen(kAlphabet)), &extent);
  int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
  if (previous != nullptr) ::SelectObject(dc, previous);
  ::ReleaseDC(dialog, dc);
  int baseWidth = (extent.cx / 26 + 1) / 2;
  if (!measured || baseWidth <= 0 || metrics.tmHeight <= 0 || dpi <= 0) return false;
  double scale = dpi * kPointsToPixelsPerDpi;
  dpi_ = dpi;
  SetFactors(4.0 / baseWidth * scale, 8.0 / metrics.tmHeight * scale, scale);
  return true;
}

void CDialogUnitConverter::SetFactors(double horizontal, double vertical, double scale) {
  horizontal_ = horizontal;
  vertical_ = vertical;
  scale_ = scale;
}

RECT CDialogUnitConverter::ScaleRect(const RECT& rect) const {
  return RECT{ui::RoundToInt(rect.left * scale_), ui::RoundToInt(rect.top * scale_),
              ui::RoundToInt(rect.right * scale_), ui::RoundToInt(rect.bottom * scale_)};
}

int CDialogUnitConverter::ScaleValue(int value) const { return ui::RoundToInt(value * kValueScale); }

RECT CDialogUnitConverter::ToDialogUnits(const RECT& rect) const {
  return RECT{ui::RoundToInt(rect.left * horizontal_), ui::RoundToInt(rect.top * vertical_),
              ui::RoundToInt(rect.right * horizontal_), ui::RoundToInt(rect.bottom * vertical_)};
}

void CDialogUnitConverter::GetFactors(double& vertical, double& horizontal, double& scale) const {
  vertical = vertical_;
  horizontal = horizontal_;
  scale = scale_;
}
