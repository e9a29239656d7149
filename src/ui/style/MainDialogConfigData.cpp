#include "ui/style/MainDialogConfigData.h"

#include "log/Log.h"
#include "ui/style/IDialogUnitConverter.h"

namespace {

const RECT* Find(const std::map<int, RECT>& rects, int key, const wchar_t* mapName) {
  auto found = rects.find(key);
  if (found != rects.end()) return &found->second;
  LogInformation(L"The key %d is not available in the %s map.", key, mapName);
  return nullptr;
}

bool Add(std::map<int, RECT>& rects, int key, const RECT& rect) {
  if (!rects.emplace(key, rect).second) {
    LogInformation(L"The key %d is already available in MainDialog config.", key);
    return false;
  }
  return true;
}

}  // namespace

const RECT* CMainDialogConfigData::GetPreInstallDialogRect(int key) const {
  return Find(preInstallRects_, key, L"PreinstallDialogConfig");
}

const RECT* CMainDialogConfigData::GetMainDialogRect(int key) const {
  return Find(mainRects_, key, L"MainDialogConfig");
}

bool CMainDialogConfigData::GetTitleBarHeight(int& height) const {
  const RECT* titleBar = GetMainDialogRect(kAreaTitleBar);
  height = titleBar != nullptr ? titleBar->bottom - titleBar->top : 0;
  return titleBar != nullptr;
}

int CMainDialogConfigData::GetTitleBarHeightInDialogUnits() {
  if (!titleBarComputed_ && scale_ != 0.0) {
    int height = 0;
    (void)GetTitleBarHeight(height);
    titleBarHeightInDialogUnits_ = ui::RoundToInt(height / scale_ * vertical_);
    titleBarComputed_ = true;
  }
  return titleBarHeightInDialogUnits_;
}

void CMainDialogConfigData::GetContentOffsets(int& x, int& y) {
  if (!offsetsComputed_ && scale_ != 0.0) {
    if (const RECT* leftImage = GetMainDialogRect(kAreaLeftImage)) {
      contentOffsetX_ = ui::RoundToInt(leftImage->right / scale_ * horizontal_);
    }
    if (const RECT* banner = GetMainDialogRect(kAreaBanner)) {
      contentOffsetY_ = ui::RoundToInt(banner->bottom / scale_ * vertical_);
    }
    offsetsComputed_ = true;
  }
  x = contentOffsetX_;
  y = contentOffsetY_;
}

bool CMainDialogConfigData::AddMainDialogRect(int key, const RECT& rect) { return Add(mainRects_, key, rect); }

bool CMainDialogConfigData::AddPreInstallDialogRect(int key, const RECT& rect) {
  return Add(preInstallRects_, key, rect);
}

void CMainDialogConfigData::SetConversionFactors(double vertical, double horizontal, double scale) {
  vertical_ = vertical;
  horizontal_ = horizontal;
  scale_ = scale;
}
